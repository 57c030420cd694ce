#pragma once

#include <optional>
#include <string_view>

#include "host/locale.h"

namespace rw {

// The number a sort reads from a list text: the text before the first blank ("9.50 KB" is
// 9.5); "a:b" of two whole numbers is a * 100 + b; decimals with "." or with the locale's
// separators. Sizes in "MB" count as 1024 KB, so sizes of both units sort together.
std::optional<double> SortNumber(std::string_view text, const Locale& locale);

// The date and time a sort reads from a list text: it holds the locale's date separator
// twice and converts, with its time when it holds the time separator.
std::optional<LocalDateTime> SortDate(std::string_view text, const Locale& locale);

// Ascending order of two texts of the sort column: dates when both are dates, else numbers
// when both are numbers, else the locale's case-sensitive collation.
int CompareRowTexts(std::string_view a, std::string_view b, const Locale& locale);
// The same, reversed for a descending sort.
int CompareRowTexts(std::string_view a, std::string_view b, const Locale& locale, bool ascending);

}  // namespace rw
