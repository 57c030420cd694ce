// Parses arbitrary bytes as a query; a query that parses must find the same demos in the
// library index (SQL and FTS5) as the filter box finds among the rows.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/posix/posix_file_system.h"
#include "host/silent_messages.h"
#include "library/demo_row.h"
#include "library/library_index.h"
#include "library/list_filter.h"

namespace {

struct Library {
  rw::SilentMessages messages;
  rw::FixedLocale locale;
  rw::PosixFileSystem files;
  std::unique_ptr<rw::LibraryIndex> index;
  std::vector<rw::ListRow> rows;
  std::vector<std::string> folders = {"/demos"};

  Library() {
    index = std::make_unique<rw::LibraryIndex>(
        ":memory:", rw::LibraryIndex::Context{files, messages, locale, "/nowhere"});
    // Names, texts with accents (Windows-1252) and colour codes, numbers and no numbers.
    const std::vector<rw::IndexedDemo> demos = {
        {"final.dm_48\x01"
         "1335296\x01"
         "700000000\x01\x01ztn3tourney1\x01"
         "00:15:17\x01"
         "Q3 1.27g\x01Tournament\x01osp\x01^1CPL ^7Europe\x01"
         "15\x01N/S\x01N/S\x01"
         "48\x01"
         "6\x01N/S\x01N/S\x01N/S\x01"
         "cK-fatal1ty\x01"
         "c58|PELE\x01"
         "14:3\x01",
         "/demos",
         {"fatal", "5", "http://x.org", "Gro\u00DFe Partie ^1\u0424"},
         "cK-fatal1ty\nc58|PELE [PK]"},
        {"caf\xC3\xA9.dm3\x01"
         "900\x01-5\x01"
         "cup.zip\\finals\\a\x01q3dm7\x01"
         "01:02:03\x01"
         "\x01Team Deathmatch\x01"
         "baseq3\x01\xC7"
         "a va\x01"
         "0\x01"
         "0\x01"
         "0\x01N/S\x01"
         "0\x01"
         "0\x01"
         "0\x01"
         "0\x01Red Team\x01"
         "Blue Team\x01"
         "8:3\x01",
         "/demos/cup.zip",
         {},
         std::string("^1nb^7-^1sir^7ex\n\xC9lan")},
        {"x.dm3\x01", "/demos", {}, std::nullopt},
    };
    index->FolderListed("/demos", demos);
    for (const rw::IndexedDemo& demo : demos) {
      rows.push_back(rw::RowFromCacheLine(demo.line, demo.location, demo.notes, locale));
    }
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Library library;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const rw::ParsedQuery parsed = rw::ParseDemoQuery(text);
  if (parsed.error) {
    // The column is a character of the query, or the one after its end.
    if (parsed.error->column < 1 || parsed.error->column > size + 1) __builtin_trap();
    return 0;
  }
  const std::vector<rw::ListRow> found = library.index->Find(parsed.query, library.folders).rows;
  rw::ListFilter filter(library.locale);
  filter.SetExtras(library.index->ExtrasOf("/demos"));
  if (filter.SetText(std::string(text))) __builtin_trap();
  size_t shown = 0;
  for (const rw::ListRow& row : library.rows) {
    if (!filter.Shows(row)) continue;
    ++shown;
    bool inIndex = false;
    for (const rw::ListRow& hit : found)
      inIndex |= hit[rw::kDemonameColumn] == row[rw::kDemonameColumn];
    if (!inIndex) __builtin_trap();
  }
  if (shown != found.size()) __builtin_trap();
  return 0;
}
