#include "platform/qt/qt_selector.h"

#include <QByteArray>
#include <QLineEdit>
#include <QSignalBlocker>

#include "platform/qt/qt_text.h"

namespace zorvek {

int QtSelector::count() const {
  return widget_->count();
}

std::string QtSelector::line(int i) const {
  return widget_->itemData(i).toByteArray().toStdString();
}

void QtSelector::append(const std::string& text) {
  const QSignalBlocker block(widget_);
  const QSignalBlocker block_edit(widget_->lineEdit());
  widget_->addItem(to_qstring(text), QByteArray(text.data(), static_cast<qsizetype>(text.size())));
}

void QtSelector::remove(int i) {
  const QSignalBlocker block(widget_);
  const QSignalBlocker block_edit(widget_->lineEdit());
  widget_->removeItem(i);
}

void QtSelector::clear() {
  const QSignalBlocker block(widget_);
  const QSignalBlocker block_edit(widget_->lineEdit());
  widget_->clear();
  widget_->clearEditText();
}

int QtSelector::current_index() const {
  return widget_->currentIndex();
}

void QtSelector::set_current_index(int i) {
  const QSignalBlocker block(widget_);
  const QSignalBlocker block_edit(widget_->lineEdit());
  widget_->setCurrentIndex(i);
  if (i < 0) widget_->clearEditText();
}

std::string QtSelector::text() const {
  // The shown text of the current entry is its own bytes; typed text goes through the codec.
  const int i = widget_->currentIndex();
  if (i >= 0 && widget_->currentText() == widget_->itemText(i)) return line(i);
  return from_qstring(widget_->currentText());
}

}  // namespace zorvek
