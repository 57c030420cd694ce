#pragma once

#include <QComboBox>

#include "app/colored_cell_delegate.h"

namespace rw::app {

// A drop-down list whose entries carry colour codes (ColoredCellDelegate::kCodedTextRole):
// the chosen entry and the list draw them in colour; screen readers read the plain texts.
class ColoredComboBox : public QComboBox {
  Q_OBJECT

 public:
  explicit ColoredComboBox(QWidget* parent = nullptr);

  // Adds an entry shown as its plain text to screen readers and in colour to the eye.
  void addCodedItem(const std::string& coded);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  ColoredCellDelegate delegate_;
};

}  // namespace rw::app
