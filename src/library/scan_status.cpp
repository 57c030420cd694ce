#include "library/scan_status.h"

#include <algorithm>
#include <cstdio>

#include "demo/display_text.h"
#include "demo/time_text.h"

namespace rw {
namespace {

std::string TwoDecimals(double value, const Locale& locale) {
  char text[64];
  std::snprintf(text, sizeof text, "%.2f", value);
  std::string result = text;
  std::replace(result.begin(), result.end(), '.', locale.DecimalSeparator());
  return result;
}

}  // namespace

std::string ParsingText(std::string_view path) {
  return "Parsing " + std::string(path);
}

std::string ScanSummaryText(size_t rows, uint32_t milliseconds, double percentFromCache,
                            uint64_t totalBytes, uint64_t totalSeconds, const Locale& locale) {
  const auto seconds = static_cast<uint32_t>(std::min<uint64_t>(totalSeconds, UINT32_MAX));
  return std::to_string(rows) + " item(s) loaded in " + TwoDecimals(milliseconds / 1000.0, locale) +
         " sec. " + TwoDecimals(percentFromCache, locale) + "% read from cache. " +
         FormatSize(totalBytes, 2, locale) + ". Playtime: " + FormatSeconds(seconds);
}

}  // namespace rw
