#include "cli/scan_listing.h"

#include <unistd.h>

#include <algorithm>
#include <iostream>
#include <nlohmann/json.hpp>

#include "cli/cli_messages.h"
#include "cli/command_registry.h"
#include "demo/demo_info.h"
#include "demo/demo_reader.h"
#include "host/icu_locale.h"
#include "host/posix/posix_file_system.h"
#include "host/posix/steady_clock.h"
#include "library/row_compare.h"
#include "library/scan_demos.h"
#include "library/scan_reader_sources.h"
#include "text/name_text.h"
#include "text/windows_1252.h"

namespace rw::cli {
namespace {

// The demo list of the command line, sorted as the configuration's demo list is.
class ScannedRows : public RowSink {
 public:
  ScannedRows(const Locale& locale, int column, bool ascending)
      : locale_(locale), column_(column), ascending_(ascending) {}

  void Clear() override { rows_.clear(); }
  void Append(ListRow row) override { rows_.push_back(std::move(row)); }
  size_t RowCount() const override { return rows_.size(); }
  void Resort() override {
    if (column_ < 0 || column_ >= static_cast<int>(kListColumnCount)) return;
    const auto column = static_cast<size_t>(column_);
    std::stable_sort(rows_.begin(), rows_.end(), [&](const ListRow& a, const ListRow& b) {
      return CompareRowTexts(a[column], b[column], locale_, ascending_) < 0;
    });
  }
  const std::vector<ListRow>& rows() const { return rows_; }

 private:
  const Locale& locale_;
  int column_;
  bool ascending_;
  std::vector<ListRow> rows_;
};

// Keeps the summary; shows the progress on stderr when that is a terminal.
class TerminalScanStatus : public ScanStatus {
 public:
  TerminalScanStatus() : showProgress_(::isatty(STDERR_FILENO) == 1) {}

  void ShowParsing(const std::string&) override {}
  void ShowProgress(const ScanProgress& progress) override {
    if (!showProgress_) return;
    std::string line = "[" + std::to_string(progress.entriesDone) + "/" +
                       std::to_string(progress.entriesFound) + "] " + NameToUtf8(progress.parsing);
    if (line.size() > 79) line = line.substr(0, 76) + "...";
    std::cerr << "\r\x1b[K" << line << std::flush;
    shown_ = true;
  }
  void MarkFolder(bool) override {}
  void ShowSummary(const std::string& text) override { summary_ = text; }
  void Finished() override {
    if (shown_) std::cerr << "\r\x1b[K" << std::flush;
  }
  const std::string& summary() const { return summary_; }

 private:
  bool showProgress_;
  bool shown_ = false;
  std::string summary_;
};

std::string ColumnUtf8(size_t column, std::string_view text) {
  return HoldsName(column) ? NameToUtf8(text) : Windows1252ToUtf8(text);
}

// A column of the text form: tabs and line ends would break the row, so they show as blanks.
std::string PlainColumn(size_t column, std::string_view text) {
  std::string plain = ColumnUtf8(column, text);
  std::replace_if(
      plain.begin(), plain.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; }, ' ');
  return plain;
}

void PrintText(const std::vector<ListRow>& rows, const std::string& summary) {
  for (const ListRow& row : rows) {
    for (size_t i = 0; i < row.size(); ++i) {
      if (i > 0) std::cout << '\t';
      std::cout << PlainColumn(i, row[i]);
    }
    std::cout << '\n';
  }
  std::cout << Windows1252ToUtf8(summary) << '\n';
}

void PrintJson(const std::vector<ListRow>& rows, const std::string& summary) {
  nlohmann::ordered_json out;
  out["rows"] = nlohmann::ordered_json::array();
  for (const ListRow& row : rows) {
    nlohmann::ordered_json object;
    for (size_t i = 0; i < row.size(); ++i) {
      object[std::string(kDemoInfoCaptions[i])] = ColumnUtf8(i, row[i]);
    }
    out["rows"].push_back(std::move(object));
  }
  out["summary"] = Windows1252ToUtf8(summary);
  std::cout << out.dump(2) << '\n';
}

}  // namespace

int ListFolder(const ScanListingOptions& options) {
  PosixFileSystem files;
  const std::unique_ptr<IcuLocale> userLocale = IcuLocale::FromEnvironment();
  const Locale& locale = *userLocale;
  SteadyClock clock;
  AppState state;
  CliMessages messages;
  DemoReader reader(messages, locale, files);
  ReaderScanSources sources(reader, files, messages, state);
  TerminalScanStatus status;
  ScannedRows demoList(locale, options.sortColumn, options.sortAscending);
  ScannedRows playList(locale, options.sortColumn, options.sortAscending);
  ScanContext context{
      files, locale, clock, state, sources, status, demoList, playList, options.userDataFolder};
  ScanDemos(ScanEntry::Folder(options.folder), context);
  if (options.json) {
    PrintJson(demoList.rows(), status.summary());
  } else {
    PrintText(demoList.rows(), status.summary());
  }
  return kExitOk;
}

}  // namespace rw::cli
