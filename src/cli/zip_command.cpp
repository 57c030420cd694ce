#include <CLI/CLI.hpp>
#include <cstdio>
#include <iostream>
#include <string>

#include "archive/directory_reader.h"
#include "archive/extractor.h"
#include "cli/command_registry.h"
#include "host/dos_time.h"
#include "host/message_pump.h"
#include "host/posix/posix_file_system.h"
#include "host/posix/steady_clock.h"

namespace rw::cli {
namespace {

constexpr const char* kListHelp =
    "Lists the members of a ZIP, PK3 or self-extracting archive as the archive reader walks\n"
    "its central directory. Output: a header line, then one member a line, fields separated\n"
    "by tabs:\n"
    "  Size        uncompressed size in bytes\n"
    "  Compressed  compressed size in bytes\n"
    "  Method      compression method number (0 stored, 1 shrunk, 2-5 reduced, 6 imploded,\n"
    "              8 deflated)\n"
    "  CRC-32      8 lower-case hex digits\n"
    "  Modified    the member's MS-DOS date and time as YYYY-MM-DD HH:MM:SS\n"
    "  Offset      file offset of the member's local header\n"
    "  Name        path inside the archive with \\ as separator, as UTF-8 (a name\n"
    "              without the UTF-8 flag is read as Windows-1252)\n"
    "Exits 1 when the archive cannot be read or has no end of central directory record.";

constexpr const char* kExtractHelp =
    "Extracts one member (found by its path inside the archive, either separator, letters a-z\n"
    "in any case) to the file OUT, creating missing folders and giving it the member's\n"
    "modification time; a folder member makes the folder OUT. A failed extraction leaves no\n"
    "file behind.\n"
    "Exit code: the extractor's result: 0 done, 1 CRC-32 mismatch (also: member not found or\n"
    "archive unreadable, see stderr), 2 output cannot be written, 3 archive data ended early,\n"
    "4 invalid data or no local header, 5 aborted, 6 method not supported, 7 encrypted.";

const char* ExtractFailure(int code) {
  switch (code) {
    case kExtractCrcMismatch:
      return "the CRC-32 of the output differs from the stored one";
    case kExtractOutputFailed:
      return "the output file cannot be created or written";
    case kExtractInputFailed:
      return "the archive cannot be opened or its data ended early";
    case kExtractBadData:
      return "no local header at the member's offset, or its data is invalid";
    case kExtractAborted:
      return "aborted";
    case kExtractUnsupportedMethod:
      return "compression method not supported";
    case kExtractEncrypted:
      return "the member is encrypted";
    default:
      return "another extraction is under way";
  }
}

constexpr uint16_t kFolderAttribute = 0x10;

std::string OpenFailure(int code) {
  return code == kArchiveDamaged
             ? "the archive is damaged (its end record lies too near the start, or a directory "
               "record runs past the directory)"
             : "cannot read the archive or find its end record";
}

std::string DateTimeText(uint32_t dosTime) {
  const LocalDateTime t = FromDosTime(dosTime);
  char text[32];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day, t.hour,
                t.minute, t.second);
  return text;
}

int ListArchive(const std::string& archive) {
  ArchiveCursor cursor;
  int code = ArchiveOpen(archive, cursor);
  if (code < 0) {
    std::cerr << "reelwright-cli zip list: " << archive << ": " << OpenFailure(code) << '\n';
    return kExitFailure;
  }
  std::cout << "Size\tCompressed\tMethod\tCRC-32\tModified\tOffset\tName\n";
  for (; code == kArchiveMember; code = ArchiveNext(cursor)) {
    char crc[9];
    std::snprintf(crc, sizeof crc, "%08x", static_cast<unsigned>(cursor.crc32));
    std::cout << cursor.size << '\t' << cursor.compressedSize << '\t' << cursor.method << '\t'
              << crc << '\t' << DateTimeText(cursor.dateTime) << '\t' << cursor.localHeaderOffset
              << '\t' << cursor.name << '\n';
  }
  ArchiveClose(cursor);
  if (code == kArchiveDamaged) {
    std::cerr << "reelwright-cli zip list: " << archive << ": " << OpenFailure(code) << '\n';
    return kExitFailure;
  }
  return kExitOk;
}

int ExtractMember(const std::string& archive, std::string member, const std::string& out) {
  for (char& c : member) c = c == '/' ? '\\' : c;
  ArchiveCursor cursor;
  const int found = ArchiveFind(archive, member, cursor);
  ArchiveClose(cursor);
  if (found != kArchiveMember) {
    std::cerr << "reelwright-cli zip extract: " << archive << ": "
              << (found < 0 ? OpenFailure(found) : "no member named " + member) << '\n';
    return kExitFailure;
  }
  SteadyClock clock;
  NoMessagePump pump;
  PosixFileSystem files;
  Extractor extractor(clock, pump, files);
  // Folder members are made as folders, also those recorded on hosts without attributes.
  const bool folder = (cursor.attributes & kFolderAttribute) != 0 || cursor.name.ends_with('\\');
  const int code = extractor.unzipfiletodisk(archive, out, folder ? kFolderAttribute : 0, {},
                                             cursor.localHeaderOffset);
  if (code != kExtractOk) {
    std::cerr << "reelwright-cli zip extract: " << archive << ": " << member << " to " << out
              << ": " << ExtractFailure(code) << '\n';
  }
  return code;
}

const bool registered = RegisterCommand(10, [](CLI::App& app, int& exitCode) {
  CLI::App* zip = app.add_subcommand("zip",
                                     "List and extract members of ZIP, PK3 and "
                                     "self-extracting archives.");
  zip->require_subcommand(1);

  auto archive = std::make_shared<std::string>();
  CLI::App* list = zip->add_subcommand("list", kListHelp);
  list->add_option("ARCHIVE", *archive, "the archive")->required();
  list->callback([archive, &exitCode] { exitCode = ListArchive(*archive); });

  auto member = std::make_shared<std::string>();
  auto out = std::make_shared<std::string>();
  CLI::App* extract = zip->add_subcommand("extract", kExtractHelp);
  extract->add_option("ARCHIVE", *archive, "the archive")->required();
  extract->add_option("MEMBER", *member, "the member's path inside the archive")->required();
  extract->add_option("OUT", *out, "the file to write")->required();
  extract->callback(
      [archive, member, out, &exitCode] { exitCode = ExtractMember(*archive, *member, *out); });
  return true;
});

}  // namespace
}  // namespace rw::cli
