#include "app/colour_choosers.h"

#include <QColorDialog>

namespace rw::app {

QColor ColourOf(int32_t reference) {
  return {RedOf(reference), GreenOf(reference), BlueOf(reference)};
}

int32_t ReferenceOf(const QColor& colour) {
  return ColorReference(static_cast<uint8_t>(colour.red()), static_cast<uint8_t>(colour.green()),
                        static_cast<uint8_t>(colour.blue()));
}

std::optional<QColor> ChooseColour(QWidget* parent, const QColor& current) {
  const QColor chosen = QColorDialog::getColor(current, parent);
  if (!chosen.isValid()) return std::nullopt;
  return chosen;
}

bool ChooseBackgroundColour(QWidget& view, int32_t& setting) {
  const std::optional<QColor> chosen = ChooseColour(&view, ColourOf(setting));
  if (!chosen) return false;
  setting = ReferenceOf(*chosen);
  QPalette palette = view.palette();
  palette.setColor(QPalette::Base, ColourOf(setting));
  view.setPalette(palette);
  return true;
}

bool ChooseFolderFontColour(Session& session, bool demoFolders, QWidget* parent) {
  const FolderColours colours = session.folderColours();
  const uint32_t current = demoFolders ? colours.demo : colours.nonDemo;
  const std::optional<QColor> chosen =
      ChooseColour(parent, ColourOf(static_cast<int32_t>(current)));
  return chosen && session.SetFolderFontColour(demoFolders, ReferenceOf(*chosen));
}

}  // namespace rw::app
