#include "playback/launch.h"

#include "archive/directory_reader.h"
#include "demo/demo_generation.h"
#include "host/path_separator.h"
#include "model/list_rules.h"
#include "playback/console_text.h"
#include "playback/game_start.h"
#include "text/name_text.h"
#include "text/windows_1252.h"

namespace rw {
namespace {

constexpr size_t kTooManyEntries = 30;

std::string Join(std::string_view folder, std::string_view name) {
  return std::string(folder) + kPathSeparator + std::string(name);
}

std::string LastComponent(const std::string& folder) {
  const size_t last = folder.rfind(kPathSeparator);
  return last == std::string::npos ? folder : folder.substr(last + 1);
}

// What the remark block of the script shows for a staged demo.
std::string DisplayPath(const LaunchDemo& demo) {
  if (demo.archiveMember()) return '\x01' + demo.location + "\\" + demo.name;
  return Join(demo.location, demo.name);
}

std::string GenerationMismatchText(const LaunchDemo& first, const LaunchDemo& other) {
  return "Demo \"" + first.name + "\" has protocol version " + first.protocol + "\r\nDemo \"" +
         other.name + "\" has protocol version " + other.protocol +
         "\r\nPlaylist can not be played!";
}

std::string ModMismatchText(const LaunchDemo& first, const std::string& firstMod,
                            const LaunchDemo& other, const std::string& otherMod) {
  return "Demo \"" + first.name + "\" is from MOD '" + LastComponent(firstMod) + "'\r\nDemo \"" +
         other.name + "\" is from MOD '" + LastComponent(otherMod) +
         "'\r\nPlaylist can not be played!\r\n\r\nTry do uncheck \"Options/Play Demos as Mod "
         "Demos\".";
}

}  // namespace

LaunchDemo LaunchDemoFromRow(const ListRow& row) {
  return {row[kDemonameColumn], row[kArchiveLocationColumn], row[kModColumn],
          row[kProtocolColumn], row[kLocationColumn],        RowImage(row)};
}

std::string TemporaryDemoName(size_t position, std::string_view protocol, std::string_view name) {
  std::string digits = std::to_string(position);
  if (digits.size() < 2) digits.insert(0, 2 - digits.size(), '0');
  return "rwttmp" + digits + PlayedExtension(protocol, name);
}

bool IsTemporaryDemoName(std::string_view name) {
  constexpr std::string_view kPrefix = "rwttmp";
  if (!name.starts_with(kPrefix)) return false;
  const size_t digitsEnd = name.find_first_not_of("0123456789", kPrefix.size());
  if (digitsEnd == std::string_view::npos || digitsEnd - kPrefix.size() < 2) return false;
  const std::string_view extension = name.substr(digitsEnd);
  for (const std::string_view staged : {".dm3", ".dm_48", ".dm_66", ".dm_67", ".dm_68"}) {
    if (extension == staged) return true;
  }
  return false;
}

Launch::Staging Launch::Stage(const LaunchDemo& demo, const std::string& modFolder,
                              size_t position) {
  const DemoPlace place{demo.archiveMember(), demo.location, demo.name,
                        demo.protocol,        modFolder,     demo.archiveFolder};
  if (install_.IsInPlace(place)) {
    std::string playName = demo.archiveMember()
                               ? demo.name
                               : install_.RelativePlayName(Join(demo.location, demo.name));
    // A name the console would split or unquote plays from a copy under a name of our own.
    if (IsConsoleWord(playName)) return {Staged::kInPlace, std::move(playName)};
  }
  if (demo.kind < 0 || demo.kind > 3) return {Staged::kLeftOut, {}};

  const std::string temporary = TemporaryDemoName(position, demo.protocol, demo.name);
  const std::string demosFolder = install_.baseDemosFolder();
  // A fresh game has no demos folder until it records one.
  if (!host_.files.IsFolder(demosFolder)) host_.files.CreateFolder(demosFolder);
  const std::string target = Join(demosFolder, temporary);
  if (demo.kind == 0) {
    const bool copied = host_.files.CopyFile(Join(demo.location, demo.name), target).ok();
    return {copied ? Staged::kStaged : Staged::kCopyFailed, temporary};
  }
  const std::string member =
      demo.archiveFolder.empty() ? demo.name : demo.archiveFolder + "\\" + demo.name;
  ArchiveCursor cursor;
  const int found = ArchiveFind(demo.location, member, cursor);
  ArchiveClose(cursor);
  if (found != kArchiveMember) return {Staged::kExtractFailed, temporary};
  const int code = host_.extractor.unzipfiletodisk(demo.location, target, 0, extractionCancel,
                                                   cursor.localHeaderOffset);
  return {code == kExtractOk ? Staged::kStaged : Staged::kExtractFailed, temporary};
}

bool Launch::ReportStagingFailure(const LaunchDemo& demo, Staged outcome) {
  if (outcome == Staged::kCopyFailed) {
    host_.messages.Show("File Copy ERROR", "Could not copy file " + demo.name + "!",
                        MessageIcon::kError);
    return true;
  }
  if (outcome == Staged::kExtractFailed) {
    host_.messages.Show(
        "File Extract/Copy ERROR",
        "Could not extract file " + demo.name + " from archive " + demo.location + "!",
        MessageIcon::kError);
    return true;
  }
  return false;
}

void Launch::SwitchToGenerationOf(const LaunchDemo& demo, const LaunchOptions& options) {
  if (!options.switchVersions || !install_.IsSwitchingAvailable()) return;
  // The switch chooses between 1.17 and 1.27 only.
  const DemoGeneration generation = GenerationOfListedDemo(demo.protocol, demo.name);
  if (generation != DemoGeneration::k117 && generation != DemoGeneration::k127) return;
  const bool wantNew = generation == DemoGeneration::k127;
  if (install_.IsNewGenerationActive() != wantNew) {
    host_.versions.Switch(wantNew, options.globalParameters);
  }
}

bool Launch::StartWithScript(const std::string& modFolder, const LaunchOptions& options) {
  std::string modArgument;
  if (options.modDemos && !EqualsIgnoringAnsiCase(modFolder, install_.baseFolder())) {
    modArgument = "+set fs_game " + LastComponent(modFolder);
  }
  // A line that reached no input line did not play anything: the game starts afresh.
  if (modArgument.empty() && host_.game.IsRunning() &&
      host_.game.SendConsoleLine("exec rwttmp.rwt")) {
    return true;
  }
  if (host_.game.IsRunning()) host_.game.Close();
  return StartGame(host_.shell, host_.messages, install_,
                   options.globalParameters + " " + modArgument + " +exec rwttmp.rwt");
}

bool Launch::PlayOneDemo(const ListRow& row, const LaunchOptions& options) {
  const LaunchDemo demo = LaunchDemoFromRow(row);
  const std::string modFolder = install_.ResolveModFolder(demo.mod);
  currentModFolder_ = modFolder;
  const Staging staging = Stage(demo, modFolder, 0);
  if (ReportStagingFailure(demo, staging.outcome) || staging.outcome == Staged::kLeftOut) {
    return false;
  }
  // The staged copy has the extension of the demo's generation, whatever its name ends in.
  if (!MakeTmpPlayList(host_.files, host_.messages, install_.baseFolder(), options.script,
                       NameLowerText(demo.name), staging.playName)) {
    return false;
  }
  SwitchToGenerationOf(demo, options);
  return StartWithScript(modFolder, options);
}

bool Launch::CreatePlaylist(const RowList& playList, const LaunchOptions& options) {
  if (playList.size() >= kTooManyEntries &&
      host_.messages.Show("Q3A Limitation Warning: Cbuf_InsertText overflowed",
                          "Perhaps there are too many items in playlist. Less than 30 items in "
                          "playlist should be save.\r\nTry to play the list nevertheless ?",
                          MessageIcon::kQuestion, MessageButtons::kYesNo) != MessageAnswer::kYes) {
    return false;
  }
  std::vector<std::string> records;
  std::optional<LaunchDemo> first;
  std::string firstMod;
  for (size_t position = 0; position < playList.size(); ++position) {
    const LaunchDemo demo = LaunchDemoFromRow(playList[position].columns);
    const std::string mod = install_.ResolveModFolder(demo.mod);
    if (!first) {
      first = demo;
      firstMod = mod;
    }
    if (GenerationOfListedDemo(demo.protocol, demo.name) !=
        GenerationOfListedDemo(first->protocol, first->name)) {
      host_.messages.Show("Protocol Version Mismatch in Playlist",
                          GenerationMismatchText(*first, demo), MessageIcon::kError);
      RemoveTemporaryFiles();
      return false;
    }
    if (options.modDemos && mod != firstMod) {
      host_.messages.Show("MOD Mismatch in Playlist", ModMismatchText(*first, firstMod, demo, mod),
                          MessageIcon::kError);
      RemoveTemporaryFiles();
      return false;
    }
    const Staging staging = Stage(demo, mod, position);
    if (ReportStagingFailure(demo, staging.outcome) || staging.outcome == Staged::kLeftOut) {
      continue;
    }
    records.push_back(staging.playName + "*" + DisplayPath(demo));
  }
  // The script's chain needs at least one demo.
  if (records.empty()) {
    host_.messages.Show("Playlist Error",
                        "None of the demos in the playlist could be made ready for the game.\r\n"
                        "Playlist can not be played!",
                        MessageIcon::kError);
    return false;
  }
  if (onPlayListStaged) onPlayListStaged();
  if (!WritePlayListScript(host_.files, host_.messages, install_.baseFolder(), options.script,
                           records)) {
    return false;
  }
  SwitchToGenerationOf(*first, options);
  return StartWithScript(firstMod, options);
}

void Launch::RemoveTemporaryFiles() {
  if (host_.game.IsRunning()) return;
  const std::string demosFolder = install_.baseDemosFolder();
  for (const DirectoryEntry& entry : host_.files.List(demosFolder, "rwttmp*.*")) {
    if (!entry.isFolder && IsTemporaryDemoName(entry.name)) {
      host_.files.DeleteFile(Join(demosFolder, entry.name));
    }
  }
  const std::string script = Join(install_.baseFolder(), kScriptFileName);
  if (host_.files.Exists(script)) host_.files.DeleteFile(script);
}

}  // namespace rw
