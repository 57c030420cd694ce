#include "library/note_file_names.h"

#include "host/path_separator.h"

namespace rw {

bool NoteFileNames::Lacks(FileSystem& files, std::string_view name) {
  if (!listed_) {
    listed_ = true;
    if (std::optional<std::vector<std::string>> names = files.ListNames(folder_)) {
      names_.emplace(std::make_move_iterator(names->begin()),
                     std::make_move_iterator(names->end()));
    }
  }
  if (!names_ || name.find(kPathSeparator) != std::string_view::npos) return false;
  return names_->count(std::string(name)) == 0;
}

}  // namespace rw
