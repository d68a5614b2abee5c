#include "platform/qt/qt_tray_menu.h"

#include "platform/qt/qt_text.h"

namespace zorvek {

int QtTrayMenu::count() const {
  return static_cast<int>(menu_->actions().size());
}

void QtTrayMenu::remove(int position) {
  QAction* item = menu_->actions().at(position);
  menu_->removeAction(item);
  item->deleteLater();  // it may be the item whose click is being handled
}

void QtTrayMenu::append_environment(const std::string& name, int tag) {
  // "&" would otherwise underline the next letter of the name.
  QString caption = to_qstring(name);
  caption.replace(QLatin1Char('&'), QLatin1String("&&"));
  auto* item = new QAction(caption, menu_);
  item->setObjectName(QStringLiteral("kankyou_pop%1").arg(tag));
  item->setData(tag);
  QObject::connect(item, &QAction::triggered, menu_, [this, tag] { on_environment_(tag); });
  menu_->addAction(item);
}

}  // namespace zorvek
