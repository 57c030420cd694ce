#include "library/listed_demo.h"

#include <filesystem>

#include "archive/directory_reader.h"
#include "archive/member_path.h"
#include "library/demo_row.h"

namespace rw {

namespace {

std::string FullPath(const std::string& path) {
  return std::filesystem::absolute(path).lexically_normal().string();
}

}  // namespace

std::optional<ListedDemo> FindDemoFile(FileSystem& files, const std::string& path) {
  const std::filesystem::path full = FullPath(path);
  const std::string name = full.filename().string();
  const std::string folder = full.parent_path().string();
  for (const DirectoryEntry& entry : files.List(folder, name)) {
    if (entry.name == name && !entry.isFolder) {
      return ListedDemo{name, entry.size, entry.dosTime, {}, folder, {}};
    }
  }
  return std::nullopt;
}

std::optional<ListedDemo> FindArchiveMember(const std::string& archive, std::string member) {
  for (char& c : member) c = c == '/' ? '\\' : c;
  ArchiveCursor cursor;
  const int found = ArchiveFind(archive, member, cursor);
  ArchiveClose(cursor);
  if (found != kArchiveMember) return std::nullopt;
  const MemberPath split = SplitMemberPath(cursor.name);
  ListedDemo place;
  place.name = split.name;
  place.archiveField = std::filesystem::path(archive).filename().string() + "\\" + split.folder;
  place.size = cursor.size;
  place.dosTime = cursor.dateTime;
  place.location = FullPath(archive);
  place.memberPath = cursor.name;
  return place;
}

DemoInfo DemoRowOf(const ListedDemo& place, const DemoReadState& state, const UserInfo& notes,
                   const Locale& locale) {
  DemoInfo info;
  info[DemoInfo::Name] = place.name;
  info[DemoInfo::Size] = SizeColumnText(std::to_string(place.size));
  info[DemoInfo::Recorded] =
      RecordedColumnText(std::to_string(static_cast<int32_t>(place.dosTime)), locale);
  info[DemoInfo::ArchiveLocation] = ArchiveLocationColumnText(place.archiveField);
  SetFieldsFromRead(info, state);
  info[DemoInfo::Location] = place.location;
  info[DemoInfo::POV] = notes.POV;
  info[DemoInfo::Rating] = notes.Rating;
  info[DemoInfo::Web] = notes.Web;
  info[DemoInfo::Description] = notes.Description;
  return info;
}

}  // namespace rw
