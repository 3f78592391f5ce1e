#pragma once

// One connection's log page as a list model: one row per line, coloured by its kind. Lines come
// in batches (the log pages tell once per turn of the event loop), the oldest go at the cap.

#include <QAbstractListModel>

#include "gui/Colours.h"
#include "ui/LogPages.h"

class TLogModel : public QAbstractListModel
{
    Q_OBJECT
public:
    TLogModel(const TLogPages& logs, int page, QObject* parent = nullptr);

    void LinesChanged(size_t dropped, size_t appended);
    void SetColours(const TWindowColours& colours);
    int Page() const { return m_page; }
    // Pages made at start-up wear the skin's colour; pages added later do not.
    void SetSkinned(bool skinned) { m_skinned = skinned; }
    bool Skinned() const { return m_skinned; }

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;

private:
    const TLogPages& m_logs;
    int m_page;
    int m_rowCount = 0;
    TWindowColours m_colours;
    bool m_skinned = false;
};
