#include "library/scan_reader_sources.h"

#include "archive/directory_reader.h"
#include "demo/demo_info.h"
#include "library/player_names.h"

namespace rw {
namespace {

ListRow SummaryOf(const DemoReadState& state) {
  DemoInfo info;
  SetFieldsFromRead(info, state);
  return info.fields;
}

// The scan stores no size or date text, so a worker formats them the fixed way: the user's
// formats belong to the scan's thread.
class ReaderOnWorker : public WorkerReader {
 public:
  explicit ReaderOnWorker(FileSystem& files) : reader_(messages_, locale_, files) {}

  DemoRead Read(const std::string& path, const std::string& archive) override {
    reader_.GetFromDemo(path, archive, false);
    return {SummaryOf(reader_.State()), messages_.Take(), reader_.RanOutOfMemory(),
            PlayerNames(reader_.State())};
  }

 private:
  RecordedMessages messages_;
  FixedLocale locale_;
  DemoReader reader_;
};

int Loaded(int code, const ArchiveCursor& cursor, ScanMember& member) {
  if (code == kArchiveMember) member = {cursor.name, cursor.size, cursor.dateTime};
  return code;
}

}  // namespace

bool ReaderScanSources::IsArchiveFile(const std::string& path) {
  return rw::IsArchiveFile(path);
}

int ReaderScanSources::ArchiveFindFirst(const std::string& archive, const std::string& pattern,
                                        ScanMember& member) {
  return Loaded(rw::ArchiveFindFirst(archive, pattern, cursor_), cursor_, member);
}

int ReaderScanSources::ArchiveFindNext(const std::string& pattern, ScanMember& member) {
  return Loaded(rw::ArchiveFindNext(pattern, cursor_), cursor_, member);
}

void ReaderScanSources::ArchiveClose() {
  rw::ArchiveClose(cursor_);
}

ListRow ReaderScanSources::ReadDemo(const std::string& path, const std::string& archive) {
  reader_.GetFromDemo(path, archive, false);
  if (reader_.RanOutOfMemory()) appState_.ResetBusy();
  return SummaryOf(reader_.State());
}

std::unique_ptr<WorkerReader> ReaderScanSources::NewWorkerReader() {
  return std::make_unique<ReaderOnWorker>(files_);
}

void ReaderScanSources::Settle(const DemoRead& read) {
  ShowMessages(read.messages, messages_);
  if (read.ranOutOfMemory) appState_.ResetBusy();
}

std::optional<std::string> ReaderScanSources::PlayersOfLastRead() {
  return PlayerNames(reader_.State());
}

UserInfo ReaderScanSources::GetUserInfo(const std::string& path) {
  return rw::GetUserInfo(files_, path, messages_);
}

}  // namespace rw
