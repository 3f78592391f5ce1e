#include "gui/TransfersView.h"

#include <algorithm>

#include <QAction>
#include <QFontMetrics>
#include <QHeaderView>
#include <QLocale>
#include <QMenu>
#include <QPainter>
#include <QTabBar>
#include <QTreeView>
#include <QVBoxLayout>

#include "gui/Icons.h"
#include "manager/CommFunc.h"
#include "ui/MainWindow.h"

namespace {

const TTransferRow* rowAt(const TfmMain& window, int row)
{
    const auto& shown = window.TransferRows().Shown();
    return row >= 0 && static_cast<size_t>(row) < shown.size() ? shown[static_cast<size_t>(row)] : nullptr;
}

constexpr TTransferFilter kFilters[] = {TTransferFilter::All, TTransferFilter::Queued, TTransferFilter::Failed,
                                        TTransferFilter::Done};
constexpr const char* kFilterNames[] = {
    QT_TRANSLATE_NOOP("TTransfersPanel", "All"), QT_TRANSLATE_NOOP("TTransfersPanel", "Queued"),
    QT_TRANSLATE_NOOP("TTransfersPanel", "Failed"), QT_TRANSLATE_NOOP("TTransfersPanel", "Done")};

} // namespace

// ---------------------------------------------------------------- the model

TTransfersModel::TTransfersModel(const TfmMain& window, QObject* parent) : QAbstractTableModel(parent), m_window(window)
{
}

void TTransfersModel::RowsUpdated(int first, int last)
{
    int count = static_cast<int>(m_window.TransferRows().Shown().size());
    if (count != m_rowCount) {
        beginResetModel();
        m_rowCount = count;
        endResetModel();
        return;
    }
    // The view works out where each changed row is drawn: told of every row of a run of
    // thousands, it would take longer than the rows themselves.
    first = std::max(first, 0);
    last = std::min(last, count - 1);
    if (first <= last)
        emit dataChanged(index(first, 0), index(last, ColumnCount - 1));
}

int TTransfersModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rowCount;
}

int TTransfersModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant TTransfersModel::data(const QModelIndex& index, int role) const
{
    const TTransferRow* row = index.isValid() && index.row() < m_rowCount ? rowAt(m_window, index.row()) : nullptr;
    if (!row)
        return {};
    if (role == kRowRole)
        return QVariant::fromValue(static_cast<const void*>(row));
    if (role == Qt::DecorationRole && index.column() == Name)
        return GuiIcon(row->Download ? "download" : "upload");
    if (role == Qt::TextAlignmentRole && (index.column() == Size || index.column() == Speed || index.column() == Left))
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    if (role == Qt::ToolTipRole && index.column() == Name)
        return QString::fromStdString(row->Download ? row->RemotePath + " -> " + row->LocalPath
                                                    : row->LocalPath + " -> " + row->RemotePath);
    if (role == Qt::ToolTipRole && index.column() == State)
        return QString::fromStdString(row->StateText);
    if (role != Qt::DisplayRole)
        return {};
    switch (index.column()) {
    case Name:
        return QString::fromStdString(row->Name);
    case Size:
        return QLocale().toString(qlonglong(row->Size));
    case Progress:
        return QString::number(row->Percent) + "%";
    case Speed:
        return row->Speed > 0 ? QString::fromStdString(ShortSize(row->Speed) + "/s") : QString();
    case Left:
        return row->Left >= 0 ? QString::fromStdString(ElapsedTime(row->Left)) : QString();
    case Connections:
        return QString::fromStdString(row->Connections);
    case State:
        return QString::fromStdString(row->StateText);
    case Verdict:
        return QString::fromStdString(row->Verdict);
    default:
        return {};
    }
}

QVariant TTransfersModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    static const char* const kTitles[] = {QT_TR_NOOP("Name"),  QT_TR_NOOP("Size"),   QT_TR_NOOP("Progress"),
                                          QT_TR_NOOP("Speed"), QT_TR_NOOP("Left"),   QT_TR_NOOP("On"),
                                          QT_TR_NOOP("State"), QT_TR_NOOP("Verdict")};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount)
        return {};
    return tr(kTitles[section]);
}

// ---------------------------------------------------------------- the progress column

void TProgressDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    auto* row = static_cast<const TTransferRow*>(index.data(TTransfersModel::kRowRole).value<const void*>());
    if (!row) {
        QStyledItemDelegate::paint(painter, option, index);
        return;
    }
    QStyleOptionViewItem plain = option;
    initStyleOption(&plain, index);
    plain.text.clear();
    plain.widget->style()->drawControl(QStyle::CE_ItemViewItem, &plain, painter, plain.widget);

    const QPalette& palette = option.palette;
    // The percentage first, then the bar in the rest of the cell.
    QString text = QString::number(row->Percent) + "%";
    int textWidth = option.fontMetrics.horizontalAdvance("100%") + 6;
    QRect textRect(option.rect.left() + 2, option.rect.top(), textWidth, option.rect.height());
    QRect bar = option.rect.adjusted(textWidth + 4, 3, -2, -3);
    painter->save();
    painter->setPen(option.state & QStyle::State_Selected ? palette.color(QPalette::HighlightedText)
                                                          : palette.color(QPalette::Text));
    painter->drawText(textRect, Qt::AlignRight | Qt::AlignVCenter, text);
    painter->setPen(palette.color(QPalette::Mid));
    painter->setBrush(palette.color(QPalette::Base));
    painter->drawRect(bar.adjusted(0, 0, -1, -1));
    QRect inside = bar.adjusted(1, 1, -1, -1);
    auto span = [&](double from, double to) {
        int left = inside.left() + static_cast<int>(from * inside.width());
        int right = inside.left() + static_cast<int>(to * inside.width());
        return QRect(left, inside.top(), std::max(right - left, 0), inside.height());
    };
    QColor done = m_colours.ActiveStrip;
    QColor moving = palette.color(QPalette::Highlight);
    QColor waiting = palette.color(QPalette::Midlight);
    QColor failed = m_colours.Refusal;
    if (row->Split && !row->Segments.empty()) {
        // Each range: waiting grey, on a connection the highlight (its done part green), done
        // green, failed in the error colour; a line between ranges.
        for (const TSegmentCell& cell : row->Segments) {
            QColor whole = cell.State == TSegmentState::Done      ? done
                           : cell.State == TSegmentState::Failed  ? failed
                           : cell.State == TSegmentState::Running ? moving
                                                                  : waiting;
            painter->fillRect(span(cell.From, cell.To), whole);
            if (cell.State == TSegmentState::Running)
                painter->fillRect(span(cell.From, cell.Done), done);
            painter->fillRect(span(cell.From, cell.From).adjusted(0, 0, 1, 0), palette.color(QPalette::Base));
        }
    } else {
        painter->fillRect(span(0, row->Percent / 100.0), row->State == TFileState::Failed ? failed
                                                         : row->State == TFileState::Done ? done
                                                                                          : moving);
    }
    painter->restore();
}

// ---------------------------------------------------------------- the panel

TTransfersPanel::TTransfersPanel(TfmMain& window, QWidget* parent)
    : QWidget(parent), m_window(window), m_filters(new QTabBar(this)), m_view(new QTreeView(this)),
      m_model(new TTransfersModel(window, this)), m_delegate(new TProgressDelegate(this))
{
    setObjectName("plTransfers");
    m_filters->setObjectName("tbTransferFilter");
    m_filters->setAccessibleName(tr("Transfers shown"));
    m_filters->setExpanding(false);
    m_filters->setDrawBase(false);
    for (const char* name : kFilterNames)
        m_filters->addTab(tr(name));
    connect(m_filters, &QTabBar::currentChanged, this, [this](int index) {
        if (index >= 0 && index < 4)
            m_window.SetTransferFilter(kFilters[index]);
    });
    m_view->setObjectName("lvTransfers");
    m_view->setAccessibleName(tr("Transfers"));
    m_view->setModel(m_model);
    m_view->setItemDelegateForColumn(TTransfersModel::Progress, m_delegate);
    m_view->setRootIsDecorated(false);
    m_view->setUniformRowHeights(true);
    m_view->setAllColumnsShowFocus(true);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setSelectionMode(QAbstractItemView::SingleSelection);
    m_view->setContextMenuPolicy(Qt::CustomContextMenu);
    m_view->header()->setStretchLastSection(true);
    // Widths for the texts they hold or their titles, whichever is wider (a translation's title
    // may be): the name's a little wider; the rest scroll into view.
    QFontMetrics metrics(m_view->font());
    for (auto [column, sample] : {std::pair{TTransfersModel::Name, "release-2.3.tar.gz"},
                                  {TTransfersModel::Size, "9,999,999,999"},
                                  {TTransfersModel::Progress, "100% 100%100%"},
                                  {TTransfersModel::Speed, "999MB/s"},
                                  {TTransfersModel::Left, "00:00:00"},
                                  {TTransfersModel::Connections, "1, 2"},
                                  {TTransfersModel::State, "Transferring"}})
        m_view->header()->resizeSection(
            column, std::max(metrics.horizontalAdvance(sample),
                             metrics.horizontalAdvance(
                                 m_model->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString())) +
                        24);
    connect(m_view, &QWidget::customContextMenuRequested, this, &TTransfersPanel::ShowMenu);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_filters);
    layout->addWidget(m_view, 1);
    ShowCounts();
}

void TTransfersPanel::RowsUpdated()
{
    int first = 0;
    int last = -1; // hidden: nothing to redraw now
    if (m_view->isVisible()) {
        QModelIndex top = m_view->indexAt(QPoint(0, 0));
        QModelIndex bottom = m_view->indexAt(QPoint(0, m_view->viewport()->height() - 1));
        first = top.isValid() ? top.row() : 0;
        last = bottom.isValid() ? bottom.row() : m_model->rowCount() - 1;
    }
    m_model->RowsUpdated(first, last);
    ShowCounts();
}

void TTransfersPanel::SetColours(const TWindowColours& colours)
{
    m_delegate->SetColours(colours);
    m_view->viewport()->update();
}

void TTransfersPanel::ShowCounts()
{
    for (int k = 0; k < 4; ++k)
        m_filters->setTabText(
            k, QString("%1 (%2)").arg(tr(kFilterNames[k])).arg(m_window.TransferRows().Count(kFilters[k])));
}

void TTransfersPanel::ShowMenu(const QPoint& position)
{
    QModelIndex index = m_view->indexAt(position);
    const TTransferRow* row = index.isValid() ? rowAt(m_window, index.row()) : nullptr;
    if (!row)
        return;
    size_t at = static_cast<size_t>(index.row());
    QMenu menu(this);
    menu.setObjectName("pmTransfer");
    QAction* retry = menu.addAction(GuiIcon("resume"), tr("&Retry"), [this, at] { m_window.RetryTransfer(at); });
    retry->setObjectName("miTransferRetry");
    retry->setEnabled(row->State == TFileState::Failed);
    QAction* skip = menu.addAction(GuiIcon("abort"), tr("&Skip"), [this, at] { m_window.SkipTransfer(at); });
    skip->setObjectName("miTransferSkip");
    skip->setEnabled(row->State == TFileState::Queued || row->State == TFileState::Waiting);
    menu.addSeparator();
    menu.addAction(GuiIcon("open-directory"), tr("&Open Containing Folder"),
                   [this, at] { m_window.OpenTransferFolder(at); })
        ->setObjectName("miTransferFolder");
    menu.addAction(GuiIcon("copy-url"), tr("&Copy Remote Address"), [this, at] { m_window.CopyTransferAddress(at); })
        ->setObjectName("miTransferAddress");
    menu.exec(m_view->viewport()->mapToGlobal(position));
}
