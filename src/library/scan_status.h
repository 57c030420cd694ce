#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "host/locale.h"

namespace rw {

// How far a scan is: directory entries handled of those found, and the demo being read
// (empty between reads). A GUI shows entriesDone / entriesFound as a progress bar.
struct ScanProgress {
  size_t entriesDone = 0;
  size_t entriesFound = 0;
  std::string parsing;
};

// Where a scan reports what it does: the status bar, the cursor and the folder tree's colour
// of the selected node in the GUI, stderr on the command line.
class ScanStatus {
 public:
  virtual ~ScanStatus() = default;
  // Repaints the status bar and shows the hourglass.
  virtual void Started() {}
  // "Parsing " and the demo's path; the panel shortens the path to its width.
  virtual void ShowParsing(const std::string& text) = 0;
  virtual void ShowProgress(const ScanProgress& progress) = 0;
  // The selected folder node's colour: demo folder or non-demo folder.
  virtual void MarkFolder(bool holdsDemos) = 0;
  virtual void ShowSummary(const std::string& text) = 0;
  // Restores the cursor and repaints the window.
  virtual void Finished() {}
};

std::string ParsingText(std::string_view path);

// "12 item(s) loaded in 0.53 sec. 100.00% read from cache. 25.31 MB. Playtime: 05:12:33",
// the decimals with the locale's separator.
std::string ScanSummaryText(size_t rows, uint32_t milliseconds, double percentFromCache,
                            uint64_t totalBytes, uint64_t totalSeconds, const Locale& locale);

}  // namespace rw
