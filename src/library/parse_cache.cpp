#include "library/parse_cache.h"
#include "text/text_lines.h"

#include <algorithm>

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

void NewParseCache::Add(std::string line) {
  lines_.push_back(std::move(line));
  sorted_ = false;
}

const std::vector<std::string>& NewParseCache::lines() {
  if (sorted_) return lines_;
  // Sorting once at the end keeps a scan of many demos from moving lines on every insert.
  const auto before = [this](const std::string& a, const std::string& b) {
    return CompareLines(a, b, locale_) < 0;
  };
  std::stable_sort(lines_.begin(), lines_.end(), before);
  const auto equal = [this](const std::string& a, const std::string& b) {
    return CompareLines(a, b, locale_) == 0;
  };
  lines_.erase(std::unique(lines_.begin(), lines_.end(), equal), lines_.end());
  sorted_ = true;
  return lines_;
}

std::string NewParseCache::FileText() {
  std::string text;
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
  const std::string text = cache.FileText();
  // An unchanged folder leaves its cache as it is: no write, no flush to the disk.
  if (text == currentText || files.WriteFileAtomic(path, text)) files.SetHidden(path);
}

}  // namespace rw
