#pragma once

#include <QImage>
#include <QLabel>
#include <QWidget>
#include <functional>
#include <string>

#include "app/name_box.h"
#include "library/properties_user_tab.h"

namespace rw::app {

// A link written upwards along the panel's left edge; a click opens a link with one of the
// known prefixes.
class SideLink : public QWidget {
  Q_OBJECT

 public:
  explicit SideLink(QWidget* parent = nullptr);
  void setLink(const std::string& link);
  const QString& text() const { return text_; }

  std::function<void(const std::string&)> open;

  QSize sizeHint() const override;

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  std::string link_;
  QString text_;
  bool opens_ = false;
};

// The properties window's "User" tab: the level shot behind the point-of-view player, the
// rating, the link and the description.
class UserNotesPanel : public QWidget {
  Q_OBJECT

 public:
  explicit UserNotesPanel(QWidget* parent = nullptr);

  void Show(const UserTab& notes, const QImage& picture);
  NameBox* pov() const { return pov_; }
  QLabel* rating() const { return rating_; }
  SideLink* link() const { return link_; }
  QLabel* description() const { return description_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage picture_;
  NameBox* pov_;
  QLabel* rating_;
  SideLink* link_;
  QLabel* description_;
};

}  // namespace rw::app
