#pragma once

#include <QFrame>
#include <string>

#include "app/colored_label.h"

namespace rw::app {

// A player's name in colour, bold, 14 points, on a silver panel as wide as the name plus 13
// pixels; screen readers read the name without its colour codes.
class NameBox : public QFrame {
  Q_OBJECT

 public:
  explicit NameBox(QWidget* parent = nullptr);

  void setName(const std::string& coded, TextForm form = TextForm::kWindows1252);
  ColoredLabel* label() const { return label_; }

 private:
  ColoredLabel* label_;
};

}  // namespace rw::app
