#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <set>
#include <thread>

#include "host/dos_time.h"
#include "host/fake/fake_host.h"
#include "host/fake/fake_processes.h"
#include "host/fake/fake_windows.h"
#include "host/posix/posix_file_system.h"
#include "session/session.h"
#include "support/scan_fakes.h"
#include "support/test_files.h"
#include "support/zip_writer.h"

namespace rw {
namespace {

namespace fs = std::filesystem;
using Names = std::multiset<std::string>;

// The real test demos in a folder of their own. What the expectations rest on, as `strings`
// shows it: tdm.dm3 is team deathmatch (g_gametype 3) on q3dm7, protocol 43, host "East
// Teamplay.Net Teams 2", with the player "^1nb^7-^1sir^7ex"; duel.dm_48 is a tournament
// (g_gametype 1) on ztn3tourney1 with fs_game osp, protocol 48, host "CPL Europe Tourney #19",
// players "^0cK^3-^7fatal^01^7ty" and "^2c58^3|^2PELE ^3[^2PK^3]^7". "cup 2001.zip" holds
// the duel again as finals/финал.dm_48 (a UTF-8 name). Of the bit-packed demos, which
// `strings` cannot show, what their reader's tests establish from the decoded records: the
// .dm_67 is an osp tournament on ospdm8 hosted by "l4v6_1" with the players fatal1ty, czm and
// GTV-OSPizME; the .dm_68 team deathmatch on q3dm7 has sausage, Sarge and two Grunts.
class LibrarySearchTest : public ::testing::Test {
 protected:
  LibrarySearchTest() {
    fs::create_directories(game_);
    fs::create_directories(demos_);
    test::WriteBytes(game_ + "/quake3.exe", "MZ");
    fs::copy(test::TestDataPath("demos/tdm.dm3"), demos_ + "/tdm.dm3");
    fs::copy(test::TestDataPath("demos/duel.dm_48"), demos_ + "/duel.dm_48");
    fs::copy(test::TestDataPath("demos/newer/" + quakecon_), demos_ + "/" + quakecon_);
    fs::copy(test::TestDataPath("demos/newer/" + teamChat_), demos_ + "/" + teamChat_);
    PosixFileSystem files;
    files.SetModifiedDosTime(demos_ + "/tdm.dm3", ToDosTime({2001, 5, 3, 17, 4, 8}));
    files.SetModifiedDosTime(demos_ + "/duel.dm_48", ToDosTime({2000, 12, 18, 21, 0, 0}));
    files.SetModifiedDosTime(demos_ + "/" + quakecon_, ToDosTime({2002, 8, 16, 20, 0, 0}));
    files.SetModifiedDosTime(demos_ + "/" + teamChat_, ToDosTime({2008, 3, 1, 12, 0, 0}));
    test::ZipMember member{"finals/\xD1\x84\xD0\xB8\xD0\xBD\xD0\xB0\xD0\xBB.dm_48",
                           test::ReadBytes(demos_ + "/duel.dm_48"),
                           ToDosTime({2001, 6, 2, 12, 0, 0}), 1 << 11};
    test::WriteBytes(demos_ + "/cup 2001.zip", test::ZipBytes({member}));
  }

  std::unique_ptr<Session> Open() {
    return Session::Open({home_, game_, true, false},
                         {messages_, locale_, pump_, shell_, windows_, processes_});
  }

  static Names NamesOf(const std::vector<ListRow>& rows) {
    Names names;
    for (const ListRow& row : rows) names.insert(row[kDemonameColumn]);
    return names;
  }

  Names Find(Session& session, const std::string& query) {
    const ParsedQuery parsed = ParseDemoQuery(query);
    EXPECT_FALSE(parsed.error) << query;
    return NamesOf(session.FindDemos(parsed.query, {demos_}).rows);
  }

  // What the filter box shows of the listed folder.
  static Names Filtered(Session& session, const std::string& query) {
    EXPECT_FALSE(session.FilterDemoList(query)) << query;
    Names names;
    for (const ListItem& item : session.demoList().rows()) {
      names.insert(item.columns[kDemonameColumn]);
    }
    return names;
  }

  size_t IndexMessages() const {
    size_t count = 0;
    for (const FakeMessages::Shown& shown : messages_.shown) {
      count += shown.caption == "RWT Library Index" ? 1 : 0;
    }
    return count;
  }

  std::string Sqlite(const std::string& sql) const {
    return RunSqliteShell(home_ + "/RWT Data/Library.sqlite", sql);
  }

  static std::string RunSqliteShell(const std::string& database, const std::string& sql) {
    const std::string command = "sqlite3 '" + database + "' \"" + sql + "\" 2>&1";
    std::string out;
    FILE* pipe = popen(command.c_str(), "r");
    char buffer[256];
    while (pipe != nullptr && fgets(buffer, sizeof buffer, pipe) != nullptr) out += buffer;
    if (pipe != nullptr) pclose(pipe);
    while (!out.empty() && out.back() == '\n') out.pop_back();
    return out;
  }

  test::TempDir dir_;
  const std::string home_ = dir_.Join("home");
  const std::string game_ = dir_.Join("game");
  const std::string demos_ = dir_.Join("demos");
  const std::string member_ = "\xD1\x84\xD0\xB8\xD0\xBD\xD0\xB0\xD0\xBB.dm_48";
  const std::string quakecon_ = "2002 - Duel 3 (Quakecon).dm_67";
  const std::string teamChat_ = "udt_baseq3_team_chat.dm_68";
  FakeMessages messages_;
  FixedLocale locale_;
  CountingPump pump_;
  FakeShell shell_;
  FakeWindowSystem windows_;
  FakeProcessTable processes_;
  test::RecordingStatus status_;
};

TEST_F(LibrarySearchTest, FieldsAndFreeWordsFindTheRightDemosInTheIndexAndTheFilterBox) {
  std::unique_ptr<Session> session = Open();
  // Notes as typed (UTF-8): "Großartige Partie" and, on the description's second line, "Ça"
  // and the Cyrillic "Победа".
  UserData notes;
  notes.POV = "^1nb^7-^1sir^7ex";
  notes.Rating = "5";
  notes.Description = {"Gro\u00DFartige Partie",
                       "zweite Zeile \u00C7a \u041F\u043E\u0431\u0435\u0434\u0430"};
  ASSERT_TRUE(session->SaveNotes("tdm.dm3", notes));
  session->ListFolder(demos_, status_);
  ASSERT_EQ(session->demoList().RowCount(), 5u);

  const Names all = {"tdm.dm3", "duel.dm_48", member_, quakecon_, teamChat_};
  const Names duels = {"duel.dm_48", member_};
  const std::pair<const char*, Names> cases[] = {
      {"", all},
      {"player:fatal1ty", {"duel.dm_48", member_, quakecon_}},
      {"FATAL1TY -in:zip -proto:67", {"duel.dm_48"}},
      {"player:=\"c58|pele [pk]\"", duels},
      {"player:czm", {quakecon_}},
      {"player:=sausage", {teamChat_}},
      {"player:=grunt type:tdm", {teamChat_}},
      {"sirex", {"tdm.dm3"}},
      {"map:q3dm7 type:tdm", {"tdm.dm3", teamChat_}},
      {"type:duel", {"duel.dm_48", member_, quakecon_}},
      {"type:duel mod:osp host:\"cpl europe\"", duels},
      {"host:=l4v6_1 map:ospdm8", {quakecon_}},
      {"type:ctf", {}},
      {"proto:43", {"tdm.dm3"}},
      {"proto:>=48 proto:<68", {"duel.dm_48", member_, quakecon_}},
      {"in:\"cup 2001.zip\"", {member_}},
      {"in:finals", {member_}},
      {"\xD0\xA4\xD0\x98\xD0\x9D\xD0\x90\xD0\x9B", {member_}},  // ФИНАЛ
      {"grossartige", {"tdm.dm3"}},
      {"\xC3\xA7"
       "a",
       {"tdm.dm3"}},  // ça, on the second line of the description
      {"\u043F\u043E\u0431\u0435\u0434\u0430", {"tdm.dm3"}},  // победа
      {"rating:5", {"tdm.dm3"}},
      {"rating:0", {"duel.dm_48", member_, quakecon_, teamChat_}},
      {"rating:>=4 -map:q3dm7", {}},
      {"after:2001-05-01 before:2001-06", {"tdm.dm3"}},
      {"after:2001", {"tdm.dm3", member_, quakecon_, teamChat_}},
      {"after:2002 before:2008", {quakecon_}},
      {"before:2001-05-03", {"duel.dm_48"}},
      {"-dm", {}},
      {"ZTN", duels},
      {"12", {}},
  };
  for (const auto& [query, expected] : cases) {
    EXPECT_EQ(Find(*session, query), expected) << query;
    EXPECT_EQ(Filtered(*session, query), expected) << query;
  }
  EXPECT_EQ(session->demoList().TotalCount(), 5u);
  // The filter box keeps its filter when the folder is listed again.
  session->FilterDemoList("type:duel");
  session->ListFolder(demos_, status_);
  EXPECT_EQ(session->demoList().RowCount(), 3u);
  EXPECT_EQ(session->demoList().TotalCount(), 5u);
  EXPECT_TRUE(session->FilterDemoList("rating:>x"));
  EXPECT_EQ(session->demoList().RowCount(), 3u);
  EXPECT_EQ(IndexMessages(), 0u);
}

TEST_F(LibrarySearchTest, RenamingMovingDeletingAndNotesUpdateTheIndexAtOnce) {
  std::unique_ptr<Session> session = Open();
  session->settings().global.work_readonly = false;
  FolderNode& branch = session->AddFolderBranch(demos_, [](const std::string&) {});
  const std::string other = dir_.Join("other");
  fs::create_directories(other);
  FolderNode& target = session->AddFolderBranch(other, [](const std::string&) {});
  session->ListFolder(demos_, status_);
  const auto row = [&](const std::string& name) {
    RowList& rows = session->demoList().rows();
    for (size_t i = 0; i < rows.size(); ++i) {
      rows[i].selected = rows[i].columns[kDemonameColumn] == name;
    }
    for (size_t i = 0; i < rows.size(); ++i) {
      if (rows[i].selected) return i;
    }
    return rows.size();
  };
  const auto findIn = [&](const std::string& query, const std::string& folder) {
    return NamesOf(session->FindDemos(ParseDemoQuery(query).query, {folder}).rows);
  };

  ASSERT_TRUE(session->RenameDemo(row("duel.dm_48"), "cpl_final"));
  EXPECT_EQ(Find(*session, "CPL_FINAL"), Names{"cpl_final.dm_48"});
  EXPECT_EQ(Find(*session, "player:fatal1ty -proto:67"), (Names{"cpl_final.dm_48", member_}));

  UserData notes;
  notes.Web = "http://example.com/cpl";
  ASSERT_TRUE(session->SaveNotes("cpl_final.dm_48", notes));
  EXPECT_EQ(Find(*session, "example.com"), Names{"cpl_final.dm_48"});
  ASSERT_TRUE(session->ClearNotes("cpl_final.dm_48"));
  EXPECT_EQ(Find(*session, "example.com"), Names{});

  row("tdm.dm3");
  session->MoveSelectedDemosTo(target);
  EXPECT_EQ(findIn("map:q3dm7", other), Names{"tdm.dm3"});
  EXPECT_EQ(Find(*session, "map:q3dm7"), Names{teamChat_});

  messages_.answers.push_back(MessageAnswer::kYes);
  row("cpl_final.dm_48");
  ASSERT_TRUE(session->DeleteSelectedDemos());
  EXPECT_EQ(Find(*session, "player:fatal1ty"), (Names{member_, quakecon_}));

  const std::string renamed = dir_.Join("renamed");
  ASSERT_TRUE(session->RenameFolder(branch, renamed));
  EXPECT_EQ(findIn("in:renamed player:fatal1ty", renamed), (Names{member_, quakecon_}));
  EXPECT_EQ(IndexMessages(), 0u);
}

TEST_F(LibrarySearchTest, PlayersOfDemosTakenFromTheCacheAreReadOnceLater) {
  std::unique_ptr<Session> session = Open();
  session->ListFolder(demos_, status_);
  session.reset();
  // A new index, filled from the folder's parse cache: nothing is read, no player is known.
  for (const char* suffix : {"", "-wal", "-shm"}) {
    fs::remove(home_ + "/RWT Data/Library.sqlite" + suffix);
  }
  session = Open();
  session->ListFolder(demos_, status_);
  EXPECT_EQ(Find(*session, "map:ztn3tourney1"), (Names{"duel.dm_48", member_}));
  EXPECT_EQ(Find(*session, "player:fatal1ty"), Names{});
  EXPECT_EQ(session->ReadMissingPlayers(2), 2u);
  EXPECT_EQ(session->ReadMissingPlayers(10), 3u);
  EXPECT_EQ(session->ReadMissingPlayers(10), 0u);
  EXPECT_EQ(Find(*session, "player:fatal1ty"), (Names{"duel.dm_48", member_, quakecon_}));
  EXPECT_EQ(Filtered(*session, "sirex"), Names{"tdm.dm3"});
  EXPECT_EQ(Filtered(*session, "sausage"), Names{teamChat_});
}

TEST_F(LibrarySearchTest, ADeletedOrDamagedIndexIsMadeAnewAndFilledFromTheFolders) {
  const std::string index = home_ + "/RWT Data/Library.sqlite";
  UserData notes;
  notes.Description = {"Gro\u00DFartige Partie"};
  {
    std::unique_ptr<Session> session = Open();
    ASSERT_TRUE(session->SaveNotes("tdm.dm3", notes));
    ASSERT_TRUE(session->IndexFolders({demos_}, false, status_));
  }
  ASSERT_EQ(Sqlite("PRAGMA integrity_check"), "ok");
  ASSERT_EQ(Sqlite("SELECT count(*) FROM demos"), "5");
  const std::string intact = test::ReadBytes(index);
  ASSERT_GT(intact.size(), 16384u);

  const auto refound = [&](size_t messages) {
    std::unique_ptr<Session> session = Open();
    // Searching first meets the damage; the folder is indexed again from its parse cache.
    Find(*session, "grossartige");
    EXPECT_EQ(IndexMessages(), messages);
    EXPECT_TRUE(session->IndexFolders({demos_}, false, status_));
    EXPECT_EQ(Find(*session, "grossartige"), Names{"tdm.dm3"});
    EXPECT_EQ(Find(*session, "map:ztn3tourney1"), (Names{"duel.dm_48", member_}));
  };

  // Deleted: nothing to tell.
  fs::remove(index);
  refound(0);
  // Not a database at all.
  test::WriteBytes(index, std::string(intact.size(), 'x'));
  refound(1);
  // A database whose pages past the first are overwritten.
  std::string damaged = intact;
  for (size_t i = 4096; i < damaged.size(); i += 7) damaged[i] = static_cast<char>(i * 31);
  test::WriteBytes(index, damaged);
  refound(2);
  EXPECT_EQ(Sqlite("PRAGMA integrity_check"), "ok");
}

// Writes a folder of many demos into the index from a process of its own; the line's name
// field tells them apart.
pid_t WriteFolderInChild(const std::string& home, const std::string& folder, size_t demos) {
  const pid_t child = fork();
  if (child != 0) return child;
  FakeMessages messages;
  FixedLocale locale;
  PosixFileSystem files;
  LibraryIndex index(home + "/RWT Data/Library.sqlite",
                     {files, messages, locale, home + "/RWT Data/Demos"});
  std::vector<IndexedDemo> listed;
  for (size_t i = 0; i < demos; ++i) {
    const std::string name = "demo" + std::to_string(i) + ".dm_48";
    listed.push_back({name +
                          "\x01"
                          "1000\x01"
                          "0\x01\x01q3dm" +
                          std::to_string(i % 20) +
                          "\x01"
                          "00:10:00\x01",
                      folder,
                      {},
                      std::string("player") + std::to_string(i)});
  }
  index.FolderListed(folder, listed);
  _exit(index.usable() && messages.shown.empty() ? 0 : 1);
}

TEST_F(LibrarySearchTest, AKilledWriterOrTwoCopiesAtOnceLeaveTheIndexConsistent) {
  const std::string index = home_ + "/RWT Data/Library.sqlite";
  {
    std::unique_ptr<Session> session = Open();
    ASSERT_TRUE(session->IndexFolders({demos_}, false, status_));
  }
  // Killed while its transaction runs: the folder is wholly absent, the rest untouched.
  const pid_t killed = WriteFolderInChild(home_, "/killed", 200000);
  for (int wait = 0; wait < 2000; ++wait) {
    std::error_code error;
    if (fs::file_size(index + "-wal", error) > 1024 * 1024) break;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  kill(killed, SIGKILL);
  int status = 0;
  waitpid(killed, &status, 0);
  ASSERT_TRUE(WIFSIGNALED(status)) << "the writer ended before it was killed";
  EXPECT_EQ(Sqlite("PRAGMA integrity_check"), "ok");
  EXPECT_EQ(Sqlite("SELECT count(*) FROM folders WHERE path = '/killed'"), "0");
  EXPECT_EQ(Sqlite("SELECT count(*) FROM demos"), "5");
  EXPECT_EQ(Sqlite("SELECT count(*) FROM shown"), "5");

  // Two copies writing at once: each waits for the other's lock.
  const pid_t first = WriteFolderInChild(home_, "/first", 10000);
  const pid_t second = WriteFolderInChild(home_, "/second", 10000);
  for (const pid_t child : {first, second}) {
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  EXPECT_EQ(Sqlite("PRAGMA integrity_check"), "ok");
  EXPECT_EQ(Sqlite("SELECT f.path, count(*) FROM demos d JOIN folders f ON f.id = d.folder "
                   "GROUP BY f.path ORDER BY f.path"),
            "/first|10000\n/second|10000\n" + demos_ + "|5");
  std::unique_ptr<Session> session = Open();
  EXPECT_EQ(
      NamesOf(session->FindDemos(ParseDemoQuery("player:player9999").query, {"/second"}).rows),
      Names{"demo9999.dm_48"});
  EXPECT_EQ(Find(*session, "player:fatal1ty"), (Names{"duel.dm_48", member_, quakecon_}));
  EXPECT_EQ(IndexMessages(), 0u);
}

}  // namespace
}  // namespace rw
