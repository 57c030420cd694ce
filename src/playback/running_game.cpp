#include "playback/running_game.h"

#include "host/path_separator.h"
#include "text/windows_1252.h"

namespace rw {
namespace {

constexpr uint32_t kPollMs = 100;

// The last component of a path written with either separator, as wine shows a Windows path.
std::string_view FileNameOf(std::string_view path) {
  const std::size_t last = path.find_last_of("/\\");
  return last == std::string_view::npos ? path : path.substr(last + 1);
}

bool IsInside(std::string_view path, const std::string& folder) {
  return path.size() > folder.size() && path.starts_with(folder) &&
         path[folder.size()] == kPathSeparator;
}

}  // namespace

bool RunningGame::IsProgram(const RunningProcess& process, const GameProgram& program) {
  const std::string real = host_.files.RealPath(program.path);
  if (program.native() && process.executable == real) return true;
  // A script runs as its interpreter, which is given the script's path; wine is given the
  // Windows program's path while it starts.
  bool anotherGame = false;
  for (std::size_t i = 0; i < process.arguments.size() && i < 2; ++i) {
    const std::string& argument = process.arguments[i];
    if (!argument.starts_with(kPathSeparator)) continue;
    if (host_.files.RealPath(argument) == real) return true;
    anotherGame = anotherGame || EqualsIgnoringAnsiCase(FileNameOf(argument), "quake3.exe");
  }
  if (program.native() || anotherGame) return false;
  // Once running, wine names the process after the Windows program and shows its Windows
  // path, which does not tell the game folder.
  return EqualsIgnoringAnsiCase(process.name, "quake3.exe") ||
         (!process.arguments.empty() &&
          EqualsIgnoringAnsiCase(FileNameOf(process.arguments[0]), "quake3.exe"));
}

std::optional<FoundGame> RunningGame::Find() {
  const std::vector<RunningProcess> processes = host_.processes.List();
  for (const GameProgram& program : install_.programs()) {
    for (const RunningProcess& process : processes) {
      if (!IsProgram(process, program)) continue;
      FoundGame found;
      found.program = &program;
      found.process = process.id;
      if (program.hasCommandPipe()) {
        for (const std::string& pipe : host_.processes.OpenPipes(process.id)) {
          found.pipe = pipe;
          found.pipeInHome = IsInside(pipe, program.homePath);
          if (found.pipeInHome) break;
        }
      }
      found.windows = !program.native() && host_.windows.IsRunning();
      found.console = found.windows && host_.windows.CanType();
      return found;
    }
  }
  if (!host_.windows.IsRunning()) return std::nullopt;
  FoundGame found;
  for (const GameProgram& program : install_.programs()) {
    if (!program.native()) found.program = &program;
  }
  found.windows = true;
  found.console = host_.windows.CanType();
  return found;
}

bool RunningGame::HandOver(const GameProgram& program, std::string_view line) {
  const std::optional<FoundGame> found = Find();
  if (!found || found->program != &program) return false;
  if (!found->pipe.empty()) {
    // An engine with another home reads another staging folder.
    return found->pipeInHome && host_.processes.WriteToPipe(found->pipe, std::string(line) + "\n");
  }
  return found->console && host_.windows.SendConsoleLine(line);
}

bool RunningGame::CloseWithin(uint32_t limitMs) {
  const std::optional<FoundGame> found = Find();
  if (!found) return true;
  if (found->pipe.empty()) {
    // The Windows game goes with its windows; without them nothing can ask it.
    return found->windows && host_.windows.CloseWithin(limitMs) &&
           (found->process == 0 || WaitUntilGone(found->process, limitMs));
  }
  if (!host_.processes.WriteToPipe(found->pipe, "quit\n")) return false;
  return WaitUntilGone(found->process, limitMs);
}

bool RunningGame::WaitUntilGone(int process, uint32_t limitMs) {
  const uint32_t start = host_.clock.TickCount();
  while (host_.processes.IsRunning(process)) {
    if (host_.clock.TickCount() - start >= limitMs) return false;
    Pause();
  }
  return true;
}

void RunningGame::CloseWindows() {
  host_.windows.Close();
}

bool RunningGame::WaitUntilRunning(uint32_t limitMs) {
  const uint32_t start = host_.clock.TickCount();
  while (!Find()) {
    if (host_.clock.TickCount() - start >= limitMs) return false;
    Pause();
  }
  return true;
}

void RunningGame::Pause() {
  host_.pump.ServicePending();
  host_.clock.Sleep(kPollMs);
}

}  // namespace rw
