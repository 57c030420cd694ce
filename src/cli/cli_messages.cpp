#include "cli/cli_messages.h"

#include <iostream>

#include "text/name_text.h"

namespace rw::cli {

MessageAnswer CliMessages::Show(std::string_view caption, std::string_view text, MessageIcon,
                                MessageButtons buttons) {
  shown_.push_back({std::string(caption), std::string(text)});
  const bool question = buttons != MessageButtons::kOk;
  if (!quiet_) {
    // Texts that carry a name are UTF-8; the program's own texts are Windows-1252.
    std::cerr << NameToUtf8(caption) << ": " << NameToUtf8(text);
    if (question) std::cerr << (answerYes_ ? " [answered Yes]" : " [answered No]");
    std::cerr << '\n';
  }
  if (!question) return MessageAnswer::kOk;
  return answerYes_ ? MessageAnswer::kYes : MessageAnswer::kNo;
}

std::optional<std::string> CliMessages::Ask(std::string_view caption, std::string_view prompt,
                                            std::string_view) {
  Show(caption, prompt, MessageIcon::kQuestion, MessageButtons::kOk);
  return std::nullopt;
}

std::optional<std::string> CliMessages::ChooseFolder(std::string_view title,
                                                     std::string_view explanation,
                                                     const std::vector<FolderOffer>& offers,
                                                     std::string_view) {
  std::string text = std::string(explanation) + " Give it with --game DIR.";
  for (const FolderOffer& offer : offers) text += "\n  found: " + offer.folder;
  Show(title, text, MessageIcon::kInformation, MessageButtons::kOk);
  return std::nullopt;
}

}  // namespace rw::cli
