#include "app/list_view.h"

#include <QDrag>
#include <QDropEvent>
#include <QHeaderView>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QStyle>
#include <QStyleOptionHeader>

#include "model/list_drag.h"

namespace rw::app {

namespace {

// The picture beside the pointer while rows are dragged: one page for one row, a stack of
// pages for more.
QPixmap DragPicture(DragCursor cursor, const QStyle& style) {
  const QPixmap page = style.standardIcon(QStyle::SP_FileIcon).pixmap(24);
  if (cursor == DragCursor::kSingleItem) return page;
  QPixmap stack(page.width() + 8, page.height() + 8);
  stack.fill(Qt::transparent);
  QPainter painter(&stack);
  for (int step = 2; step >= 0; --step) painter.drawPixmap(4 * step, 4 * step, page);
  return stack;
}

// The header's arrow shows the order the rows are in, whatever way the platform's style draws
// it: up while they run A to Z or smallest first, down the other way.
class SortArrowStyle : public QProxyStyle {
 public:
  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override {
    const auto* header = qstyleoption_cast<const QStyleOptionHeader*>(option);
    if (element != PE_IndicatorHeaderArrow || header == nullptr ||
        header->sortIndicator == QStyleOptionHeader::None) {
      QProxyStyle::drawPrimitive(element, option, painter, widget);
      return;
    }
    // The header view marks an ascending sort SortDown.
    QProxyStyle::drawPrimitive(header->sortIndicator == QStyleOptionHeader::SortDown
                                   ? PE_IndicatorArrowUp
                                   : PE_IndicatorArrowDown,
                               option, painter, widget);
  }
};

// The icon and list styles draw the rows' names over the table, sharing its rows and its
// selection; dragging and dropping rows goes through the table.
class RowIconView : public QListView {
 public:
  explicit RowIconView(ListView& table) : QListView(&table), table_(table) {
    setModel(table.model());
    setSelectionModel(table.selectionModel());
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setResizeMode(QListView::Adjust);
    setWrapping(true);
    setUniformItemSizes(true);
    setDragEnabled(true);
    setAcceptDrops(true);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setAccessibleName(table.accessibleName());
    setContextMenuPolicy(Qt::CustomContextMenu);
    connect(this, &QWidget::customContextMenuRequested, &table, [this](QPoint at) {
      emit table_.customContextMenuRequested(
          table_.viewport()->mapFromGlobal(viewport()->mapToGlobal(at)));
    });
    hide();
  }

 protected:
  void startDrag(Qt::DropActions) override { table_.DragSelectedRows(); }
  void dragEnterEvent(QDragEnterEvent* event) override { Accept(event); }
  void dragMoveEvent(QDragMoveEvent* event) override { Accept(event); }
  void dropEvent(QDropEvent* event) override {
    bool ok = false;
    const quintptr source = event->mimeData()->data(ListView::kRowsMime).toULongLong(&ok);
    if (!ok) return;
    const QModelIndex at = indexAt(event->position().toPoint());
    event->acceptProposedAction();
    emit table_.rowsDropped(reinterpret_cast<QObject*>(source), at.isValid() ? at.row() : -1);
  }

 private:
  static void Accept(QDropEvent* event) {
    if (event->mimeData()->hasFormat(ListView::kRowsMime)) {
      event->acceptProposedAction();
    } else {
      event->ignore();
    }
  }

  ListView& table_;
};

}  // namespace

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
  // F2 goes through the "Rename" command, which says why an edit cannot start.
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  // Tab leaves the list for the next view; the arrows move inside it.
  setTabKeyNavigation(false);
  verticalHeader()->hide();
  verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
  horizontalHeader()->setSectionsMovable(true);
  horizontalHeader()->setSectionsClickable(true);
  horizontalHeader()->setHighlightSections(false);
  horizontalHeader()->setStretchLastSection(false);
  auto* arrows = new SortArrowStyle;
  arrows->setParent(horizontalHeader());
  horizontalHeader()->setStyle(arrows);
  setMouseTracking(true);
  viewport()->setMouseTracking(true);
  iconView_ = new RowIconView(*this);
}

void ListView::SetFullRowSelect(bool on) {
  delegate_.fullRowSelect = on;
  viewport()->update();
}

void ListView::SetHighlightItems(bool on) {
  delegate_.highlightItems = on;
  viewport()->update();
}

void ListView::SetViewStyle(int style) {
  const bool hadFocus = hasFocus() || iconView_->hasFocus();
  if (style < 0 || style > 2) {
    iconView_->hide();
    setFocusPolicy(Qt::StrongFocus);
    if (hadFocus) setFocus();
    return;
  }
  const int size = style == 0 ? 32 : 16;
  iconView_->setIconSize(QSize(size, size));
  iconView_->setViewMode(style == 0 ? QListView::IconMode : QListView::ListMode);
  // Small icons flow across, the list flows down in columns.
  iconView_->setFlow(style == 2 ? QListView::TopToBottom : QListView::LeftToRight);
  iconView_->setGridSize(style == 0 ? QSize(96, 64) : QSize());
  iconView_->setWrapping(true);
  iconView_->setGeometry(rect());
  iconView_->show();
  iconView_->raise();
  // The keyboard reaches the rows through what shows them: Tab passes the table hidden below.
  setFocusPolicy(Qt::NoFocus);
  if (hadFocus) iconView_->setFocus();
}

void ListView::resizeEvent(QResizeEvent* event) {
  QTableView::resizeEvent(event);
  iconView_->setGeometry(rect());
}

void ListView::mouseMoveEvent(QMouseEvent* event) {
  const int row = rowAt(event->position().toPoint().y());
  if (delegate_.highlightItems && row != delegate_.pointerRow) viewport()->update();
  delegate_.pointerRow = row;
  QTableView::mouseMoveEvent(event);
}

void ListView::leaveEvent(QEvent* event) {
  delegate_.pointerRow = -1;
  if (delegate_.highlightItems) viewport()->update();
  QTableView::leaveEvent(event);
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
  // Resetting the model dropped the old selection without a word, so what was selected
  // before is reported as newly selected: only a count of the rows themselves is right.
  emit reloaded();
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
  DragSelectedRows();
}

void ListView::DragSelectedRows() {
  if (selectionModel()->selectedRows().isEmpty()) return;
  auto* mime = new QMimeData;
  mime->setData(kRowsMime, QByteArray::number(reinterpret_cast<quintptr>(this)));
  auto* drag = new QDrag(this);
  drag->setMimeData(mime);
  drag->setPixmap(DragPicture(DragCursorFor(rows_.rows()), *style()));
  // While dragging, only the names show the dragged rows.
  const bool fullRowSelect = delegate_.fullRowSelect;
  SetFullRowSelect(false);
  drag->exec(Qt::CopyAction | Qt::MoveAction, Qt::CopyAction);
  SetFullRowSelect(fullRowSelect);
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
