#include "support/fake_engine.h"

#include <filesystem>
#include <sstream>

#include "support/test_files.h"

namespace rw::test {

void WriteFakeEngine(const std::string& path) {
  WriteBytes(path,
             "#!/bin/sh\n"
             "{ pwd -P; for a in \"$@\"; do printf '[%s]\\n' \"$a\"; done; echo --; } "
             ">> \"$0.starts\"\n"
             "home=\"$HOME/.q3a\"; game=baseq3; pipe=\n"
             "while [ $# -gt 0 ]; do\n"
             "  if [ \"$1\" = +set ] && [ $# -ge 3 ]; then\n"
             "    case \"$2\" in fs_homepath) home=$3 ;; fs_game) game=$3 ;; "
             "com_pipefile) pipe=$3 ;; esac\n"
             "    shift 2\n"
             "  fi\n"
             "  shift\n"
             "done\n"
             "[ -n \"$pipe\" ] || exit 0\n"
             "fifo=\"$home/$game/$pipe\"\n"
             "mkdir -p \"$home/$game\" && rm -f \"$fifo\" && mkfifo \"$fifo\" || exit 1\n"
             "exec 3<>\"$fifo\"\n"
             "while read -r line <&3; do\n"
             "  printf '%s\\n' \"$line\" >> \"$0.lines\"\n"
             "  [ \"$line\" = quit ] && break\n"
             "done\n"
             "rm -f \"$fifo\"\n");
  std::filesystem::permissions(path, std::filesystem::perms::owner_all);
}

std::vector<std::vector<std::string>> FakeEngineStarts(const std::string& path) {
  std::vector<std::vector<std::string>> starts(1);
  std::istringstream lines(std::filesystem::exists(path + ".starts") ? ReadBytes(path + ".starts")
                                                                     : "");
  for (std::string line; std::getline(lines, line);) {
    if (line == "--") {
      starts.emplace_back();
    } else {
      starts.back().push_back(line);
    }
  }
  starts.pop_back();
  return starts;
}

}  // namespace rw::test
