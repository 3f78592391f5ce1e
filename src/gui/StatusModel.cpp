#include "gui/StatusModel.h"

#include "gui/Icons.h"

TStatusModel::TStatusModel(const TfmMain& window, QObject* parent) : QAbstractTableModel(parent), m_window(window)
{
    m_redraw.setInterval(250);
    m_redraw.setSingleShot(true);
    connect(&m_redraw, &QTimer::timeout, this, &TStatusModel::Flush);
}

void TStatusModel::RowChanged(size_t row)
{
    m_changed.insert(row);
    if (!m_redraw.isActive())
        m_redraw.start();
}

void TStatusModel::RowsResized()
{
    beginResetModel();
    m_rowCount = static_cast<int>(m_window.StatusRows().size());
    m_changed.clear();
    endResetModel();
}

void TStatusModel::Flush()
{
    m_redraw.stop();
    for (size_t row : m_changed)
        if (static_cast<int>(row) < m_rowCount)
            emit dataChanged(index(static_cast<int>(row), 0), index(static_cast<int>(row), 3));
    m_changed.clear();
}

int TStatusModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rowCount;
}

int TStatusModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : 4;
}

// The states a connection's row shows, for the translations.
[[maybe_unused]] static const char* const kStates[] = {
    QT_TRANSLATE_NOOP("TStatusModel", "Ready"),       QT_TRANSLATE_NOOP("TStatusModel", "Connecting"),
    QT_TRANSLATE_NOOP("TStatusModel", "Connected"),   QT_TRANSLATE_NOOP("TStatusModel", "ChangingDir"),
    QT_TRANSLATE_NOOP("TStatusModel", "Preparing"),   QT_TRANSLATE_NOOP("TStatusModel", "Transfering"),
    QT_TRANSLATE_NOOP("TStatusModel", "disconnected")};

QVariant TStatusModel::data(const QModelIndex& index, int role) const
{
    const auto& rows = m_window.StatusRows();
    if (!index.isValid() || index.row() >= m_rowCount || index.row() >= static_cast<int>(rows.size()))
        return {};
    const TStatusRow& row = rows[static_cast<size_t>(index.row())];
    if (role == Qt::DisplayRole) {
        switch (index.column()) {
        case 0:
            return QString::fromStdString(StatusCaptionText(row));
        case 1:
            // The logic keeps its states' names; they are shown in the user's language.
            return tr(row.State.c_str());
        case 2:
            return QString::fromStdString(row.FileName);
        default:
            return QString::fromStdString(StatusCountText(row));
        }
    }
    if (role == Qt::DecorationRole && index.column() == 0) {
        static const char* const kImages[] = {"status-idle", "status-busy", "status-connected"};
        return GuiIcon(kImages[row.ImageIndex >= 0 && row.ImageIndex <= 2 ? row.ImageIndex : 0]);
    }
    if (role == Qt::TextAlignmentRole && index.column() == 3)
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant TStatusModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    static const char* const kColumns[] = {"#", QT_TR_NOOP("State"), QT_TR_NOOP("FileName"), QT_TR_NOOP("Count")};
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < 4)
        return tr(kColumns[section]);
    return {};
}
