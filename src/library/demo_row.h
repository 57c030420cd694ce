#pragma once

#include <string>
#include <string_view>

#include "demo/user_info.h"
#include "host/locale.h"
#include "model/list_row.h"

namespace rw {

// A row from a cache line: its fields in columns 0 to 20, "Size" and "Recorded" as the lists
// show them and "Archive Location" as the folder inside the archive (a short line leaves the
// rest empty, fields past the 21st are dropped); then "Location" and the user's notes.
ListRow RowFromCacheLine(std::string_view line, std::string_view location, const UserInfo& notes,
                         const Locale& locale);

}  // namespace rw
