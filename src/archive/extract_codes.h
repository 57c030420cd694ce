#pragma once

namespace rw {

// Result codes of the extraction operations.
inline constexpr int kExtractOk = 0;  // done and CRC-32 correct, or a memory destination full
inline constexpr int kExtractCrcMismatch = 1;
inline constexpr int kExtractOutputFailed = 2;  // cannot create or write the output
inline constexpr int kExtractInputFailed = 3;   // cannot open the archive, or its data ended
inline constexpr int kExtractBadData = 4;       // no local header there, or invalid data
inline constexpr int kExtractAborted = 5;
inline constexpr int kExtractUnsupportedMethod = 6;
inline constexpr int kExtractEncrypted = 7;
inline constexpr int kExtractBusy = -1;  // another extraction is under way

}  // namespace rw
