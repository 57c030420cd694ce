#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "host/file_system.h"

namespace rw {

// A profile (INI) file held in memory: "[Section]" lines and "key=value" lines, names matched
// without regard to case. Every line the program does not understand is kept as it was, so
// sections and keys of other versions survive a save.
class ProfileFile {
 public:
  // A value is read back through a buffer of this many characters, its terminator included.
  static constexpr size_t kValueBuffer = 2048;

  static ProfileFile Parse(std::string_view bytes);
  // Lines end in CR LF.
  std::string Serialize() const;

  // The value as the reader sees it: trimmed, up to a NUL, at most 2047 characters.
  std::optional<std::string> Read(std::string_view section, std::string_view key) const;
  std::string ReadString(std::string_view section, std::string_view key,
                         std::string_view fallback) const;
  // Decimal, or hexadecimal after "0x", "0X" or "$"; fallback when the value is no integer.
  int32_t ReadInteger(std::string_view section, std::string_view key, int32_t fallback) const;
  // Any integer but 0 is true.
  bool ReadBool(std::string_view section, std::string_view key, bool fallback) const;

  // Replaces the value in place, or adds the key at the end of its section, or the section at
  // the end of the file. Line breaks in a value would start new lines, so they become blanks.
  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view key, int32_t value);
  void WriteBool(std::string_view section, std::string_view key, bool value);

 private:
  struct Line {
    std::string text;
    size_t valueStart = 0;  // where the value begins in text, key lines only
  };
  struct Section {
    std::string header;
    std::vector<Line> lines;
    std::vector<std::string> trailingBlanks;       // kept after keys added later
    std::unordered_map<std::string, size_t> keys;  // lower-case name, first occurrence
  };

  Section* FindSection(std::string_view name);
  const Section* FindSection(std::string_view name) const;

  std::vector<std::string> preamble_;  // lines before the first section
  std::vector<Section> sections_;
  std::unordered_map<std::string, size_t> sectionIndex_;  // lower-case name, first occurrence
};

// Parses an integer the way the profile reader does; nullopt when the text is no integer.
std::optional<int32_t> ParseProfileInteger(std::string_view text);

// Reads the file; a missing file gives an empty profile, an unreadable one nullopt.
std::optional<ProfileFile> LoadProfileFile(FileSystem& fs, const std::string& path);
// Replaces the file atomically; false keeps the old file.
bool SaveProfileFile(FileSystem& fs, const std::string& path, const ProfileFile& file);

}  // namespace rw
