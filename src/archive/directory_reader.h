#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "archive/archive_cursor.h"

namespace rw {

// Codes of the directory operations.
inline constexpr int kArchiveMember = 0;       // a member is loaded into the cursor
inline constexpr int kArchiveNoMember = 1;     // no (further) member
inline constexpr int kArchiveUnreadable = -1;  // cannot open or read, empty, or no end record
inline constexpr int kArchiveDamaged = -2;     // end record too near the start, a record running
                                               // past the directory, or cursor closed

// Finds the end record, loads the central directory and its first member.
int ArchiveOpen(const std::string& archivePath, ArchiveCursor& cursor);
int ArchiveNext(ArchiveCursor& cursor);
// The member whose name equals memberName, ignoring the case of a to z only. On 0 the
// member's fields are in the cursor, which may already be released.
int ArchiveFind(const std::string& archivePath, std::string_view memberName, ArchiveCursor& cursor);
// The member whose local header lies at localHeaderOffset, with the same codes as ArchiveFind.
int ArchiveFindAt(const std::string& archivePath, uint32_t localHeaderOffset,
                  ArchiveCursor& cursor);
// Walks members matching pattern ("*" any run, "?" one character, case ignored). The first
// call matches "\\" + name, the following ones the name alone.
int ArchiveFindFirst(const std::string& archivePath, std::string_view pattern,
                     ArchiveCursor& cursor);
int ArchiveFindNext(std::string_view pattern, ArchiveCursor& cursor);
void ArchiveClose(ArchiveCursor& cursor);

// A ZIP archive, or a program with one appended (self-extracting archive).
bool IsArchiveFile(const std::string& path);

}  // namespace rw
