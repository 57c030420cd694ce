#pragma once

#include <unistd.h>
#include <string>

#include "library/scan_status.h"
#include "model/list_row.h"

namespace rw::cli {

// Keeps the summary; shows the progress on stderr when that is a terminal.
class TerminalScanStatus : public ScanStatus {
 public:
  TerminalScanStatus() : showProgress_(::isatty(STDERR_FILENO) == 1) {}

  void ShowParsing(const std::string&) override {}
  void ShowProgress(const ScanProgress& progress) override;
  void MarkFolder(bool) override {}
  void ShowSummary(const std::string& text) override { summary_ = text; }
  void Finished() override;
  const std::string& summary() const { return summary_; }

 private:
  bool showProgress_;
  bool shown_ = false;
  std::string summary_;
};

// One row a line, 26 tab-separated columns, then the summary line.
void PrintRowsAsText(const RowList& rows, const std::string& summary);
// {"rows": [objects keyed by column caption], "summary": text}.
void PrintRowsAsJson(const RowList& rows, const std::string& summary);

}  // namespace rw::cli
