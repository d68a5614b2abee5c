#include "platform/qt/qt_list_box.h"

#include <QByteArray>
#include <QSignalBlocker>

#include "platform/qt/qt_text.h"

namespace zorvek {

namespace {

constexpr int kBytesRole = Qt::UserRole;

void set_item_text(QListWidgetItem* item, const std::string& text) {
  item->setData(kBytesRole, QByteArray(text.data(), static_cast<qsizetype>(text.size())));
  item->setText(to_qstring(text));
}

}  // namespace

int QtListBox::count() const {
  return widget_->count();
}

std::string QtListBox::line(int i) const {
  return widget_->item(i)->data(kBytesRole).toByteArray().toStdString();
}

void QtListBox::insert(int i, const std::string& text) {
  const QSignalBlocker block(widget_);
  auto* item = new QListWidgetItem;
  set_item_text(item, text);
  widget_->insertItem(i, item);
}

void QtListBox::remove(int i) {
  const QSignalBlocker block(widget_);
  delete widget_->takeItem(i);
}

void QtListBox::replace(int i, const std::string& text) {
  set_item_text(widget_->item(i), text);
}

void QtListBox::clear() {
  const QSignalBlocker block(widget_);
  widget_->clear();
}

bool QtListBox::selected(int i) const {
  return widget_->item(i)->isSelected();
}

void QtListBox::set_selected(int i, bool on) {
  const QSignalBlocker block(widget_);
  if (on) {
    widget_->setCurrentItem(widget_->item(i), QItemSelectionModel::Select);
    widget_->scrollToItem(widget_->item(i));
  } else {
    widget_->item(i)->setSelected(false);
  }
}

int QtListBox::current() const {
  return widget_->currentRow();
}

void QtListBox::set_current(int i) {
  const QSignalBlocker block(widget_);
  widget_->setCurrentRow(i, QItemSelectionModel::NoUpdate);
  widget_->scrollToItem(widget_->item(i));
}

}  // namespace zorvek
