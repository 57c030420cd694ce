#pragma once

#include <string>
#include <string_view>

#include "host/locale.h"
#include "library/row_sink.h"

namespace rw {

// The user's four notes on a demo, as the list shows them.
struct RowUserData {
  std::string pov;
  std::string rating;
  std::string web;
  std::string description;
};

// "Size": the byte count in kilobytes, halves rounded to even, then " KB"; a field that is
// not a number is shown as it is.
std::string SizeColumnText(std::string_view sizeField);

// "Recorded": the packed MS-DOS time as the locale's date and time; a field that is not a
// number is shown as it is.
std::string RecordedColumnText(std::string_view timeField, const Locale& locale);

// "Archive Location": the folder inside the archive, the text after the first backslash.
std::string ArchiveLocationColumnText(std::string_view archiveField);

// A row from a cache line: its fields in columns 0 to 20 (a short line leaves the rest empty,
// fields past the 21st are dropped), then "Location" and the user's notes.
ListRow RowFromCacheLine(std::string_view line, std::string_view location, const RowUserData& notes,
                         const Locale& locale);

}  // namespace rw
