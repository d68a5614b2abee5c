// Message boxes over QMessageBox, captioned with the application title.
#pragma once

#include <QWidget>

#include "platform/prompts.h"

namespace zorvek {

class QtPrompts : public Prompts {
 public:
  explicit QtPrompts(QWidget* parent) : parent_(parent) {}

  Answer ask_yes_no_cancel(const std::string& text) override;
  Answer ask_yes_no(const std::string& text) override;
  void show_message(const std::string& text) override;
  void show_error(const std::string& text) override;

 private:
  QWidget* parent_;
};

}  // namespace zorvek
