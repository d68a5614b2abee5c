// Tget_name_dlg: the one-line input dialog shared by naming environments, editing entries and the
// window search. Created once; closing it only hides it, so its texts stay for the next use. Its
// controls are made when it is first shown: until then it keeps its texts itself.
#pragma once

#include <QDialog>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "platform/name_dialog.h"

namespace zorvek {

class Tget_name_dlg : public QDialog, public NameDialog {
  Q_OBJECT

 public:
  Tget_name_dlg();

  void set_caption(const std::string& caption) override;
  void set_prompt(const std::string& prompt) override;
  void set_text(const std::string& text) override;
  std::string text() const override;
  bool show_modal() override;

 protected:
  void showEvent(QShowEvent* event) override;
  // Refuses a text that joutai.INI's encoding cannot hold, with a message; the dialog stays.
  void accept() override;

 private:
  void build();
  // OK only with some text, whether typed or set by the caller.
  void newname_edtChange();

  QString prompt_;
  QString text_;
  QFrame* Bevel1 = nullptr;
  QLabel* title_lbl = nullptr;
  QLineEdit* newname_edt = nullptr;
  QPushButton* OKBtn = nullptr;
  QPushButton* CancelBtn = nullptr;
};

}  // namespace zorvek
