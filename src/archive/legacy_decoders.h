#pragma once

#include <cstdint>

#include "archive/decoder_io.h"

namespace rw {

// The PKZIP methods older than deflate. Each decodes one member's compressed data through a
// 32768-byte window that starts zero-filled, so back-references reaching before the start of
// the output read zeros, as PKZIP's own decoders do. Output is delivered in pieces of at
// most 32768 bytes. The input ending early gives kEndOfInput, an abort kAborted, data no
// encoder could have written kInvalidData and a refused delivery kDeliveryFailed.

// Method 1 (shrink): LZW with 9- to 13-bit codes and partial clearing. The stream carries no
// end mark, so the member ends where the input does: an input that ends gives kOk once
// everything decoded so far is delivered.
DecodeResult Unshrink(DecoderInput& in, DecoderOutput& out);

// Methods 2 to 5 (reduce with compression factor 1 to 4): follower sets, then runs of
// earlier bytes. Stops after uncompressedSize bytes.
DecodeResult Unreduce(DecoderInput& in, DecoderOutput& out, int factor, uint32_t uncompressedSize);

// Method 6 (implode): Shannon-Fano coded literals, lengths and distances. bigDictionary
// (flag bit 1) selects the 8192-byte dictionary over the 4096-byte one, literalTree (flag
// bit 2) a coded literal tree with a minimum match of 3 over raw literals with 2. Stops after
// uncompressedSize bytes.
DecodeResult Explode(DecoderInput& in, DecoderOutput& out, bool bigDictionary, bool literalTree,
                     uint32_t uncompressedSize);

}  // namespace rw
