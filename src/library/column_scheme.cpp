#include "library/column_scheme.h"

#include <array>
#include <optional>

#include "model/profile_file.h"

namespace rw {
namespace {

std::optional<int32_t> WholeNumber(std::string_view text) {
  const size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return std::nullopt;
  text.remove_prefix(first);
  text.remove_suffix(text.size() - 1 - text.find_last_not_of(' '));
  return ParseProfileInteger(text);
}

}  // namespace

std::string SchemeText(const ColumnLayout& layout) {
  std::string text;
  for (int i = 0; i < kColumnCount; ++i) {
    text += std::to_string(layout.widths[i]) + "," + std::to_string(layout.order[i]) + "\r\n";
  }
  return text;
}

bool SaveColumnScheme(FileSystem& fs, const std::string& path, const ColumnLayout& layout) {
  return fs.WriteFileAtomic(path, SchemeText(layout));
}

SchemeLoad ParseColumnScheme(std::string_view text, ColumnLayout& layout) {
  std::array<int32_t, kColumnCount> widths{};
  std::array<int32_t, kColumnCount> order{};
  for (int i = 0; i < kColumnCount; ++i) {
    const size_t end = text.find('\n');
    if (end == std::string_view::npos && text.empty()) return SchemeLoad::kMalformed;
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    const size_t comma = line.find(',');
    if (comma == std::string_view::npos) return SchemeLoad::kMalformed;
    const std::optional<int32_t> width = WholeNumber(line.substr(0, comma));
    const std::optional<int32_t> column = WholeNumber(line.substr(comma + 1));
    if (!width || !column) return SchemeLoad::kMalformed;
    widths[i] = *width;
    order[i] = *column;
  }
  if (!IsColumnPermutation(order)) return SchemeLoad::kMalformed;
  layout.widths = widths;
  layout.order = order;
  return SchemeLoad::kLoaded;
}

SchemeLoad LoadColumnScheme(FileSystem& fs, const std::string& path, ColumnLayout& layout) {
  const std::optional<std::string> text = fs.ReadFile(path);
  if (!text) return SchemeLoad::kUnreadable;
  return ParseColumnScheme(*text, layout);
}

}  // namespace rw
