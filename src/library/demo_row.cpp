#include "library/demo_row.h"

#include <charconv>
#include <cstdint>

#include "host/dos_time.h"
#include "library/parse_cache.h"

namespace rw {
namespace {

template <typename Number>
bool ReadWhole(std::string_view text, Number& value) {
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  return error == std::errc() && end == text.data() + text.size() && !text.empty();
}

// Columns 1 to 3 are stored raw and shown converted.
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
  const LocalDateTime value = FromDosTime(static_cast<uint32_t>(packed));
  std::string text = locale.ShortDateText(value);
  if (value.hour != 0 || value.minute != 0 || value.second != 0) {
    text += ' ';
    text += locale.LongTimeText(value);
  }
  return text;
}

std::string ArchiveLocationColumnText(std::string_view archiveField) {
  const size_t slash = archiveField.find('\\');
  if (slash == std::string_view::npos) return {};
  return std::string(archiveField.substr(slash + 1, 1000));
}

ListRow RowFromCacheLine(std::string_view line, std::string_view location, const RowUserData& notes,
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
  row[21] = std::string(location);
  row[22] = notes.pov;
  row[23] = notes.rating;
  row[24] = notes.web;
  row[25] = notes.description;
  return row;
}

}  // namespace rw
