#include "support/scan_fakes.h"

#include "host/file_system.h"

namespace rw::test {

int FakeScanSources::ArchiveFindFirst(const std::string& archive, const std::string& pattern,
                                      ScanMember& member) {
  patterns.push_back(pattern);
  const auto found = archives.find(archive);
  if (found == archives.end()) return -1;
  walk_ = &found->second;
  next_ = 0;
  ++openWalks;
  return Advance("\\", pattern, member);
}

int FakeScanSources::ArchiveFindNext(const std::string& pattern, ScanMember& member) {
  patterns.push_back(pattern);
  if (walk_ == nullptr) return -2;
  return Advance("", pattern, member);
}

void FakeScanSources::ArchiveClose() {
  ++closes;
  walk_ = nullptr;
}

int FakeScanSources::Advance(const std::string& prefix, const std::string& pattern,
                             ScanMember& member) {
  while (next_ < walk_->size()) {
    const ScanMember& candidate = (*walk_)[next_++];
    if (MatchesWildcard(prefix + candidate.path, pattern)) {
      member = candidate;
      return 0;
    }
  }
  walk_ = nullptr;
  return 1;
}

ListRow FakeScanSources::ReadDemo(const std::string& path, const std::string& archive) {
  reads.emplace_back(path, archive);
  if (onRead) onRead();
  const auto given = summaries.find(path);
  if (given != summaries.end()) return given->second;
  ListRow row;
  for (size_t i = 0; i < row.size(); ++i) row[i] = "m" + std::to_string(i);
  return row;
}

UserInfo FakeScanSources::GetUserInfo(const std::string& path) {
  const auto found = notes.find(path);
  return found != notes.end() ? found->second : UserInfo{};
}

const ListRow* RecordingSink::Find(const std::string& name) const {
  for (const ListRow& row : rows) {
    if (row[0] == name) return &row;
  }
  return nullptr;
}

}  // namespace rw::test
