#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "host/messages.h"

namespace rw {

// Message boxes kept instead of shown, to be shown later by the thread that shows messages,
// in the order they were raised. Only for those that just inform: each is answered with OK,
// and input boxes and folder choosers as cancelled.
class RecordedMessages : public Messages {
 public:
  struct Message {
    std::string caption;
    std::string text;
    MessageIcon icon = MessageIcon::kNone;
  };

  MessageAnswer Show(std::string_view caption, std::string_view text, MessageIcon icon,
                     MessageButtons buttons) override;
  std::optional<std::string> Ask(std::string_view, std::string_view, std::string_view) override {
    return std::nullopt;
  }
  std::optional<std::string> ChooseFolder(std::string_view, std::string_view,
                                          const std::vector<FolderOffer>&,
                                          std::string_view) override {
    return std::nullopt;
  }

  // Hands the messages kept so far over, leaving none.
  std::vector<Message> Take() { return std::exchange(messages_, {}); }

 private:
  std::vector<Message> messages_;
};

// Shows messages through target, one after the other.
void ShowMessages(const std::vector<RecordedMessages::Message>& messages, Messages& target);

}  // namespace rw
