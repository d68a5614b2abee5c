#include "platform/qt/icons.h"

#include <QApplication>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QStyle>

namespace zorvek {

namespace {

// Two stacked windows with an arrow from one to the other: one working set to the next.
QPixmap program_pixmap(int size) {
  QPixmap pixmap(size, size);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.scale(size / 32.0, size / 32.0);
  p.setPen(QPen(QColor(0x1f, 0x3a, 0x5f), 1.5));
  p.setBrush(QColor(0xd8, 0xe6, 0xf5));
  p.drawRoundedRect(QRectF(2, 2, 18, 14), 2, 2);
  p.setBrush(QColor(0x2e, 0x7d, 0xd2));
  p.drawRoundedRect(QRectF(12, 14, 18, 14), 2, 2);
  QPainterPath arrow;
  arrow.moveTo(6, 18);
  arrow.lineTo(6, 25);
  arrow.lineTo(10, 25);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(0xf5, 0x7c, 0x00), 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  p.drawPath(arrow);
  p.drawLine(QPointF(8, 22.5), QPointF(10.5, 25));
  p.drawLine(QPointF(8, 27.5), QPointF(10.5, 25));
  return pixmap;
}

QIcon program_icon() {
  QIcon icon;
  for (const int size : {16, 22, 24, 32, 48, 64}) icon.addPixmap(program_pixmap(size));
  return icon;
}

QStyle::StandardPixmap standard(Image which) {
  switch (which) {
    case Image::edit:
      return QStyle::SP_FileDialogContentsView;
    case Image::launch:
      return QStyle::SP_MediaPlay;
    case Image::sort:
      return QStyle::SP_ArrowDown;
    case Image::refresh:
      return QStyle::SP_BrowserReload;
    case Image::remove:
      return QStyle::SP_TrashIcon;
    case Image::close_window:
      return QStyle::SP_DialogCloseButton;
    case Image::save:
      return QStyle::SP_DialogSaveButton;
    case Image::create:
      return QStyle::SP_FileIcon;
    case Image::search:
      return QStyle::SP_FileDialogInfoView;
    case Image::search_next:
      return QStyle::SP_ArrowForward;
    case Image::help:
      return QStyle::SP_DialogHelpButton;
    case Image::program:
      break;
  }
  return QStyle::SP_CustomBase;
}

}  // namespace

QIcon tray_image() {
  return QIcon(program_pixmap(22));
}

QIcon image(Image which) {
  if (which == Image::program) {
    static const QIcon icon = program_icon();
    return icon;
  }
  return QApplication::style()->standardIcon(standard(which));
}

}  // namespace zorvek
