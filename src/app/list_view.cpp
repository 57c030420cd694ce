#include "app/list_view.h"

#include <QDrag>
#include <QDropEvent>
#include <QHeaderView>
#include <QMimeData>

namespace rw::app {

ListView::ListView(SortedRows& rows, const QString& accessibleName, QWidget* parent)
    : QTableView(parent), rows_(rows), model_(rows) {
  setModel(&model_);
  setItemDelegate(&delegate_);
  setAccessibleName(accessibleName);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setDragEnabled(true);
  setAcceptDrops(true);
  setDropIndicatorShown(true);
  setWordWrap(false);
  setSortingEnabled(false);
  setEditTriggers(QAbstractItemView::EditKeyPressed);
  verticalHeader()->hide();
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
  horizontalHeader()->setSectionsMovable(true);
  horizontalHeader()->setSectionsClickable(true);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setStretchLastSection(false);
}

void ListView::Reload() {
  model_.Reload();
  QItemSelection selection;
  const RowList& list = rows_.rows();
  for (size_t row = 0; row < list.size(); ++row) {
    if (!list[row].selected) continue;
    const QModelIndex index = model_.index(static_cast<int>(row), 0);
    selection.select(index, index);
  }
  selectionModel()->select(selection,
                           QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
}

void ListView::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) {
  QTableView::selectionChanged(selected, deselected);
  RowList& list = rows_.rows();
  for (ListItem& item : list) item.selected = false;
  for (const QModelIndex& index : selectionModel()->selectedRows()) {
    if (index.row() < static_cast<int>(list.size())) list[index.row()].selected = true;
  }
}

void ListView::startDrag(Qt::DropActions) {
  if (selectionModel()->selectedRows().isEmpty()) return;
  auto* mime = new QMimeData;
  mime->setData(kRowsMime, QByteArray::number(reinterpret_cast<quintptr>(this)));
  auto* drag = new QDrag(this);
  drag->setMimeData(mime);
  drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::CopyAction);
}

void ListView::dragEnterEvent(QDragEnterEvent* event) {
  if (event->mimeData()->hasFormat(kRowsMime)) {
    event->acceptProposedAction();
  } else {
    QTableView::dragEnterEvent(event);
  }
}

void ListView::dragMoveEvent(QDragMoveEvent* event) {
  if (event->mimeData()->hasFormat(kRowsMime)) {
    event->acceptProposedAction();
  } else {
    QTableView::dragMoveEvent(event);
  }
}

void ListView::dropEvent(QDropEvent* event) {
  if (!event->mimeData()->hasFormat(kRowsMime)) return QTableView::dropEvent(event);
  bool ok = false;
  const quintptr source = event->mimeData()->data(kRowsMime).toULongLong(&ok);
  if (!ok) return;
  const QModelIndex at = indexAt(event->position().toPoint());
  event->acceptProposedAction();
  emit rowsDropped(reinterpret_cast<QObject*>(source), at.isValid() ? at.row() : -1);
}

}  // namespace rw::app
