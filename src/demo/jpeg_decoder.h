#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "demo/image.h"

namespace rw {

// Decodes a JPEG picture held in memory; nullopt for anything libjpeg cannot decode. A bad
// file never ends the process.
std::optional<Image> DecodeJpeg(std::span<const uint8_t> bytes);

}  // namespace rw
