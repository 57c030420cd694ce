#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace rw {

// A whole text read as a decimal integer: an optional sign and digits, nothing else, within
// the type's range; nullopt otherwise.
std::optional<int32_t> ParseInt32(std::string_view text);
std::optional<int64_t> ParseInt64(std::string_view text);

}  // namespace rw
