#pragma once

#include <QStyledItemDelegate>

namespace rw::app {

// Cells whose text carries colour codes ("^1Red") are drawn in the codes' colours, the core's
// colour runs: white, the colour a text starts in, is the view's own text colour, and on a
// dark background the darkest codes are drawn lighter; a selected cell is one colour. Other
// cells are drawn as usual. The cell's own text stays the plain one screen readers read.
class ColoredCellDelegate : public QStyledItemDelegate {
  Q_OBJECT

 public:
  // The role that holds a cell's text with its colour codes.
  static constexpr int kCodedTextRole = Qt::UserRole + 1;
  // True when that text is UTF-8 (what the user typed) rather than Windows-1252.
  static constexpr int kCodedUtf8Role = Qt::UserRole + 2;

  // With underlineCapitals, the capitals of a scoreboard's lines (those holding "SCORE") are
  // underlined, and every text goes through the colour runs.
  explicit ColoredCellDelegate(bool underlineCapitals = false, QObject* parent = nullptr)
      : QStyledItemDelegate(parent), underlineCapitals_(underlineCapitals) {}

  // "Full Row Select" off: a selected row shows its selection in its first cell only.
  bool fullRowSelect = true;
  // "Highlight Items": the row under the pointer (-1: none) is lit.
  bool highlightItems = false;
  int pointerRow = -1;

  void paint(QPainter* painter, const QStyleOptionViewItem& option,
             const QModelIndex& index) const override;

 private:
  bool underlineCapitals_;
};

}  // namespace rw::app
