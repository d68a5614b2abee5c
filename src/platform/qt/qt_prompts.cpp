#include "platform/qt/qt_prompts.h"

#include <QApplication>
#include <QMessageBox>

#include "platform/qt/qt_text.h"

namespace zorvek {

namespace {

QMessageBox::StandardButton run_box(QWidget* parent, QMessageBox::Icon icon,
                                    const std::string& text, QMessageBox::StandardButtons buttons,
                                    QMessageBox::StandardButton escape) {
  // A hidden or minimized parent would take its box out of sight with it.
  if (parent != nullptr && (!parent->isVisible() || parent->isMinimized())) parent = nullptr;
  QMessageBox box(icon, QApplication::applicationName(), to_qstring(text), buttons, parent);
  box.setObjectName(QStringLiteral("zorvek_message_box"));
  box.setEscapeButton(escape);
  const int result = box.exec();
  return static_cast<QMessageBox::StandardButton>(result);
}

Answer to_answer(QMessageBox::StandardButton b) {
  if (b == QMessageBox::Yes) return Answer::yes;
  if (b == QMessageBox::No) return Answer::no;
  return Answer::cancel;
}

}  // namespace

Answer QtPrompts::ask_yes_no_cancel(const std::string& text) {
  return to_answer(run_box(parent_, QMessageBox::Question, text,
                           QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                           QMessageBox::Cancel));
}

Answer QtPrompts::ask_yes_no(const std::string& text) {
  // The close box and Escape both answer No.
  return run_box(parent_, QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No,
                 QMessageBox::No) == QMessageBox::Yes
             ? Answer::yes
             : Answer::no;
}

void QtPrompts::show_message(const std::string& text) {
  run_box(parent_, QMessageBox::NoIcon, text, QMessageBox::Ok, QMessageBox::Ok);
}

void QtPrompts::show_error(const std::string& text) {
  run_box(parent_, QMessageBox::Critical, text, QMessageBox::Ok, QMessageBox::Ok);
}

}  // namespace zorvek
