#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "demo/demo_info.h"
#include "demo/demo_read_state.h"
#include "demo/user_info.h"
#include "host/file_system.h"
#include "host/locale.h"

namespace rw {

// One demo as the folder scan lists it: where it lies, its size and time.
struct ListedDemo {
  std::string name;
  uint64_t size = 0;
  uint32_t dosTime = 0;
  std::string archiveField;  // archive name, "\\" and the member's folder inside it
  std::string location;      // the folder of the file, or the archive's full path
  std::string memberPath;    // inside the archive, "\\"-separated; empty for a file
};

// A demo file by its path (made absolute); nullopt when there is no such file.
std::optional<ListedDemo> FindDemoFile(FileSystem& files, const std::string& path);
// The first member of the archive whose path matches member (either separator, letters a-z in
// any case); nullopt when the archive cannot be read or holds no such member.
std::optional<ListedDemo> FindArchiveMember(const std::string& archive, std::string member);

// The 26 columns of one demo as the demo list shows them: its place, what the reader learnt
// and the user's notes.
DemoInfo DemoRowOf(const ListedDemo& place, const DemoReadState& state, const UserInfo& notes,
                   const Locale& locale);

}  // namespace rw
