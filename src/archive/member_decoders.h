#pragma once

#include <cstdint>

#include "archive/archive_file.h"
#include "archive/decoder_io.h"
#include "archive/extraction_pacer.h"
#include "archive/local_header.h"

namespace rw {

// Decodes one member's data, which starts at the file's current position, into out in pieces
// of at most kOutputWindowSize bytes. Returns an extraction code; consumed is set to the
// number of compressed bytes the data took, where a data descriptor follows.
int DecodeMember(const LocalHeader& header, ArchiveFile& file, ExtractionPacer& pacer,
                 DecoderOutput& out, uint64_t& consumed);

inline constexpr uint32_t kOutputWindowSize = 32768;

}  // namespace rw
