#include "app/user_notes_panel.h"

#include <QGridLayout>
#include <QMouseEvent>
#include <QPainter>

#include "app/display_text.h"
#include "text/web_link.h"

namespace rw::app {

namespace {

// The tab's description keeps line feed and carriage return after each line.
QString DescriptionText(const std::string& description) {
  QString text = FromUserText(description);
  text.remove(QChar('\r'));
  while (text.endsWith('\n')) text.chop(1);
  return text;
}

}  // namespace

SideLink::SideLink(QWidget* parent) : QWidget(parent) {
  QFont font(QStringLiteral("Arial"), 12);
  font.setBold(true);
  setFont(font);
  setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
}

void SideLink::setLink(const std::string& link) {
  link_ = link;
  text_ = FromUserText(link);
  opens_ = IsWebLink(link);
  setAccessibleName(text_);
  setCursor(opens_ ? Qt::PointingHandCursor : Qt::ArrowCursor);
  setToolTip(opens_ ? text_ : QString());
  updateGeometry();
  update();
}

QSize SideLink::sizeHint() const {
  return {fontMetrics().height() + 4, fontMetrics().horizontalAdvance(text_) + 4};
}

void SideLink::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.setPen(opens_ ? QColor(120, 180, 255) : QColor(230, 230, 230));
  painter.translate(0, height());
  painter.rotate(-90);
  // Centred along the panel's height.
  painter.drawText(QRect(0, 0, height(), width()), Qt::AlignCenter, text_);
}

void SideLink::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton && opens_ && open) open(link_);
}

UserNotesPanel::UserNotesPanel(QWidget* parent)
    : QWidget(parent),
      pov_(new NameBox(this)),
      rating_(new QLabel(this)),
      link_(new SideLink(this)),
      description_(new QLabel(this)) {
  pov_->setAccessibleDescription(QStringLiteral("Point of view"));
  rating_->setAccessibleDescription(QStringLiteral("Rating"));
  link_->setAccessibleDescription(QStringLiteral("Web"));
  description_->setAccessibleDescription(QStringLiteral("Description"));
  QFont ratingFont = rating_->font();
  ratingFont.setPointSize(20);
  ratingFont.setBold(true);
  rating_->setFont(ratingFont);
  for (QLabel* label : {rating_, description_}) {
    label->setAutoFillBackground(true);
    QPalette shade = label->palette();
    shade.setColor(QPalette::Window, QColor(0, 0, 0, 150));
    shade.setColor(QPalette::WindowText, Qt::white);
    label->setPalette(shade);
    label->setMargin(4);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  }
  rating_->setAlignment(Qt::AlignCenter);
  description_->setWordWrap(true);
  description_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  auto* layout = new QGridLayout(this);
  layout->addWidget(link_, 0, 0, 3, 1);
  layout->addWidget(pov_, 0, 1, Qt::AlignHCenter);
  layout->addWidget(rating_, 1, 1, Qt::AlignHCenter);
  layout->addWidget(description_, 2, 1, Qt::AlignTop);
  layout->setRowStretch(2, 1);
}

void UserNotesPanel::Show(const UserTab& notes, const QImage& picture) {
  picture_ = picture;
  pov_->setName(notes.pov, TextForm::kUtf8);
  pov_->setVisible(!notes.pov.empty());
  rating_->setText(FromUserText(notes.rating));
  rating_->setVisible(!notes.rating.empty());
  link_->setLink(notes.link);
  description_->setText(DescriptionText(notes.description));
  update();
}

void UserNotesPanel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), Qt::black);
  if (!picture_.isNull()) {
    const QImage fill =
        picture_.scaled(size(), Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation);
    painter.drawImage(QPoint((width() - fill.width()) / 2, (height() - fill.height()) / 2), fill);
  }
}

}  // namespace rw::app
