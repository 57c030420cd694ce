#pragma once

#include <optional>
#include <string>

#include "host/silent_messages.h"
#include "library/scan_status.h"
#include "model/row_sink.h"

namespace rw::bench {

// Message boxes of a run are not part of what is measured.
using SilentMessages = rw::SilentMessages;

// Shows nothing; keeps the summary line.
class QuietStatus : public ScanStatus {
 public:
  void ShowParsing(const std::string&) override {}
  void ShowProgress(const ScanProgress&) override {}
  void MarkFolder(bool) override {}
  void ShowSummary(const std::string& text) override { summary = text; }
  std::string summary;
};

// Counts the rows a scan hands over.
class CountingRows : public RowSink {
 public:
  void Clear() override { rows = 0; }
  void Append(ListRow) override { ++rows; }
  size_t RowCount() const override { return rows; }
  void Resort() override {}
  size_t rows = 0;
};

}  // namespace rw::bench
