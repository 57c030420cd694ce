#pragma once

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "host/process_table.h"

namespace rw {

// Processes a test lists by hand, with pipes that keep what is written into them.
class FakeProcessTable : public ProcessTable {
 public:
  std::vector<RunningProcess> List() override { return processes; }
  bool IsRunning(int id) override;
  std::vector<std::string> OpenPipes(int id) override;
  bool WriteToPipe(const std::string& path, std::string_view text) override;

  // Adds a process, its id chosen; returns the id.
  int Add(std::string executable, std::vector<std::string> arguments, std::string name = "");
  void Remove(int id);

  std::vector<RunningProcess> processes;
  std::map<int, std::vector<std::string>> pipes;  // what each process holds open
  std::map<std::string, std::string> written;     // by pipe path
  // Runs after each write, for a test whose game acts on a line.
  std::function<void(const std::string& path, const std::string& text)> onWrite;

 private:
  int nextId_ = 100;
};

}  // namespace rw
