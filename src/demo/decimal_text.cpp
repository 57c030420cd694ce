#include "demo/decimal_text.h"

#include <charconv>

namespace rw {
namespace {

template <typename T>
std::optional<T> Parse(std::string_view text) {
  // from_chars takes a minus sign but no plus sign.
  if (!text.empty() && text.front() == '+') {
    text.remove_prefix(1);
    if (!text.empty() && text.front() == '-') return std::nullopt;
  }
  T value{};
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (ec != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace

std::optional<int32_t> ParseInt32(std::string_view text) {
  return Parse<int32_t>(text);
}

std::optional<int64_t> ParseInt64(std::string_view text) {
  return Parse<int64_t>(text);
}

}  // namespace rw
