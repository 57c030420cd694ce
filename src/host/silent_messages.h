#pragma once

#include <optional>
#include <string>
#include <vector>

#include "host/messages.h"

namespace rw {

// Shows nothing and answers as a cancelled box would: for work done out of the user's sight.
class SilentMessages : public Messages {
 public:
  MessageAnswer Show(std::string_view, std::string_view, MessageIcon, MessageButtons) override {
    return MessageAnswer::kOk;
  }
  std::optional<std::string> Ask(std::string_view, std::string_view, std::string_view) override {
    return std::nullopt;
  }
  std::optional<std::string> ChooseFolder(std::string_view, std::string_view,
                                          const std::vector<FolderOffer>&,
                                          std::string_view) override {
    return std::nullopt;
  }
};

}  // namespace rw
