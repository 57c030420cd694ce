#pragma once

#include <QListView>
#include <QTableView>

#include "app/colored_cell_delegate.h"
#include "app/row_list_model.h"

namespace rw::app {

// The demo list or the play list: a details view over the core's rows that keeps the rows'
// selection flags, which the core's list rules read, in step with what the user selects, and
// carries rows to the other list by drag and drop.
class ListView : public QTableView {
  Q_OBJECT

 public:
  static constexpr const char* kRowsMime = "application/x-reelwright-rows";

  ListView(SortedRows& rows, const QString& accessibleName, QWidget* parent = nullptr);

  RowListModel& rowModel() { return model_; }
  SortedRows& rows() { return rows_; }
  // Shows the rows after the core changed them, the selection flags included.
  void Reload();

  // The list styles and view styles of the "View Style" menu: 0 big icons, 1 small icons,
  // 2 list (names only, in columns), 3 details (this table).
  void SetFullRowSelect(bool on);
  void SetHighlightItems(bool on);
  void SetViewStyle(int style);
  QListView* iconView() const { return iconView_; }
  // Starts dragging the selected rows, from this table or from the icon view.
  void DragSelectedRows();

 signals:
  // Rows of the other list were dropped here, before the row target (-1: at the end).
  void rowsDropped(QObject* source, int target);
  // The rows were shown afresh after the core changed them.
  void reloaded();

 protected:
  void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;
  void startDrag(Qt::DropActions actions) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  SortedRows& rows_;
  RowListModel model_;
  ColoredCellDelegate delegate_;
  QListView* iconView_;
};

}  // namespace rw::app
