#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace rw {

enum class MessageIcon { kNone, kError, kWarning, kInformation, kQuestion };
// A question whose Yes destroys something has No as its default answer.
enum class MessageButtons { kOk, kYesNo, kYesNoDefaultNo };
enum class MessageAnswer { kOk, kYes, kNo };

// A folder a chooser offers, with what makes it worth choosing.
struct FolderOffer {
  std::string folder;
  std::string description;
};

// Every message box, question and input box of the program goes through here, with its
// caption and text exactly as the user sees them. Texts are the program's own (Windows-1252)
// and may carry names (UTF-8).
class Messages {
 public:
  virtual ~Messages() = default;
  virtual MessageAnswer Show(std::string_view caption, std::string_view text, MessageIcon icon,
                             MessageButtons buttons = MessageButtons::kOk) = 0;
  // An input box with a preset answer; the answer as typed (UTF-8), nullopt when cancelled.
  virtual std::optional<std::string> Ask(std::string_view caption, std::string_view prompt,
                                         std::string_view preset) = 0;
  // A folder chooser that says what it wants, offers the folders found and starts at root (the
  // user's home when empty); nullopt when cancelled.
  virtual std::optional<std::string> ChooseFolder(std::string_view title,
                                                  std::string_view explanation,
                                                  const std::vector<FolderOffer>& offers,
                                                  std::string_view root) = 0;
};

}  // namespace rw
