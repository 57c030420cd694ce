#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/file_system.h"
#include "host/locale.h"

namespace rw {

// Separates the fields of a cache line and of a lookup key.
inline constexpr char kCacheSeparator = '\x01';
inline constexpr size_t kCacheFieldCount = 21;
// The parse cache file in every scanned folder.
inline constexpr std::string_view kParseCacheName = "rwt_scan";

// Field 1 name, 2 size, 3 MS-DOS time, 4 archive location, 5 to 21 the demo's summary.
using CacheFields = std::array<std::string, kCacheFieldCount>;

// The line holds no escaping, so a separator, carriage return or line feed inside a value
// would split the line; such bytes become blanks.
std::string CleanCacheField(std::string_view value);

// Every field cleaned and followed by the separator.
std::string BuildCacheLine(const CacheFields& fields);

// Fields 1 to 4 of a line joined by the separator (a plain file's key ends with it).
std::string LookupKey(std::string_view name, uint64_t size, uint32_t dosTime,
                      std::string_view archive);

// The text of a cache line's time field: the packed time as a signed 32-bit number.
std::string DosTimeField(uint32_t dosTime);

// Binary search of key among the lines' first four fields, case ignored; the index of the
// matching line the search meets first.
std::optional<size_t> FindCachedLine(const std::vector<std::string>& lines, std::string_view key,
                                     const Locale& locale);

// Whether a line found for a demo must be read again: a bit-packed demo (66 to 68) whose line
// gives no protocol. Earlier versions listed such archive members as demos they could not
// read; a demo of these that cannot be read is read again at every listing.
bool IsStaleCacheLine(std::string_view line);

// FindCachedLine for many keys among the same lines. When the lines' keys are in order, a key
// whose folded form hashes like the key of one line only is found through the hash, as the
// search would find it; other keys take the search.
class CachedLineFinder {
 public:
  CachedLineFinder(const std::vector<std::string>& lines, const Locale& locale);

  std::optional<size_t> Find(std::string_view key) const;
  // Whether the lines are in the order NewParseCache writes, without equal lines: then their
  // indexes order them as that sort does.
  bool strictlyOrdered() const { return strictlyOrdered_; }

 private:
  static constexpr size_t kEmpty = SIZE_MAX;
  static constexpr size_t kSeveral = SIZE_MAX - 1;
  // A hash of folded keys and the index of the one line whose key hashes so.
  struct Slot {
    uint64_t hash = 0;
    size_t index = kEmpty;
  };

  const std::vector<std::string>& lines_;
  const Locale& locale_;
  bool keysOrdered_ = true;
  bool strictlyOrdered_ = true;
  std::vector<Slot> slots_;  // open addressing; a power of two, at least twice the lines
};

// The lines of one scan, written in the locale's case-insensitive order (of their lookup keys,
// then of the whole lines) without duplicates.
class NewParseCache {
 public:
  explicit NewParseCache(const Locale& locale) : locale_(locale) {}

  void Add(std::string line);
  // A line of a cache whose finder is strictly ordered, at index there: it orders against
  // other such lines by index, without comparing texts.
  void Add(std::string line, size_t orderedIndex);
  bool empty() const { return lines_.empty(); }
  // Sorted; of lines equal but for case, the first added is kept.
  const std::vector<std::string>& lines();
  // Every line followed by carriage return and line feed.
  std::string FileText();

 private:
  static constexpr size_t kUnordered = SIZE_MAX;

  const Locale& locale_;
  std::vector<std::string> lines_;
  std::vector<size_t> orderedIndexes_;  // kUnordered for lines added without one
  bool sorted_ = true;
};

// A cache file as the scan found it; empty when there is none.
struct OldParseCache {
  std::string text;
  std::vector<std::string> lines;  // in file order
};
OldParseCache LoadParseCache(FileSystem& files, const std::string& path);

// Replaces the file at once, unless it holds the same text already, and hides it; a failure
// keeps the old file and is ignored.
void WriteParseCache(FileSystem& files, const std::string& path, NewParseCache& cache,
                     std::string_view currentText);

}  // namespace rw
