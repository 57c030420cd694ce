#pragma once

#include <string>

namespace rw {

// What one scan lists: a whole folder into the demo list (rewriting its parse cache), or one
// demo file, or the demos of one name inside an archive, onto the end of the play list.
struct ScanEntry {
  enum class Kind { kFolder, kDemoFile, kArchiveMembers };
  Kind kind = Kind::kFolder;
  std::string path;        // the folder, the demo file or the archive
  std::string memberName;  // kArchiveMembers: the name found in every folder of the archive

  static ScanEntry Folder(std::string folder) { return {Kind::kFolder, std::move(folder), {}}; }
  static ScanEntry DemoFile(std::string path) { return {Kind::kDemoFile, std::move(path), {}}; }
  static ScanEntry ArchiveMembers(std::string archive, std::string memberName) {
    return {Kind::kArchiveMembers, std::move(archive), std::move(memberName)};
  }
};

}  // namespace rw
