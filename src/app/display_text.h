#pragma once

#include <QString>
#include <string_view>

#include "demo/display_text.h"
#include "text/name_text.h"
#include "text/utf8_to_windows_1252.h"
#include "text/windows_1252.h"

namespace rw::app {

// Texts from demos and side files are Windows-1252; names are UTF-8 (an old name that is not
// is read as Windows-1252).
inline QString FromText(std::string_view text) {
  return QString::fromStdString(Windows1252ToUtf8(text));
}
// What the user typed, as the single-byte text the side files keep.
inline std::string ToText(const QString& text) {
  return Utf8ToWindows1252(text.toStdString());
}
inline QString FromName(std::string_view name) {
  return QString::fromStdString(NameToUtf8(name));
}
// A text with its colour codes removed, as screen readers and plain cells show it.
inline QString PlainText(std::string_view text) {
  return FromText(StripColors(text));
}

}  // namespace rw::app
