#include "gui/PaneWidget.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

namespace {

// The local path box's list draws each item indented by the pixels its Qt::UserRole holds:
// the chain of the current directory reads as a tree under its volume.
class TIndentedItemDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QStyleOptionViewItem item(option);
        initStyleOption(&item, index);
        const QWidget* widget = option.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        // The highlight spans the row; the icon and the text start at the indent.
        style->drawPrimitive(QStyle::PE_PanelItemViewItem, &item, painter, widget);
        item.rect.adjust(index.data(Qt::UserRole).toInt(), 0, 0, 0);
        style->drawControl(QStyle::CE_ItemViewItem, &item, painter, widget);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QSize size = QStyledItemDelegate::sizeHint(option, index);
        return {size.width() + index.data(Qt::UserRole).toInt(), size.height()};
    }
};

} // namespace

TPaneWidget::TPaneWidget(TPane pane, const QString& pathBoxName, const QString& listName, const QString& stripName,
                         QWidget* parent)
    : QWidget(parent), m_pane(pane), m_pathBox(new QComboBox(this)), m_stack(new QStackedWidget(this)),
      m_details(new QTreeView(this)), m_icons(new QListView(this)), m_strip(new QLabel(this))
{
    bool remote = pane == TPane::Remote;
    setObjectName(remote ? "plHost" : "plLocal");
    m_pathBox->setObjectName(pathBoxName);
    m_pathBox->setAccessibleName(remote ? tr("Remote directory") : tr("Local directory"));
    m_pathBox->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_pathBox->setMinimumContentsLength(10);
    if (!remote)
        m_pathBox->setItemDelegate(new TIndentedItemDelegate(m_pathBox));
    m_details->setObjectName(listName);
    m_details->setAccessibleName(remote ? tr("Remote files") : tr("Local files"));
    m_icons->setObjectName(listName + tr("Icons"));
    m_icons->setAccessibleName(remote ? tr("Remote files") : tr("Local files"));
    m_strip->setObjectName(stripName);
    m_strip->setAutoFillBackground(true);
    m_strip->setContentsMargins(4, 1, 4, 1);
    m_strip->setTextInteractionFlags(Qt::NoTextInteraction);

    for (QAbstractItemView* view :
         {static_cast<QAbstractItemView*>(m_details), static_cast<QAbstractItemView*>(m_icons)}) {
        view->setSelectionMode(QAbstractItemView::ExtendedSelection);
        view->setSelectionBehavior(QAbstractItemView::SelectRows);
        view->setEditTriggers(QAbstractItemView::NoEditTriggers);
        view->setDragEnabled(true);
        view->setAcceptDrops(true);
        view->setDropIndicatorShown(false);
        view->setDragDropMode(QAbstractItemView::DragDrop);
        view->setDefaultDropAction(Qt::CopyAction);
        view->setContextMenuPolicy(Qt::DefaultContextMenu);
        view->installEventFilter(this);
        view->viewport()->installEventFilter(this);
        connect(view, &QAbstractItemView::activated, this,
                [this](const QModelIndex& index) { emit Activated(index.row()); });
    }
    m_details->setRootIsDecorated(false);
    m_details->setUniformRowHeights(true);
    m_details->setAllColumnsShowFocus(true);
    m_details->setSortingEnabled(false);
    m_details->header()->setSectionsClickable(true);
    m_details->header()->setStretchLastSection(false);
    m_details->header()->setSortIndicatorShown(true);
    connect(m_details->header(), &QHeaderView::sectionClicked, this, [this](int column) {
        if (column <= 2) // "Attr" sorts nothing
            emit SortRequested(column);
    });
    m_icons->setUniformItemSizes(true);
    m_icons->setResizeMode(QListView::Adjust);
    m_icons->setMovement(QListView::Static);

    m_stack->addWidget(m_details);
    m_stack->addWidget(m_icons);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(1);
    layout->addWidget(m_pathBox);
    layout->addWidget(m_stack, 1);
    layout->addWidget(m_strip);
    setFocusProxy(m_details);
}

QAbstractItemView* TPaneWidget::CurrentView() const
{
    return m_stack->currentWidget() == m_details ? static_cast<QAbstractItemView*>(m_details) : m_icons;
}

void TPaneWidget::SetModel(TPaneModel* model, std::function<const std::vector<bool>&()> logicSelection)
{
    m_model = model;
    m_logicSelection = std::move(logicSelection);
    m_details->setModel(model);
    m_icons->setModel(model);
    m_icons->setSelectionModel(m_details->selectionModel()); // one selection for both views
    m_icons->setModelColumn(0);
    connect(m_details->selectionModel(), &QItemSelectionModel::selectionChanged, this, &TPaneWidget::SelectionChanged);
    connect(model, &QAbstractItemModel::modelReset, this, &TPaneWidget::ShowSelection);
}

void TPaneWidget::SelectionChanged(const QItemSelection& selected, const QItemSelection& deselected)
{
    if (m_showing)
        return;
    for (const QItemSelectionRange& range : deselected)
        for (int row = range.top(); row <= range.bottom(); ++row)
            if (!m_details->selectionModel()->isRowSelected(row, {}))
                emit SelectionEdited(static_cast<size_t>(row), false);
    for (const QItemSelectionRange& range : selected)
        for (int row = range.top(); row <= range.bottom(); ++row)
            emit SelectionEdited(static_cast<size_t>(row), true);
}

void TPaneWidget::ShowSelection()
{
    if (!m_model || !m_logicSelection)
        return;
    const std::vector<bool>& marks = m_logicSelection();
    QItemSelection selection;
    int columns = m_model->columnCount() - 1;
    int rows = m_model->rowCount();
    for (int row = 0; row < rows && row < static_cast<int>(marks.size());) {
        if (!marks[static_cast<size_t>(row)]) {
            ++row;
            continue;
        }
        int first = row;
        while (row < rows && row < static_cast<int>(marks.size()) && marks[static_cast<size_t>(row)])
            ++row;
        selection.select(m_model->index(first, 0), m_model->index(row - 1, columns));
    }
    m_showing = true;
    m_details->selectionModel()->select(selection, QItemSelectionModel::ClearAndSelect);
    m_showing = false;
}

void TPaneWidget::SetViewStyle(TfmMain::TViewStyle style)
{
    if (style == TfmMain::TViewStyle::Details) {
        m_stack->setCurrentWidget(m_details);
        return;
    }
    bool large = style == TfmMain::TViewStyle::LargeIcons;
    m_icons->setViewMode(large ? QListView::IconMode : QListView::ListMode);
    m_icons->setFlow(style == TfmMain::TViewStyle::List ? QListView::TopToBottom : QListView::LeftToRight);
    m_icons->setWrapping(true);
    int size = style == TfmMain::TViewStyle::LargeIcons ? 32 : 16;
    m_icons->setIconSize(QSize(size, size));
    m_icons->setGridSize(large ? QSize(96, 64) : QSize());
    m_icons->setSpacing(large ? 4 : 2);
    m_stack->setCurrentWidget(m_icons);
}

void TPaneWidget::SetStripColours(const QColor& background, const QColor& text)
{
    QPalette palette = m_strip->palette();
    palette.setColor(QPalette::Window, background);
    palette.setColor(QPalette::WindowText, text);
    m_strip->setPalette(palette);
}

void TPaneWidget::SetBusy(bool busy)
{
    for (QAbstractItemView* view :
         {static_cast<QAbstractItemView*>(m_details), static_cast<QAbstractItemView*>(m_icons)}) {
        if (busy)
            view->viewport()->setCursor(Qt::WaitCursor);
        else
            view->viewport()->unsetCursor();
    }
}

bool TPaneWidget::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::FocusIn && (watched == m_details || watched == m_icons))
        emit Focused();
    // The mouse asks on the viewport; the Menu key asks the view, and its menu opens at the
    // current row.
    bool onView = watched == m_details || watched == m_icons;
    if (event->type() == QEvent::ContextMenu &&
        (onView || watched == m_details->viewport() || watched == m_icons->viewport())) {
        auto* menu = static_cast<QContextMenuEvent*>(event);
        QPoint position = menu->globalPos();
        if (menu->reason() == QContextMenuEvent::Keyboard) {
            QAbstractItemView* view = m_icons->isVisible() ? static_cast<QAbstractItemView*>(m_icons) : m_details;
            QRect row = view->visualRect(view->currentIndex());
            QPoint at = row.isValid() ? row.bottomLeft() + QPoint(row.height(), 0) : QPoint(0, 0);
            position = view->viewport()->mapToGlobal(at);
        }
        emit MenuRequested(position, m_details->selectionModel()->hasSelection());
        return true;
    }
    if (event->type() == QEvent::KeyPress && (watched == m_details || watched == m_icons)) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))
            return false;
        switch (key->key()) {
        case Qt::Key_Backspace:
            emit UpRequested();
            return true;
        case Qt::Key_Delete:
            emit DeleteRequested();
            return true;
        case Qt::Key_F2:
            emit RenameRequested();
            return true;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TPaneWidget::HideRows(const std::function<bool(int row)>& hidden)
{
    int rows = m_model ? m_model->rowCount() : 0;
    for (int row = 0; row < rows; ++row) {
        bool hide = hidden && hidden(row);
        m_details->setRowHidden(row, {}, hide);
        m_icons->setRowHidden(row, hide);
    }
}
