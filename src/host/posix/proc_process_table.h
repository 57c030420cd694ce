#pragma once

#include "host/process_table.h"

namespace rw {

// The processes of /proc (Linux), limited to those of this user.
class ProcProcessTable : public ProcessTable {
 public:
  std::vector<RunningProcess> List() override;
  bool IsRunning(int id) override;
  std::vector<std::string> OpenPipes(int id) override;
  bool WriteToPipe(const std::string& path, std::string_view text) override;
};

}  // namespace rw
