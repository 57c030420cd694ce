#pragma once

#include <string>

#include "host/silent_messages.h"
#include "library/scan_status.h"
#include "model/row_sink.h"

namespace rw::bench {

// Shows nothing; keeps the summary line.
class QuietStatus : public ScanStatus {
 public:
  void ShowParsing(const std::string&) override {}
  void ShowProgress(const ScanProgress&) override {}
  void MarkFolder(bool) override {}
  void ShowSummary(const std::string& text) override { summary = text; }
  std::string summary;
};

}  // namespace rw::bench
