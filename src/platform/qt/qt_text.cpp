#include "platform/qt/qt_text.h"

#include "platform/codec.h"

namespace zorvek {

QString to_qstring(const std::string& cp932) {
  return QString::fromStdString(codec::to_utf8(cp932));
}

std::string from_qstring(const QString& text) {
  return codec::to_cp932(text.toStdString());
}

}  // namespace zorvek
