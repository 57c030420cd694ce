#include "library/folder_has_demos.h"

#include "archive/directory_reader.h"
#include "demo/demo_generation.h"
#include "host/path_separator.h"
#include "text/windows_1252.h"

namespace rw {
namespace {

std::string LowerExtension(const std::string& name) {
  const size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : AnsiLowerText(name.substr(dot));
}

bool ArchiveHoldsDemos(const std::string& archive) {
  constexpr std::string_view kPattern = "*.dm*";
  ArchiveCursor cursor;
  int code = ArchiveFindFirst(archive, kPattern, cursor);
  while (code == kArchiveMember && !IsDemoExtension(ExtensionOf(cursor.name))) {
    code = ArchiveFindNext(kPattern, cursor);
  }
  ArchiveClose(cursor);
  return code == kArchiveMember;
}

}  // namespace

bool FolderHasDemos(FileSystem& files, const std::string& path) {
  for (const DirectoryEntry& entry : files.List(path, "*.*")) {
    const std::string extension = LowerExtension(entry.name);
    if (IsDemoExtension(extension)) return true;
    const std::string full = path + kPathSeparator + entry.name;
    const bool archive =
        extension == ".zip" || extension == ".pk3" || (extension == ".exe" && IsArchiveFile(full));
    if (archive && !entry.isFolder && ArchiveHoldsDemos(full)) return true;
  }
  return false;
}

}  // namespace rw
