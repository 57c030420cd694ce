#include <algorithm>
#include <charconv>
#include <cstdint>

#include "host/locale.h"
#include "text/windows_1252.h"

namespace rw {
namespace {

bool ReadNumber(std::string_view text, size_t& pos, size_t digits, int& out) {
  if (pos + digits > text.size()) return false;
  auto [end, ec] = std::from_chars(text.data() + pos, text.data() + pos + digits, out);
  if (ec != std::errc() || end != text.data() + pos + digits) return false;
  pos += digits;
  return true;
}

bool Expect(std::string_view text, size_t& pos, char c) {
  if (pos >= text.size() || text[pos] != c) return false;
  ++pos;
  return true;
}

bool IsValidDate(const LocalDateTime& v) {
  static constexpr int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (v.month < 1 || v.month > 12 || v.day < 1) return false;
  const bool leap = (v.year % 4 == 0 && v.year % 100 != 0) || v.year % 400 == 0;
  const int days = (v.month == 2 && !leap) ? 28 : kDays[v.month - 1];
  return v.day <= days;
}

int CompareBytes(std::string_view a, std::string_view b, bool ignore_case) {
  const size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    const auto x = static_cast<unsigned char>(ignore_case ? AnsiLower(a[i]) : a[i]);
    const auto y = static_cast<unsigned char>(ignore_case ? AnsiLower(b[i]) : b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  if (a.size() == b.size()) return 0;
  return a.size() < b.size() ? -1 : 1;
}

// As printf's "%0*d": a minus sign counts towards the width.
void AppendPadded(std::string& text, int value, int width) {
  char digits[16];
  const auto magnitude = static_cast<unsigned>(value < 0 ? -static_cast<int64_t>(value) : value);
  char* end = std::to_chars(digits, digits + sizeof digits, magnitude).ptr;
  const auto length = static_cast<int>(end - digits) + (value < 0 ? 1 : 0);
  if (value < 0) text += '-';
  if (length < width) text.append(static_cast<size_t>(width - length), '0');
  text.append(digits, static_cast<size_t>(end - digits));
}

}  // namespace

std::string FixedLocale::ShortDateText(const LocalDateTime& value) const {
  std::string text;
  AppendPadded(text, value.year, 4);
  text += '-';
  AppendPadded(text, value.month, 2);
  text += '-';
  AppendPadded(text, value.day, 2);
  return text;
}

std::string FixedLocale::LongTimeText(const LocalDateTime& value) const {
  std::string text;
  AppendPadded(text, value.hour, 2);
  text += ':';
  AppendPadded(text, value.minute, 2);
  text += ':';
  AppendPadded(text, value.second, 2);
  return text;
}

std::optional<LocalDateTime> FixedLocale::ParseDateTime(std::string_view text) const {
  LocalDateTime v;
  size_t pos = 0;
  if (!ReadNumber(text, pos, 4, v.year) || !Expect(text, pos, '-') ||
      !ReadNumber(text, pos, 2, v.month) || !Expect(text, pos, '-') ||
      !ReadNumber(text, pos, 2, v.day) || !IsValidDate(v)) {
    return std::nullopt;
  }
  if (pos == text.size()) return v;
  if (!Expect(text, pos, ' ') || !ReadNumber(text, pos, 2, v.hour) || !Expect(text, pos, ':') ||
      !ReadNumber(text, pos, 2, v.minute) || !Expect(text, pos, ':') ||
      !ReadNumber(text, pos, 2, v.second) || pos != text.size() || v.hour > 23 || v.minute > 59 ||
      v.second > 59) {
    return std::nullopt;
  }
  return v;
}

int FixedLocale::Compare(std::string_view a, std::string_view b) const {
  return CompareBytes(a, b, false);
}

int FixedLocale::CompareIgnoringCase(std::string_view a, std::string_view b) const {
  return CompareBytes(a, b, true);
}

std::string FixedLocale::FoldCase(std::string_view text) const {
  return AnsiLowerText(text);
}

}  // namespace rw
