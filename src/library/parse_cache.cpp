#include "library/parse_cache.h"
#include "demo/demo_generation.h"
#include "text/text_lines.h"

#include <algorithm>
#include <functional>
#include <numeric>

namespace rw {
namespace {

// A line's first four fields; a line with fewer separators loses its last character.
std::string_view KeyPrefix(std::string_view line) {
  int separators = 0;
  for (size_t i = 0; i < line.size(); ++i) {
    if (line[i] == kCacheSeparator && ++separators == 4) return line.substr(0, i);
  }
  return line.substr(0, line.empty() ? 0 : line.size() - 1);
}

// Lines order by their key first, so that the binary search over keys finds them: a collation
// weighs accents and case only after the letters of the whole text.
int CompareLines(std::string_view a, std::string_view b, const Locale& locale) {
  const int order = locale.CompareIgnoringCase(KeyPrefix(a), KeyPrefix(b));
  return order != 0 ? order : locale.CompareIgnoringCase(a, b);
}

// Whether text is the lines, each followed by carriage return and line feed.
bool IsTextOf(const std::vector<std::string>& lines, std::string_view text) {
  size_t position = 0;
  for (const std::string& line : lines) {
    const std::string_view rest = text.substr(position);
    if (rest.size() < line.size() + 2 || rest.substr(0, line.size()) != line ||
        rest.substr(line.size(), 2) != "\r\n") {
      return false;
    }
    position += line.size() + 2;
  }
  return position == text.size();
}

// Texts that CompareIgnoringCase finds equal hash alike.
uint64_t FoldedHash(std::string_view text, const Locale& locale) {
  return std::hash<std::string>()(locale.FoldCase(text));
}

}  // namespace

std::string CleanCacheField(std::string_view value) {
  std::string clean(value);
  for (char& c : clean) {
    if (c == kCacheSeparator || c == '\r' || c == '\n') c = ' ';
  }
  return clean;
}

std::string BuildCacheLine(const CacheFields& fields) {
  std::string line;
  for (const std::string& field : fields) {
    line += CleanCacheField(field);
    line += kCacheSeparator;
  }
  return line;
}

std::string DosTimeField(uint32_t dosTime) {
  return std::to_string(static_cast<int32_t>(dosTime));
}

std::string LookupKey(std::string_view name, uint64_t size, uint32_t dosTime,
                      std::string_view archive) {
  std::string key = CleanCacheField(name);
  key += kCacheSeparator;
  key += std::to_string(size);
  key += kCacheSeparator;
  key += DosTimeField(dosTime);
  key += kCacheSeparator;
  key += CleanCacheField(archive);
  return key;
}

std::optional<size_t> FindCachedLine(const std::vector<std::string>& lines, std::string_view key,
                                     const Locale& locale) {
  int64_t lo = 0;
  int64_t hi = static_cast<int64_t>(lines.size()) - 1;
  bool found = false;
  while (lo <= hi) {
    const int64_t mid = (lo + hi) / 2;
    const int order = locale.CompareIgnoringCase(KeyPrefix(lines[static_cast<size_t>(mid)]), key);
    if (order >= 0) {
      hi = mid - 1;
      if (order == 0) {
        found = true;
        lo = mid;
      }
    } else {
      lo = mid + 1;
    }
  }
  if (!found) return std::nullopt;
  return static_cast<size_t>(lo);
}

bool IsStaleCacheLine(std::string_view line) {
  constexpr size_t kProtocolField = 13;
  const std::string_view name = line.substr(0, line.find(kCacheSeparator));
  if (GenerationOfExtension(ExtensionOf(name)) != DemoGeneration::k132) return false;
  size_t start = 0;
  for (size_t field = 0; field < kProtocolField; ++field) {
    start = line.find(kCacheSeparator, start);
    if (start == std::string_view::npos) return false;
    ++start;
  }
  return line.substr(start, line.find(kCacheSeparator, start) - start) == "N/A";
}

CachedLineFinder::CachedLineFinder(const std::vector<std::string>& lines, const Locale& locale)
    : lines_(lines), locale_(locale) {
  size_t capacity = 16;
  while (capacity < lines.size() * 2) capacity *= 2;
  slots_.resize(capacity);
  for (size_t i = 0; i < lines.size(); ++i) {
    const uint64_t hash = FoldedHash(KeyPrefix(lines[i]), locale);
    for (size_t place = hash & (capacity - 1);; place = (place + 1) & (capacity - 1)) {
      Slot& slot = slots_[place];
      if (slot.index == kEmpty) {
        slot = {hash, i};
        break;
      }
      if (slot.hash == hash) {
        slot.index = kSeveral;
        break;
      }
    }
    if (i == 0 || !keysOrdered_) continue;
    const int keyOrder = locale.CompareIgnoringCase(KeyPrefix(lines[i - 1]), KeyPrefix(lines[i]));
    keysOrdered_ = keyOrder <= 0;
    if (strictlyOrdered_) {
      strictlyOrdered_ =
          keyOrder < 0 || (keyOrder == 0 && locale.CompareIgnoringCase(lines[i - 1], lines[i]) < 0);
    }
  }
  strictlyOrdered_ = strictlyOrdered_ && keysOrdered_;
}

std::optional<size_t> CachedLineFinder::Find(std::string_view key) const {
  // Only a line whose folded key hashes like the key can match it, in any order of the lines.
  const uint64_t hash = FoldedHash(key, locale_);
  const size_t mask = slots_.size() - 1;
  size_t place = hash & mask;
  while (slots_[place].index != kEmpty && slots_[place].hash != hash) place = (place + 1) & mask;
  const size_t index = slots_[place].index;
  if (index == kEmpty) return std::nullopt;
  if (!keysOrdered_ || index == kSeveral) return FindCachedLine(lines_, key, locale_);
  // In order, the search meets the one line that can match, if it does.
  if (locale_.CompareIgnoringCase(KeyPrefix(lines_[index]), key) != 0) return std::nullopt;
  return index;
}

void NewParseCache::Add(std::string line) {
  Add(std::move(line), kUnordered);
}

void NewParseCache::Add(std::string line, size_t orderedIndex) {
  lines_.push_back(std::move(line));
  orderedIndexes_.push_back(orderedIndex);
  sorted_ = false;
}

const std::vector<std::string>& NewParseCache::lines() {
  if (sorted_) return lines_;
  // The indexes of a strictly ordered cache order its lines as CompareLines does, so every
  // pair compares as CompareLines would have it.
  const auto compare = [this](size_t a, size_t b) {
    const size_t x = orderedIndexes_[a];
    const size_t y = orderedIndexes_[b];
    if (x != kUnordered && y != kUnordered) return x < y ? -1 : (x > y ? 1 : 0);
    return CompareLines(lines_[a], lines_[b], locale_);
  };
  // Sorting once at the end keeps a scan of many demos from moving lines on every insert.
  std::vector<size_t> order(lines_.size());
  std::iota(order.begin(), order.end(), size_t{0});
  std::stable_sort(order.begin(), order.end(),
                   [&](size_t a, size_t b) { return compare(a, b) < 0; });
  std::vector<size_t> kept;
  for (const size_t i : order) {
    if (kept.empty() || compare(kept.back(), i) != 0) kept.push_back(i);
  }
  std::vector<std::string> lines;
  std::vector<size_t> orderedIndexes;
  lines.reserve(kept.size());
  orderedIndexes.reserve(kept.size());
  for (const size_t i : kept) {
    lines.push_back(std::move(lines_[i]));
    orderedIndexes.push_back(orderedIndexes_[i]);
  }
  lines_ = std::move(lines);
  orderedIndexes_ = std::move(orderedIndexes);
  sorted_ = true;
  return lines_;
}

std::string NewParseCache::FileText() {
  std::string text;
  size_t size = 0;
  for (const std::string& line : lines()) size += line.size() + 2;
  text.reserve(size);
  for (const std::string& line : lines()) {
    text += line;
    text += "\r\n";
  }
  return text;
}

OldParseCache LoadParseCache(FileSystem& files, const std::string& path) {
  if (!files.Exists(path)) return {};
  std::optional<std::string> text = files.ReadFile(path);
  if (!text) return {};
  OldParseCache cache;
  cache.lines = SplitLines(*text);
  cache.text = std::move(*text);
  return cache;
}

void WriteParseCache(FileSystem& files, const std::string& path, NewParseCache& cache,
                     std::string_view currentText) {
  // An unchanged folder leaves its cache as it is: no write, no flush to the disk.
  if (IsTextOf(cache.lines(), currentText) || files.WriteFileAtomic(path, cache.FileText())) {
    files.SetHidden(path);
  }
}

}  // namespace rw
