#include "app/name_box.h"

#include <QHBoxLayout>

#include "app/display_text.h"

namespace rw::app {

namespace {

constexpr int kExtraWidth = 13;

}  // namespace

NameBox::NameBox(QWidget* parent) : QFrame(parent), label_(new ColoredLabel(this)) {
  setAutoFillBackground(true);
  QPalette silver = palette();
  silver.setColor(QPalette::Window, QColor(192, 192, 192));
  setPalette(silver);
  setFrameShape(QFrame::Panel);
  setFrameShadow(QFrame::Raised);
  QFont font = label_->font();
  font.setPointSize(14);
  font.setBold(true);
  label_->setFont(font);
  label_->setAlignment(Qt::AlignHCenter);
  label_->setNormalColor(Qt::white);
  auto* layout = new QHBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(label_);
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void NameBox::setName(const std::string& coded, TextForm form) {
  label_->setCodedText(coded, form);
  setAccessibleName(PlainText(coded, form));
  const std::string measure = NameBoxMeasure(coded, form);
  const int width = label_->fontMetrics().horizontalAdvance(
      form == TextForm::kUtf8 ? FromUserText(measure) : FromText(measure));
  setFixedSize(width + kExtraWidth, label_->sizeHint().height() + 2 * frameWidth());
}

}  // namespace rw::app
