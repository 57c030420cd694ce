#include "host/posix/proc_process_table.h"

#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

#include "support/test_files.h"

extern char** environ;

namespace rw {
namespace {

bool WaitFor(const std::function<bool()>& done) {
  for (int i = 0; i < 200; ++i) {
    if (done()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(25));
  }
  return false;
}

// A program named like a game engine that reads one line from the named pipe it holds open,
// writes it down and ends.
struct PipeReader {
  test::TempDir dir;
  std::string program = dir.Join("ioquake3.x86_64");
  std::string pipe = dir.Join("home/baseq3/rwtpipe");
  pid_t id = 0;

  PipeReader() {
    std::filesystem::create_directories(dir.Join("home/baseq3"));
    test::WriteBytes(program,
                     "#!/bin/sh\nmkfifo \"$2\" && exec 3<>\"$2\" && touch \"$2.ready\" && "
                     "read -r line <&3 && echo \"$line\" > \"$2.line\"\n");
    std::filesystem::permissions(program, std::filesystem::perms::owner_all);
    const std::string second = "+set";
    std::vector<char*> argv{program.data(), const_cast<char*>(second.c_str()), pipe.data(),
                            nullptr};
    EXPECT_EQ(posix_spawn(&id, program.c_str(), nullptr, nullptr, argv.data(), environ), 0);
    EXPECT_TRUE(WaitFor([this] { return std::filesystem::exists(pipe + ".ready"); }));
  }
  ~PipeReader() {
    if (id > 0) {
      kill(id, SIGKILL);
      waitpid(id, nullptr, 0);
    }
  }
};

TEST(ProcProcessTable, FindsAProgramItsPipeAndHandsItALine) {
  PipeReader reader;
  ProcProcessTable table;
  const std::vector<RunningProcess> processes = table.List();
  const auto found = std::find_if(processes.begin(), processes.end(),
                                  [&](const RunningProcess& p) { return p.id == reader.id; });
  ASSERT_NE(found, processes.end());
  // A script runs as its interpreter, which is given the script's path.
  ASSERT_GE(found->arguments.size(), 4u);
  EXPECT_EQ(found->arguments[1], reader.program);
  EXPECT_EQ(found->arguments[3], reader.pipe);
  EXPECT_EQ(found->name, "ioquake3.x86_64");
  EXPECT_FALSE(found->executable.empty());
  EXPECT_TRUE(table.IsRunning(reader.id));
  EXPECT_EQ(table.OpenPipes(reader.id), std::vector<std::string>{reader.pipe});

  ASSERT_TRUE(table.WriteToPipe(reader.pipe, "exec rwttmp.rwt\n"));
  ASSERT_TRUE(WaitFor([&] { return std::filesystem::exists(reader.pipe + ".line"); }));
  EXPECT_TRUE(WaitFor([&] { return !test::ReadBytes(reader.pipe + ".line").empty(); }));
  EXPECT_EQ(test::ReadBytes(reader.pipe + ".line"), "exec rwttmp.rwt\n");
  // Ended but not yet reaped by its parent: no longer running.
  EXPECT_TRUE(WaitFor([&] { return !table.IsRunning(reader.id); }));
}

TEST(ProcProcessTable, WritesNeverWaitForAReaderNorGoIntoOtherFiles) {
  test::TempDir dir;
  ProcProcessTable table;
  const std::string pipe = dir.Join("stale");
  ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
  const auto start = std::chrono::steady_clock::now();
  EXPECT_FALSE(table.WriteToPipe(pipe, "quit\n"));  // nothing reads it
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  test::WriteBytes(dir.Join("file"), "");
  EXPECT_FALSE(table.WriteToPipe(dir.Join("file"), "quit\n"));
  EXPECT_EQ(test::ReadBytes(dir.Join("file")), "");
  std::filesystem::create_symlink(pipe, dir.Join("link"));
  EXPECT_FALSE(table.WriteToPipe(dir.Join("link"), "quit\n"));
  EXPECT_FALSE(table.WriteToPipe(dir.Join("missing"), "quit\n"));
  EXPECT_FALSE(table.IsRunning(0));
}

// Processes end between the listing of /proc and the reading of their entries; the kernel
// then answers ESRCH, which must not end the listing.
TEST(ProcProcessTable, ProcessesEndingWhileTheTableIsReadAreLeftOut) {
  std::atomic<bool> done{false};
  std::thread churn([&] {
    char program[] = "/bin/true";
    char* argv[] = {program, nullptr};
    while (!done) {
      pid_t id = 0;
      if (posix_spawn(&id, program, nullptr, nullptr, argv, environ) == 0) waitpid(id, nullptr, 0);
    }
  });
  ProcProcessTable table;
  bool listedUs = true;
  for (int i = 0; i < 300; ++i) {
    try {
      const std::vector<RunningProcess> processes = table.List();
      listedUs = listedUs && std::any_of(processes.begin(), processes.end(),
                                         [](const RunningProcess& p) { return p.id == getpid(); });
    } catch (const std::exception& error) {
      ADD_FAILURE() << error.what();
      break;
    }
  }
  done = true;
  churn.join();
  EXPECT_TRUE(listedUs);
}

}  // namespace
}  // namespace rw
