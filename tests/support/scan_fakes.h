#pragma once

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "library/scan_sources.h"
#include "library/scan_status.h"
#include "model/row_sink.h"

namespace rw::test {

// Archives and demo summaries given by the test; records every read.
class FakeScanSources : public ScanSources {
 public:
  bool IsArchiveFile(const std::string& path) override { return selfExtracting.count(path) > 0; }
  int ArchiveFindFirst(const std::string& archive, const std::string& pattern,
                       ScanMember& member) override;
  int ArchiveFindNext(const std::string& pattern, ScanMember& member) override;
  void ArchiveClose() override;
  ListRow ReadDemo(const std::string& path, const std::string& archive) override;
  UserInfo GetUserInfo(const std::string& path) override;
  std::unique_ptr<WorkerReader> NewWorkerReader() override {
    return newWorkerReader ? newWorkerReader() : nullptr;
  }

  // Readers for worker threads; without it every demo is read through ReadDemo.
  std::function<std::unique_ptr<WorkerReader>()> newWorkerReader;
  std::set<std::string> selfExtracting;
  std::map<std::string, std::vector<ScanMember>> archives;
  std::map<std::string, UserInfo> notes;
  std::map<std::string, ListRow> summaries;  // by path read; others get "m<i>" texts
  std::vector<std::pair<std::string, std::string>> reads;
  std::vector<std::string> patterns;
  std::function<void()> onRead;
  int openWalks = 0;
  int closes = 0;

 private:
  int Advance(const std::string& prefix, const std::string& pattern, ScanMember& member);
  const std::vector<ScanMember>* walk_ = nullptr;
  size_t next_ = 0;
};

class RecordingStatus : public ScanStatus {
 public:
  void Started() override { ++started; }
  void ShowParsing(const std::string& text) override { parsing.push_back(text); }
  void ShowProgress(const ScanProgress& value) override {
    progress.push_back(value);
    if (onProgress) onProgress(value);
  }
  void MarkFolder(bool holdsDemos) override { marks.push_back(holdsDemos); }
  void ShowSummary(const std::string& text) override { summaries.push_back(text); }
  void Finished() override { ++finished; }

  std::function<void(const ScanProgress&)> onProgress;
  int started = 0;
  int finished = 0;
  std::vector<std::string> parsing;
  std::vector<ScanProgress> progress;
  std::vector<bool> marks;
  std::vector<std::string> summaries;
};

class RecordingSink : public RowSink {
 public:
  void Clear() override {
    rows.clear();
    ++clears;
  }
  void Append(ListRow row) override { rows.push_back(std::move(row)); }
  size_t RowCount() const override { return rows.size(); }
  void Resort() override { ++resorts; }

  // The row whose caption is name, or nullptr.
  const ListRow* Find(const std::string& name) const;

  std::vector<ListRow> rows;
  int clears = 0;
  int resorts = 0;
};

}  // namespace rw::test
