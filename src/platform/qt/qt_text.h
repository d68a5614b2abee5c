// CP932 text to and from the GUI's strings.
#pragma once

#include <QString>
#include <string>

namespace zorvek {

QString to_qstring(const std::string& cp932);
// "?" for characters CP932 cannot hold.
std::string from_qstring(const QString& text);

}  // namespace zorvek
