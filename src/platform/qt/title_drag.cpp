#include "platform/qt/title_drag.h"

#include <unistd.h>

namespace zorvek {

namespace {

const QString kTitlesMime = QStringLiteral("application/x-zorvek-titles");

QByteArray origin(const QWidget* list) {
  return QByteArray::number(static_cast<qlonglong>(getpid())) + ':' +
         QByteArray::number(reinterpret_cast<quintptr>(list));
}

}  // namespace

QMimeData* TitleDragList::drag_data() const {
  auto* data = new QMimeData;
  data->setData(kTitlesMime, origin(this));
  return data;
}

QStringList TitleDragList::mimeTypes() const {
  return {kTitlesMime};
}

QMimeData* TitleDragList::mimeData(const QList<QListWidgetItem*>&) const {
  return drag_data();
}

bool dragged_from(const QMimeData* data, const QWidget* list) {
  return data != nullptr && data->hasFormat(kTitlesMime) && data->data(kTitlesMime) == origin(list);
}

}  // namespace zorvek
