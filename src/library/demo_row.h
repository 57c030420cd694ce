#pragma once

#include <string>
#include <string_view>

#include "demo/user_info.h"
#include "host/locale.h"
#include "model/list_row.h"

namespace rw {

// The list texts of the stored fields 2 to 4; a size or time that is not a number is shown as
// it is.

// "Size" from the stored byte count: kilobytes, halves rounded to even, then " KB".
std::string SizeColumnText(std::string_view sizeField);

// "Recorded" from the stored MS-DOS time (a signed number): the locale's short date and long
// time, the time left out at midnight.
std::string RecordedColumnText(std::string_view timeField, const Locale& locale);

// "Archive Location" from the stored archive field: the folder inside the archive, the text
// after the first backslash.
std::string ArchiveLocationColumnText(std::string_view archiveField);

// Fills "Location" and the user's notes of a row.
void SetLocationAndNotes(ListRow& row, std::string_view location, const UserInfo& notes);

// A row from a cache line: its fields in columns 0 to 20, columns 1 to 3 converted as above
// (a short line leaves the rest empty, fields past the 21st are dropped); then "Location" and
// the user's notes.
ListRow RowFromCacheLine(std::string_view line, std::string_view location, const UserInfo& notes,
                         const Locale& locale);

}  // namespace rw
