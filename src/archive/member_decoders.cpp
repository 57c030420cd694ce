#include "archive/member_decoders.h"

#include <zlib.h>

#include <algorithm>
#include <vector>

#include "archive/extract_codes.h"
#include "archive/input_blocks.h"
#include "archive/legacy_decoders.h"

namespace rw {

namespace {

int DecodeStored(const LocalHeader& header, ArchiveFile& file, ExtractionPacer& pacer,
                 DecoderOutput& out, uint64_t& consumed) {
  std::vector<uint8_t> window(kOutputWindowSize);
  uint32_t left = header.compressedSize;
  while (left > 0) {
    const uint32_t piece = std::min(left, kOutputWindowSize);
    if (!file.ReadExactly(window.data(), piece)) return kExtractInputFailed;
    left -= piece;
    if (!out.Deliver(window.data(), piece)) return kExtractOutputFailed;
    pacer.Service();
    if (!pacer.Advance(header.compressedSize - left)) return kExtractAborted;
  }
  consumed = header.compressedSize;
  return kExtractOk;
}

int DecodeDeflated(const LocalHeader& header, ArchiveFile& file, ExtractionPacer& pacer,
                   DecoderOutput& out, uint64_t& consumed) {
  z_stream stream{};
  if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) return kExtractBadData;
  struct End {
    z_stream& stream;
    ~End() { inflateEnd(&stream); }
  } end{stream};

  InputBlocks input(file, header.compressedSize, pacer);
  std::vector<uint8_t> window(kOutputWindowSize);
  size_t filled = 0;
  for (;;) {
    if (stream.avail_in == 0) {
      const InputBlocks::Block block = input.ReadBlock();
      if (block == InputBlocks::Block::kAborted) return kExtractAborted;
      if (block != InputBlocks::Block::kData) return kExtractInputFailed;
      stream.next_in = const_cast<Bytef*>(input.data());
      stream.avail_in = static_cast<uInt>(input.size());
    }
    stream.next_out = window.data() + filled;
    stream.avail_out = static_cast<uInt>(kOutputWindowSize - filled);
    const int status = inflate(&stream, Z_NO_FLUSH);
    filled = kOutputWindowSize - stream.avail_out;
    if (status != Z_OK && status != Z_STREAM_END && status != Z_BUF_ERROR) {
      return kExtractBadData;
    }
    if (filled == kOutputWindowSize || (status == Z_STREAM_END && filled > 0)) {
      if (!out.Deliver(window.data(), filled)) return kExtractOutputFailed;
      filled = 0;
    }
    if (status == Z_STREAM_END) {
      consumed = stream.total_in;
      return kExtractOk;
    }
  }
}

// PKZIP's methods before deflate.
int DecodeLegacy(const LocalHeader& header, InputBlocks& input, DecoderOutput& out) {
  DecodeResult result = DecodeResult::kInvalidData;
  switch (header.method) {
    case 1:
      result = Unshrink(input, out);
      break;
    case 2:
    case 3:
    case 4:
    case 5:
      result = Unreduce(input, out, header.method - 1, header.size);
      break;
    case 6:
      result = Explode(input, out, (header.flags & LocalHeader::kBigDictionary) != 0,
                       (header.flags & LocalHeader::kLiteralTree) != 0, header.size);
      break;
    default:
      return kExtractUnsupportedMethod;
  }
  return static_cast<int>(result);
}

}  // namespace

int DecodeMember(const LocalHeader& header, ArchiveFile& file, ExtractionPacer& pacer,
                 DecoderOutput& out, uint64_t& consumed) {
  switch (header.method) {
    case 0:
      return DecodeStored(header, file, pacer, out, consumed);
    case 8:
      return DecodeDeflated(header, file, pacer, out, consumed);
    default: {
      InputBlocks input(file, header.compressedSize, pacer);
      const int code = DecodeLegacy(header, input, out);
      consumed = input.bytesTaken();
      // Shrink ends with its input, so only the file can tell a cut member from a whole one.
      if (code == kExtractOk && input.endedEarly() &&
          header.compressedSize != LocalHeader::kUnknownSize) {
        return kExtractInputFailed;
      }
      return code;
    }
  }
}

}  // namespace rw
