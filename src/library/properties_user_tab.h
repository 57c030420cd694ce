#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "host/file_system.h"
#include "host/messages.h"

namespace rw {

// A whole number from 0 to count - 1, each as likely.
using RandomBelow = std::function<int(int count)>;

// The two links the sample notes choose between.
inline constexpr std::string_view kSampleMailLink = "mailto:someone@example.com";
inline constexpr std::string_view kSampleWebLink = "http://www.example.com/";

// What the properties window's "User" tab shows, in UTF-8 as the user typed it.
struct UserTab {
  std::string pov;  // colour codes kept
  std::string rating;
  std::string link;
  std::string description;  // each line followed by LF CR
  bool sample = false;      // no notes exist: these are made up to show what the tab holds
};

// The notes of the user data file at path, or the sample when there is no file. A file that
// cannot be read is reported ("RWT Load File Error") and shows empty values.
UserTab LoadUserTab(FileSystem& files, Messages& messages, const std::string& path,
                    const RandomBelow& random);

}  // namespace rw
