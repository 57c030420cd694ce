#pragma once

#include <QColor>
#include <QPalette>
#include <QWidget>
#include <cstdint>

#include "model/settings.h"

namespace rw::app {

// The configuration keeps colours as Windows colour references.
inline QColor ColorOf(int32_t reference) {
  return {RedOf(reference), GreenOf(reference), BlueOf(reference)};
}
inline int32_t ReferenceOf(const QColor& colour) {
  return ColorReference(static_cast<uint8_t>(colour.red()), static_cast<uint8_t>(colour.green()),
                        static_cast<uint8_t>(colour.blue()));
}

// A view's background.
inline void SetBackground(QWidget& view, int32_t reference) {
  QPalette palette = view.palette();
  palette.setColor(QPalette::Base, ColorOf(reference));
  view.setPalette(palette);
}

}  // namespace rw::app
