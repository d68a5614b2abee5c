// Dragging titles from the open-window list onto the kill list. The drag names the list it comes
// from (this process and that widget), so the kill list can take drags from there alone.
#pragma once

#include <QListWidget>
#include <QMimeData>

namespace zorvek {

class TitleDragList : public QListWidget {
 public:
  using QListWidget::QListWidget;

  // What a drag of the selected lines carries.
  QMimeData* drag_data() const;

 protected:
  QStringList mimeTypes() const override;
  QMimeData* mimeData(const QList<QListWidgetItem*>& items) const override;
};

// Whether data is a drag that started in list, in this process.
bool dragged_from(const QMimeData* data, const QWidget* list);

}  // namespace zorvek
