#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "demo/display_text.h"
#include "text/name_text.h"
#include "text/user_text.h"
#include "text/utf8_to_windows_1252.h"
#include "text/windows_1252.h"

namespace rw::app {

// Texts from demos and side files are Windows-1252; names are UTF-8 (an old name that is not
// is read as Windows-1252).
inline QString FromText(std::string_view text) {
  return QString::fromStdString(Windows1252ToUtf8(text));
}
// What the user typed into a field whose text goes to the game, as the single-byte text the
// game reads; nullopt when a character cannot go there (the field then says so, and nothing
// typed is lost on the way).
inline std::optional<std::string> ToGameText(const QString& text) {
  return UserTextToWindows1252(text.toStdString());
}
inline constexpr std::string_view kNoGameText =
    "The game reads Windows-1252 only, which has no place for a character typed here. Change "
    "it, or Cancel to keep what was there.";
inline QString FromName(std::string_view name) {
  return QString::fromStdString(NameToUtf8(name));
}
// The program's own texts that may carry a name (messages, status lines): UTF-8 when they are,
// else Windows-1252, as names are read.
inline QString FromMessage(std::string_view text) {
  return FromName(text);
}
// A text with its colour codes removed, as screen readers and plain cells show it.
inline QString PlainText(std::string_view text, TextForm form = TextForm::kWindows1252) {
  const std::string plain = StripColors(text, form);
  return form == TextForm::kUtf8 ? QString::fromStdString(plain) : FromText(plain);
}

// What the user types (notes, player descriptions) stays UTF-8: nothing typed is lost.
inline QString FromUserText(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}
inline std::string ToUserText(const QString& text) {
  return text.toStdString();
}
// A multi-line field's text as lines, and back; an empty field has no lines.
inline std::vector<std::string> UserTextLines(const QString& text) {
  std::vector<std::string> lines;
  if (text.isEmpty()) return lines;
  for (const QString& line : text.split('\n')) lines.push_back(ToUserText(line));
  return lines;
}
inline QString UserTextOfLines(const std::vector<std::string>& lines) {
  QStringList texts;
  for (const std::string& line : lines) texts << FromUserText(line);
  return texts.join('\n');
}

}  // namespace rw::app
