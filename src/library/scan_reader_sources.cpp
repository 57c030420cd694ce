#include "library/scan_reader_sources.h"

#include "archive/directory_reader.h"
#include "demo/demo_info.h"

namespace rw {
namespace {

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
  DemoInfo info;
  SetFieldsFromRead(info, reader_.State());
  return info.fields;
}

UserInfo ReaderScanSources::GetUserInfo(const std::string& path) {
  return rw::GetUserInfo(files_, path, messages_);
}

}  // namespace rw
