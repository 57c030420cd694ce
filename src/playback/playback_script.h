#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/file_system.h"
#include "host/messages.h"

namespace rw {

// The options every playback script follows.
struct ScriptOptions {
  bool timeDemos = false;
  bool loopDemos = false;
  std::string bindBlock;  // the current key binds, lines without a final line break
};

inline constexpr std::string_view kScriptFileName = "rwttmp.rwt";

// The 55 lines of speed states that every script starts with, each ended by CR LF.
std::string SpeedBlock();

// The script that plays one demo: display is what the console shows, play what the game's
// demo command gets (without it, the staged "rwttmp00" with the display name's extension).
std::string SingleDemoScript(const ScriptOptions& options, std::string_view display,
                             std::optional<std::string_view> play);

// The script that chains a play list; each record is a play name, "*" and a display path.
// There must be at least one record.
std::string PlayListScript(const ScriptOptions& options, const std::vector<std::string>& records);

// Write the scripts as "rwttmp.rwt" into the base folder; a failure is told to the user and
// gives false.
bool MakeTmpPlayList(FileSystem& files, Messages& messages, const std::string& baseFolder,
                     const ScriptOptions& options, std::string_view display,
                     std::optional<std::string_view> play);
bool WritePlayListScript(FileSystem& files, Messages& messages, const std::string& baseFolder,
                         const ScriptOptions& options, const std::vector<std::string>& records);

}  // namespace rw
