#include "library/demo_row.h"

#include <charconv>
#include <cstdint>

#include "demo/demo_info.h"
#include "library/parse_cache.h"

namespace rw {
namespace {

template <typename Number>
bool ReadWhole(std::string_view text, Number& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

// Columns 1 to 3 are stored raw and shown converted; a stored value that is not a number is
// shown as it is.
std::string ColumnText(size_t column, std::string_view field, const Locale& locale) {
  if (column == 1) {
    uint64_t bytes = 0;
    if (ReadWhole(field, bytes)) return SizeListText(bytes);
  } else if (column == 2) {
    int32_t packed = 0;
    if (ReadWhole(field, packed)) return RecordedListText(static_cast<uint32_t>(packed), locale);
  } else if (column == 3) {
    const size_t slash = field.find('\\');
    if (slash == std::string_view::npos) return {};
    return std::string(field.substr(slash + 1, 1000));
  }
  return std::string(field);
}

}  // namespace

ListRow RowFromCacheLine(std::string_view line, std::string_view location, const UserInfo& notes,
                         const Locale& locale) {
  ListRow row;
  size_t column = 0;
  size_t start = 0;
  for (size_t i = 0; i < line.size() && column < kCacheFieldCount; ++i) {
    if (line[i] != kCacheSeparator) continue;
    row[column] = ColumnText(column, line.substr(start, i - start), locale);
    ++column;
    start = i + 1;
  }
  if (column == 0) row[0] = std::string(line);
  row[kLocationColumn] = std::string(location);
  row[kPovColumn] = notes.POV;
  row[kRatingColumn] = notes.Rating;
  row[kWebColumn] = notes.Web;
  row[kDescriptionColumn] = notes.Description;
  return row;
}

}  // namespace rw
