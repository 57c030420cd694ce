#include "host/fake/fake_processes.h"

#include <algorithm>

namespace rw {

bool FakeProcessTable::IsRunning(int id) {
  return std::any_of(processes.begin(), processes.end(),
                     [id](const RunningProcess& process) { return process.id == id; });
}

std::vector<std::string> FakeProcessTable::OpenPipes(int id) {
  const auto found = pipes.find(id);
  return IsRunning(id) && found != pipes.end() ? found->second : std::vector<std::string>();
}

bool FakeProcessTable::WriteToPipe(const std::string& path, std::string_view text) {
  const bool read = std::any_of(pipes.begin(), pipes.end(), [&](const auto& entry) {
    return IsRunning(entry.first) &&
           std::find(entry.second.begin(), entry.second.end(), path) != entry.second.end();
  });
  if (!read) return false;
  written[path] += text;
  if (onWrite) onWrite(path, std::string(text));
  return true;
}

int FakeProcessTable::Add(std::string executable, std::vector<std::string> arguments,
                          std::string name) {
  const int id = nextId_++;
  processes.push_back({id, std::move(executable), std::move(name), std::move(arguments)});
  return id;
}

void FakeProcessTable::Remove(int id) {
  std::erase_if(processes, [id](const RunningProcess& process) { return process.id == id; });
}

}  // namespace rw
