#include "library/demo_row.h"

#include <charconv>
#include <cstdint>

#include "demo/recorded_text.h"
#include "library/parse_cache.h"

namespace rw {
namespace {

template <typename Number>
bool ReadWhole(std::string_view text, Number& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

std::string ColumnText(size_t column, std::string_view field, const Locale& locale) {
  switch (column) {
    case 1:
      return SizeColumnText(field);
    case 2:
      return RecordedColumnText(field, locale);
    case 3:
      return ArchiveLocationColumnText(field);
    default:
      return std::string(field);
  }
}

}  // namespace

std::string SizeColumnText(std::string_view sizeField) {
  uint64_t bytes = 0;
  if (!ReadWhole(sizeField, bytes)) return std::string(sizeField);
  uint64_t kilobytes = bytes / 1024;
  const uint64_t rest = bytes % 1024;
  if (rest > 512 || (rest == 512 && kilobytes % 2 == 1)) ++kilobytes;
  return std::to_string(kilobytes) + " KB";
}

std::string RecordedColumnText(std::string_view timeField, const Locale& locale) {
  int32_t packed = 0;
  if (!ReadWhole(timeField, packed)) return std::string(timeField);
  return RecordedText(static_cast<uint32_t>(packed), locale);
}

std::string ArchiveLocationColumnText(std::string_view archiveField) {
  const size_t slash = archiveField.find('\\');
  if (slash == std::string_view::npos) return {};
  return std::string(archiveField.substr(slash + 1, 1000));
}

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
  SetLocationAndNotes(row, location, notes);
  return row;
}

void SetLocationAndNotes(ListRow& row, std::string_view location, const UserInfo& notes) {
  row[kLocationColumn] = std::string(location);
  row[kPovColumn] = notes.POV;
  row[kRatingColumn] = notes.Rating;
  row[kWebColumn] = notes.Web;
  row[kDescriptionColumn] = notes.Description;
}

}  // namespace rw
