#pragma once

// The rows of a pane (remote or local) as a table model over the raw row values of the window's
// logic: texts made in data(), icons by file type, the private MIME type for drags between the
// panes, file:// and ftp:// addresses for drags to and from file managers.

#include <functional>

#include <QAbstractTableModel>
#include <QStringList>

#include "gui/FileIcons.h"
#include "ui/MainWindow.h"
#include "ui/SyncWork.h"

// What a drag between the panes carries: the pane it came from.
inline const char* const kPaneRowsMimeType = "application/x-quillftp-pane-rows";

class TPaneModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    TPaneModel(TfmMain& window, TPane pane, QObject* parent = nullptr);

    TPane Pane() const { return m_pane; }
    // The rows changed wholesale: a new listing, a new order.
    void RowsReplaced();
    void RowChanged(size_t row);

    // A drop that the form carries out: rows from the other pane, or local files from a file
    // manager (remote pane only). Return whether it was taken.
    std::function<bool(TPane from)> OnPaneDrop;
    std::function<bool(const QStringList& localPaths)> OnFilesDrop;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QStringList mimeTypes() const override;
    QMimeData* mimeData(const QModelIndexList& indexes) const override;
    Qt::DropActions supportedDropActions() const override { return Qt::CopyAction; }
    Qt::DropActions supportedDragActions() const override { return Qt::CopyAction; }
    bool canDropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                         const QModelIndex& parent) const override;
    bool dropMimeData(const QMimeData* data, Qt::DropAction action, int row, int column,
                      const QModelIndex& parent) override;

private:
    const std::vector<TlvFileInfo>& Rows() const;
    // The comparison's word on a row, for its tint and its tip; null when it has none.
    const TComparedName* Mark(const TlvFileInfo& row) const;
    // The address a file manager gets for a row: file:// for local rows, ftp:// (user and host,
    // never the password) for remote ones.
    QUrl RowUrl(const TlvFileInfo& row) const;

    TfmMain& m_window;
    TPane m_pane;
    int m_rowCount = 0; // as the views were last told
    mutable TFileIcons m_icons;
};
