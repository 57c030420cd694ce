#include "archive/directory_reader.h"
#include "text/name_text.h"
#include "text/wildcard.h"

namespace rw {

namespace {

char AsciiLower(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// The game looks members up this way: only a to z fold, every other byte must be equal.
bool EqualsIgnoringAsciiCase(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

// Walks on from the member in the cursor until prefix + name matches.
int SkipToMatch(int code, std::string_view prefix, const std::string& lowerPattern,
                ArchiveCursor& cursor) {
  while (code == kArchiveMember) {
    if (WildcardMatches(NameLowerText(std::string(prefix) + cursor.name), lowerPattern)) {
      return code;
    }
    code = ArchiveNext(cursor);
  }
  return code;
}

}  // namespace

int ArchiveFind(const std::string& archivePath, std::string_view memberName,
                ArchiveCursor& cursor) {
  int code = ArchiveOpen(archivePath, cursor);
  while (code == kArchiveMember) {
    if (EqualsIgnoringAsciiCase(cursor.name, memberName)) {
      ArchiveClose(cursor);
      return code;
    }
    code = ArchiveNext(cursor);
  }
  return code;
}

int ArchiveFindAt(const std::string& archivePath, uint32_t localHeaderOffset,
                  ArchiveCursor& cursor) {
  int code = ArchiveOpen(archivePath, cursor);
  while (code == kArchiveMember && cursor.localHeaderOffset != localHeaderOffset) {
    code = ArchiveNext(cursor);
  }
  ArchiveClose(cursor);
  return code;
}

int ArchiveFindFirst(const std::string& archivePath, std::string_view pattern,
                     ArchiveCursor& cursor) {
  return SkipToMatch(ArchiveOpen(archivePath, cursor), "\\", NameLowerText(pattern), cursor);
}

int ArchiveFindNext(std::string_view pattern, ArchiveCursor& cursor) {
  return SkipToMatch(ArchiveNext(cursor), {}, NameLowerText(pattern), cursor);
}

}  // namespace rw
