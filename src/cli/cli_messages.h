#pragma once

#include <string>
#include <vector>

#include "host/messages.h"

namespace rw::cli {

// Message boxes on the command line: each is kept (for --json) and printed to stderr as
// "caption: text". Questions take the answer given on the command line, No by default.
class CliMessages : public Messages {
 public:
  struct Shown {
    std::string caption;
    std::string text;
  };

  explicit CliMessages(bool answerYes = false, bool quiet = false)
      : answerYes_(answerYes), quiet_(quiet) {}

  MessageAnswer Show(std::string_view caption, std::string_view text, MessageIcon icon,
                     MessageButtons buttons) override;
  std::optional<std::string> Ask(std::string_view caption, std::string_view prompt,
                                 std::string_view preset) override;
  std::optional<std::string> ChooseFolder(std::string_view title, std::string_view explanation,
                                          const std::vector<FolderOffer>& offers,
                                          std::string_view root) override;

  const std::vector<Shown>& shown() const { return shown_; }

 private:
  bool answerYes_;
  bool quiet_;
  std::vector<Shown> shown_;
};

}  // namespace rw::cli
