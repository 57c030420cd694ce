#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "host/locale.h"
#include "library/demo_query.h"
#include "model/list_row.h"

namespace rw {

// One demo as a query sees it: folded texts (search_text.h) and numbers. The library index
// stores the same record, so the filter box and Find Demos agree on every query.
struct SearchRecord {
  std::string name;
  std::string map;
  std::string host;
  std::string players;  // one name a line
  std::string mod;
  std::string winner;
  std::string notes;  // point of view, web location and description, one a line
  std::string type;
  std::string place;  // "Location", "/" and "Archive Location"
  std::optional<int64_t> protocol;
  int64_t rating = 0;
  int64_t seconds = 0;
  std::optional<int64_t> recorded;  // YYYYMMDDhhmmss, local time
};

// What a search reads beside a list row: every player's name without colour codes, one a
// line (Windows-1252), the whole description (UTF-8, lines joined by line feeds), and the
// recording time from the demo's MS-DOS time.
struct RowExtras {
  std::string players;
  std::string description;
  std::optional<int64_t> recorded;
};

SearchRecord SearchRecordOf(const ListRow& row, const RowExtras& extras);

// YYYYMMDDhhmmss of a local date and time.
int64_t RecordedNumber(const LocalDateTime& time);

// A "Protocol" or "Rating" text as a number: its digits; nullopt for anything else.
std::optional<int64_t> NumberOfText(std::string_view text);

bool Matches(const DemoQuery& query, const SearchRecord& record);

}  // namespace rw
