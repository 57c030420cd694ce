#pragma once

#include <QColor>
#include <QWidget>
#include <cstdint>
#include <optional>

#include "session/session.h"

namespace rw::app {

// A setting's colour reference (0x00BBGGRR) and back.
QColor ColourOf(int32_t reference);
int32_t ReferenceOf(const QColor& colour);

// The colour dialog opening with current; nullopt when cancelled.
std::optional<QColor> ChooseColour(QWidget* parent, const QColor& current);

// "Set Background Color.." of the tree or a list: on OK the view and its setting take the
// colour. Whether it changed.
bool ChooseBackgroundColour(QWidget& view, int32_t& setting);

// "Include Demos.." (demoFolders) or "Not Include Demos..": on OK the session gives that class
// of folders the colour unless it is the other class's; the tree must then be repainted.
// Whether the colours changed.
bool ChooseFolderFontColour(Session& session, bool demoFolders, QWidget* parent);

}  // namespace rw::app
