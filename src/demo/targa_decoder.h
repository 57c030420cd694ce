#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "demo/image.h"

namespace rw {

// Decodes a Targa picture: uncompressed or run-length encoded, colour-mapped, true colour
// (15, 16, 24 or 32 bit) or grey, with its origin at the bottom or at the top. Nothing on
// any input reads outside bytes; nullopt for anything that is not such a picture.
std::optional<Image> DecodeTarga(std::span<const uint8_t> bytes);

}  // namespace rw
