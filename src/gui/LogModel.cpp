#include "gui/LogModel.h"

#include <algorithm>

#include <QFont>

TLogModel::TLogModel(const TLogPages& logs, int page, QObject* parent)
    : QAbstractListModel(parent), m_logs(logs), m_page(page), m_rowCount(static_cast<int>(logs.Lines(page).size()))
{
}

void TLogModel::LinesChanged(size_t dropped, size_t appended)
{
    int size = static_cast<int>(m_logs.Lines(m_page).size());
    int gone = std::min(static_cast<int>(dropped), m_rowCount);
    if (gone > 0) {
        beginRemoveRows({}, 0, gone - 1);
        m_rowCount -= gone;
        endRemoveRows();
    }
    (void)appended; // the page itself says how many lines it has now
    if (size > m_rowCount) {
        beginInsertRows({}, m_rowCount, size - 1);
        m_rowCount = size;
        endInsertRows();
    } else if (size < m_rowCount) {
        beginResetModel(); // cleared while nobody was told: start over
        m_rowCount = size;
        endResetModel();
    }
}

void TLogModel::SetColours(const TWindowColours& colours)
{
    m_colours = colours;
    if (m_rowCount > 0)
        emit dataChanged(index(0), index(m_rowCount - 1), {Qt::ForegroundRole});
}

int TLogModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_rowCount;
}

QVariant TLogModel::data(const QModelIndex& index, int role) const
{
    const auto& lines = m_logs.Lines(m_page);
    if (!index.isValid() || index.row() >= m_rowCount || index.row() >= static_cast<int>(lines.size()))
        return {};
    const TLogLine& line = lines[static_cast<size_t>(index.row())];
    if (role == Qt::DisplayRole)
        return QString::fromStdString(line.Text);
    if (role == Qt::ForegroundRole) {
        switch (line.Colour) {
        case TLogColour::Command:
            return m_colours.Command;
        case TLogColour::Reply:
            return m_colours.Reply;
        case TLogColour::Message:
            return m_colours.Message;
        case TLogColour::Refusal:
            return m_colours.Refusal;
        }
    }
    if (role == Qt::FontRole && line.Colour == TLogColour::Refusal) {
        QFont bold; // only the weight: the rest comes from the view's font
        bold.setBold(true);
        return bold;
    }
    return {};
}
