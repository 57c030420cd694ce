#include "app/gui_messages.h"

#include <QDir>
#include <QInputDialog>
#include <QMessageBox>

#include "app/display_text.h"
#include "app/game_folder_chooser.h"

namespace rw::app {

namespace {

QMessageBox::Icon IconOf(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::kError:
      return QMessageBox::Critical;
    case MessageIcon::kWarning:
      return QMessageBox::Warning;
    case MessageIcon::kInformation:
      return QMessageBox::Information;
    case MessageIcon::kQuestion:
      return QMessageBox::Question;
    case MessageIcon::kNone:
      break;
  }
  return QMessageBox::NoIcon;
}

}  // namespace

MessageAnswer GuiMessages::Show(std::string_view caption, std::string_view text, MessageIcon icon,
                                MessageButtons buttons) {
  const bool question = buttons != MessageButtons::kOk;
  QMessageBox box(IconOf(icon), FromName(caption), FromName(text),
                  question ? QMessageBox::Yes | QMessageBox::No : QMessageBox::Ok, parent_);
  if (buttons == MessageButtons::kYesNoDefaultNo) box.setDefaultButton(QMessageBox::No);
  const int answer = box.exec();
  if (buttons == MessageButtons::kOk) return MessageAnswer::kOk;
  return answer == QMessageBox::Yes ? MessageAnswer::kYes : MessageAnswer::kNo;
}

std::optional<std::string> GuiMessages::Ask(std::string_view caption, std::string_view prompt,
                                            std::string_view preset) {
  bool accepted = false;
  const QString answer = QInputDialog::getText(parent_, FromText(caption), FromText(prompt),
                                               QLineEdit::Normal, FromText(preset), &accepted);
  if (!accepted) return std::nullopt;
  return answer.toStdString();
}

std::optional<std::string> GuiMessages::ChooseFolder(std::string_view title,
                                                     std::string_view explanation,
                                                     const std::vector<FolderOffer>& offers,
                                                     std::string_view root) {
  // Without a folder to start from, the first installation found is the suggestion.
  const std::string_view start = !root.empty() || offers.empty() ? root : offers.front().folder;
  GameFolderChooser chooser(FromText(title), FromText(explanation), offers, FromName(start),
                            parent_);
  if (chooser.exec() != QDialog::Accepted || chooser.folder().isEmpty()) return std::nullopt;
  QString folder = chooser.folder();
  if (folder == QStringLiteral("~") || folder.startsWith(QStringLiteral("~/"))) {
    folder.replace(0, 1, QDir::homePath());
  }
  return QDir(folder).absolutePath().toStdString();
}

}  // namespace rw::app
