// TAbout_dlg: the version dialog, with the product name, the program's icon and its version.
#pragma once

#include <QDialog>
#include <QLabel>
#include <QPushButton>

#include "platform/prompts.h"
#include "platform/shell.h"

namespace zorvek {

class TAbout_dlg : public QDialog {
  Q_OBJECT

 public:
  // The web address under the maker's name is opened through shell.
  TAbout_dlg(Shell& shell, Prompts& prompts);

  QString version() const { return Version->text(); }

 protected:
  // Esc and F1 close the dialog, whatever control has the focus.
  void keyPressEvent(QKeyEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CommentsClick();

  Shell& shell_;
  Prompts& prompts_;
  QLabel* ProgramIcon = nullptr;
  QLabel* ProductName = nullptr;
  QLabel* Version = nullptr;
  QLabel* Comments = nullptr;
  QPushButton* OKButton = nullptr;
};

}  // namespace zorvek
