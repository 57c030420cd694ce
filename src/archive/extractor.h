#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "archive/extract_codes.h"
#include "host/cancel.h"
#include "host/clock.h"
#include "host/file_system.h"
#include "host/message_pump.h"

namespace rw {

class ExtractionTarget;

// Decodes one archive member, found by its local header offset, into a file or memory.
// One extraction runs at a time per extractor: the program keeps one, and a call made while
// another runs (from a window message served meanwhile) gets kExtractBusy, unless the running
// one has not served messages for more than 30 seconds, which means it was abandoned.
// cancel is asked whenever the progress percentage changes; true aborts.
class Extractor {
 public:
  Extractor(Clock& clock, MessagePump& pump, FileSystem& files)
      : clock_(clock), pump_(pump), files_(files) {}

  // attributes are MS-DOS attributes set on the file afterwards; with the folder bit (16)
  // the output path names a folder, which is created and nothing else is written.
  int unzipfiletodisk(const std::string& archivePath, const std::string& outputPath,
                      uint16_t attributes, const CancelRequested& cancel,
                      uint32_t localHeaderOffset);
  // Writes at most size bytes and sets size to the count written; a full destination ends
  // the extraction with 0 and without the CRC-32 check.
  int unzipfiletomemory(const std::string& archivePath, uint8_t* destination, uint32_t& size,
                        const CancelRequested& cancel, uint32_t localHeaderOffset);
  // As unzipfiletomemory, after discarding the member's first skip bytes.
  int unzipfiletomemoryskip(const std::string& archivePath, uint8_t* destination, uint32_t& size,
                            const CancelRequested& cancel, uint32_t skip,
                            uint32_t localHeaderOffset);

  bool busy() const { return busy_; }

  static constexpr uint32_t kStaleAfterMs = 30000;

 private:
  int Extract(const std::string& archivePath, uint32_t localHeaderOffset, ExtractionTarget& target,
              const CancelRequested& cancel);
  int Decode(const std::string& archivePath, uint32_t localHeaderOffset, ExtractionTarget& target,
             const CancelRequested& cancel);
  void ServiceMessages();

  Clock& clock_;
  MessagePump& pump_;
  FileSystem& files_;
  bool busy_ = false;
  std::optional<uint32_t> lastService_;
};

}  // namespace rw
