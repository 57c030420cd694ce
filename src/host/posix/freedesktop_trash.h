#pragma once

#include <sys/types.h>

#include <optional>
#include <string>

#include "host/file_system.h"

namespace rw {

// A trash folder of the freedesktop.org trash specification: "files" holds what was thrown
// away, "info" one NAME.trashinfo per file, saying where it came from and when.
struct TrashFolder {
  std::string path;
  std::string topDirectory;  // the mount's top for a trash there; empty for the home trash
};

// The trash for the files of one file system: the home trash ($XDG_DATA_HOME/Trash) for the
// file system it lies on, else the trash at the top of the file's own mount:
// $topdir/.Trash/$uid when the administrator made $topdir/.Trash (a sticky folder, not a link),
// else $topdir/.Trash-$uid. Missing folders are made, readable by the user alone.
class FreedesktopTrash {
 public:
  // homeTrash empty: no home trash; otherMounts false: no trash on other mounts.
  FreedesktopTrash(std::string homeTrash, bool otherMounts, uid_t user);
  // The user's trash as the desktop finds it.
  static FreedesktopTrash OfUser();
  // Nowhere: every file is to be deleted for good.
  static FreedesktopTrash None();

  // The trash for files in folder; nullopt when there is none to use.
  std::optional<TrashFolder> FolderFor(const std::string& folder) const;
  // Moves the file into its trash under a name not yet used there; kNoTrash when its file
  // system has none. The file is either in the trash with its info file or where it was.
  FileResult Move(const std::string& path) const;

  // The trash at the top of a mount, made when missing; nullopt when neither place can be used.
  std::optional<TrashFolder> TopDirectoryTrash(const std::string& topDirectory) const;

 private:
  std::optional<TrashFolder> HomeTrashFor(dev_t device) const;

  std::string homeTrash_;
  bool otherMounts_;
  uid_t user_;
};

}  // namespace rw
