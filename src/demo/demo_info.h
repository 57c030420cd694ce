#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

#include "demo/demo_read_state.h"

namespace rw {

// The summary of one demo: 26 texts in the order of the lists' columns. Fields 0 to 20 are
// what the parse cache keeps; 22 to 25 are the user's notes, filled when a row is shown.
struct DemoInfo {
  enum Field : size_t {
    Name,
    Size,      // decimal byte count
    Recorded,  // decimal MS-DOS packed local date and time
    ArchiveLocation,
    Map,
    Playtime,
    Version,
    Gametype,
    Mod,
    Hostname,
    Timelimit,
    Fraglimit,
    Capturelimit,
    Protocol,
    MaxClients,
    MaxRate,
    MaxPing,
    MinPing,
    Winner,
    Second,
    FinalScore,
    Location,
    POV,
    Rating,
    Web,
    Description,
    kFieldCount
  };

  std::array<std::string, kFieldCount> fields;

  std::string& operator[](Field field) { return fields[field]; }
  const std::string& operator[](Field field) const { return fields[field]; }
};

// Fields that hold names (UTF-8, as the host names files) and the user's notes (UTF-8, as
// typed); the others are Windows-1252 texts.
inline constexpr bool HoldsName(size_t field) {
  return field == DemoInfo::Name || field == DemoInfo::ArchiveLocation ||
         field == DemoInfo::Location;
}
inline constexpr bool HoldsUserText(size_t field) {
  return field >= DemoInfo::POV && field <= DemoInfo::Description;
}
// A field's text in UTF-8, for output.
std::string FieldAsUtf8(size_t field, std::string_view text);

// The column captions, by field.
inline constexpr std::array<std::string_view, DemoInfo::kFieldCount> kDemoInfoCaptions = {
    "Demoname",     "Size",       "Recorded",    "Archive Location", "Map",       "Playtime",
    "Version",      "Gametype",   "Mod",         "Hostname",         "Timelimit", "Fraglimit",
    "Capturelimit", "Protocol",   "Max Clients", "Max Rate",         "Max Ping",  "Min Ping",
    "Winner",       "Second",     "Final Score", "Location",         "POV",       "Rating",
    "Web",          "Description"};

struct Winners {
  std::string winner = "N/A";
  std::string second = "N/A";
  std::string finalScore = "0:0";
};

// Winner, runner-up and final score of the last demo read: the two teams by their scores in
// a team game, else the first two players of the sorted table once a scoreboard was seen.
Winners GetWinners(const DemoReadState& state);

// Fills fields 4 ("Map") to 20 ("Final Score") from the last demo read.
void SetFieldsFromRead(DemoInfo& info, const DemoReadState& state);

}  // namespace rw
