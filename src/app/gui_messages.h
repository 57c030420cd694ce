#pragma once

#include <QPointer>
#include <QWidget>

#include "host/messages.h"

namespace rw::app {

// The core's message boxes, questions and folder chooser as Qt dialogs over the main window.
class GuiMessages : public Messages {
 public:
  void SetParent(QWidget* parent) { parent_ = parent; }

  MessageAnswer Show(std::string_view caption, std::string_view text, MessageIcon icon,
                     MessageButtons buttons) override;
  std::optional<std::string> Ask(std::string_view caption, std::string_view prompt,
                                 std::string_view preset) override;
  std::optional<std::string> ChooseFolder(std::string_view title, std::string_view explanation,
                                          const std::vector<FolderOffer>& offers,
                                          std::string_view root) override;

 private:
  QPointer<QWidget> parent_;
};

}  // namespace rw::app
