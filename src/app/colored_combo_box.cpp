#include "app/colored_combo_box.h"

#include <QStyleOptionComboBox>
#include <QStylePainter>

#include "app/colored_label.h"
#include "app/display_text.h"

namespace rw::app {

ColoredComboBox::ColoredComboBox(QWidget* parent) : QComboBox(parent), delegate_(false, this) {
  setItemDelegate(&delegate_);
}

void ColoredComboBox::addCodedItem(const std::string& coded) {
  addItem(PlainText(coded));
  setItemData(count() - 1, QByteArray(coded.data(), static_cast<qsizetype>(coded.size())),
              ColoredCellDelegate::kCodedTextRole);
}

void ColoredComboBox::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionComboBox option;
  initStyleOption(&option);
  const QByteArray coded = currentData(ColoredCellDelegate::kCodedTextRole).toByteArray();
  option.currentText.clear();
  painter.drawComplexControl(QStyle::CC_ComboBox, option);
  painter.drawControl(QStyle::CE_ComboBoxLabel, option);
  const QRect area =
      style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
  DrawColoredText(painter, area.adjusted(2, 0, 0, 0),
                  std::string_view(coded.constData(), coded.size()),
                  palette().color(QPalette::Text), palette().color(QPalette::Base));
}

}  // namespace rw::app
