#include "cli/scan_listing.h"

#include <algorithm>
#include <iostream>
#include <nlohmann/json.hpp>

#include "demo/demo_info.h"
#include "text/name_text.h"
#include "text/windows_1252.h"

namespace rw::cli {
namespace {

// A column of the text form: tabs and line ends would break the row, so they show as blanks.
std::string PlainColumn(size_t column, std::string_view text) {
  std::string plain = FieldAsUtf8(column, text);
  std::replace_if(
      plain.begin(), plain.end(), [](char c) { return c == '\t' || c == '\r' || c == '\n'; }, ' ');
  return plain;
}

}  // namespace

void TerminalScanStatus::ShowProgress(const ScanProgress& progress) {
  if (!showProgress_) return;
  std::string line = "[" + std::to_string(progress.entriesDone) + "/" +
                     std::to_string(progress.entriesFound) + "] " + NameToUtf8(progress.parsing);
  if (line.size() > 79) line = line.substr(0, 76) + "...";
  std::cerr << "\r\x1b[K" << line << std::flush;
  shown_ = true;
}

void TerminalScanStatus::Finished() {
  if (shown_) std::cerr << "\r\x1b[K" << std::flush;
}

void PrintRowsAsText(const RowList& rows, const std::string& summary) {
  // One write for the whole listing: a write a column costs more than the listing itself.
  std::string text;
  for (const ListItem& item : rows) {
    const ListRow& row = item.columns;
    for (size_t i = 0; i < row.size(); ++i) {
      if (i > 0) text += '\t';
      text += PlainColumn(i, row[i]);
    }
    text += '\n';
  }
  text += Windows1252ToUtf8(summary);
  text += '\n';
  std::cout << text;
}

void PrintRowsAsJson(const RowList& rows, const std::string& summary) {
  nlohmann::ordered_json out;
  out["rows"] = nlohmann::ordered_json::array();
  for (const ListItem& item : rows) {
    const ListRow& row = item.columns;
    nlohmann::ordered_json object;
    for (size_t i = 0; i < row.size(); ++i) {
      object[std::string(kDemoInfoCaptions[i])] = FieldAsUtf8(i, row[i]);
    }
    out["rows"].push_back(std::move(object));
  }
  out["summary"] = Windows1252ToUtf8(summary);
  std::cout << out.dump(2) << '\n';
}

}  // namespace rw::cli
