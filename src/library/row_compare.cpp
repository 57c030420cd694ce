#include "library/row_compare.h"

#include <string>

namespace rw {
namespace {

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

// Optional sign and digits only.
std::optional<long long> WholeNumber(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  if (text.empty() || text.size() > 18) return std::nullopt;
  long long value = 0;
  for (const char c : text) {
    if (!IsDigit(c)) return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return negative ? -value : value;
}

// Optional sign, digits, optionally "." and more digits; at least one digit.
std::optional<double> DecimalNumber(std::string_view text) {
  double value = 0;
  bool negative = false;
  if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  bool digits = false;
  size_t pos = 0;
  for (; pos < text.size() && IsDigit(text[pos]); ++pos) {
    value = value * 10 + (text[pos] - '0');
    digits = true;
  }
  if (pos < text.size() && text[pos] == '.') {
    double scale = 0.1;
    for (++pos; pos < text.size() && IsDigit(text[pos]); ++pos) {
      value += (text[pos] - '0') * scale;
      scale /= 10;
      digits = true;
    }
  }
  if (!digits || pos != text.size()) return std::nullopt;
  return negative ? -value : value;
}

}  // namespace

std::optional<double> SortNumber(std::string_view text, const Locale& locale) {
  const size_t blank = text.find(' ');
  const std::string_view unit = blank == std::string_view::npos ? "" : text.substr(blank + 1);
  text = text.substr(0, blank);
  // A number starts with a sign, a digit or a separator: most texts stop at their first letter.
  const char thousands = locale.ThousandsSeparator();
  const char decimal = locale.DecimalSeparator();
  if (text.empty() || !(IsDigit(text[0]) || text[0] == '-' || text[0] == '+' || text[0] == '.' ||
                        text[0] == thousands || text[0] == decimal)) {
    return std::nullopt;
  }
  const double scale = unit == "MB" ? 1024 : 1;

  const size_t colon = text.find(':');
  if (colon != std::string_view::npos) {
    const std::optional<long long> a = WholeNumber(text.substr(0, colon));
    const std::optional<long long> b = WholeNumber(text.substr(colon + 1));
    if (!a || !b) return std::nullopt;
    return static_cast<double>(*a * 100 + *b);
  }
  if (const std::optional<double> plain = DecimalNumber(text)) return *plain * scale;
  std::string local;
  for (const char c : text) {
    if (c == thousands) continue;
    local += c == decimal ? '.' : c;
  }
  const std::optional<double> value = DecimalNumber(local);
  if (!value) return std::nullopt;
  return *value * scale;
}

std::optional<LocalDateTime> SortDate(std::string_view text, const Locale& locale) {
  const char separator = locale.DateSeparator();
  const size_t first = text.find(separator);
  if (first == std::string_view::npos ||
      text.find(separator, first + 1) == std::string_view::npos) {
    return std::nullopt;
  }
  return locale.ParseDateTime(text);
}

int CompareRowTexts(std::string_view a, std::string_view b, const Locale& locale) {
  const std::optional<LocalDateTime> dateA = SortDate(a, locale);
  const std::optional<LocalDateTime> dateB = dateA ? SortDate(b, locale) : std::nullopt;
  if (dateA && dateB) {
    if (*dateA == *dateB) return 0;
    return *dateA < *dateB ? -1 : 1;
  }
  const std::optional<double> numberA = SortNumber(a, locale);
  const std::optional<double> numberB = numberA ? SortNumber(b, locale) : std::nullopt;
  if (numberA && numberB) {
    if (*numberA == *numberB) return 0;
    return *numberA < *numberB ? -1 : 1;
  }
  const int order = locale.Compare(a, b);
  return order < 0 ? -1 : (order > 0 ? 1 : 0);
}

int CompareRowTexts(std::string_view a, std::string_view b, const Locale& locale, bool ascending) {
  const int order = CompareRowTexts(a, b, locale);
  return ascending ? order : -order;
}

}  // namespace rw
