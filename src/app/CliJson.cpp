#include "app/CliJson.h"

#include <algorithm>
#include <set>

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>

#include "platform/JsonNames.h"
#include "ui/PaneRows.h"
#include "ui/TransferRows.h"

namespace {

QString Kind(const TlvFileInfo& row)
{
    return row.Kind == TEntryKind::Link ? "link" : row.IsDir() ? "directory" : "file";
}

QString StateName(TFileState state)
{
    switch (state) {
    case TFileState::Done:
        return "done";
    case TFileState::Failed:
        return "failed";
    case TFileState::Skipped:
        return "skipped";
    default:
        return "not finished";
    }
}

std::string Document(const QJsonObject& object)
{
    return QJsonDocument(object).toJson(QJsonDocument::Indented).toStdString();
}

} // namespace

std::string ListingJson(const std::string& address, const std::vector<TlvFileInfo>& rows)
{
    QJsonArray entries;
    for (const TlvFileInfo& row : rows) {
        if (row.IsParent())
            continue;
        QJsonObject entry;
        platform::InsertJsonName(entry, "name", row.Name);
        entry.insert("kind", Kind(row));
        entry.insert("size", static_cast<qint64>(row.Size));
        // Exact UTC time where the server gave one (MLSD); the listing's own words otherwise.
        entry.insert("time",
                     row.Modified >= 0
                         ? QJsonValue(QDateTime::fromSecsSinceEpoch(row.Modified, Qt::UTC).toString(Qt::ISODate))
                         : QJsonValue());
        entry.insert("listed_time", QString::fromStdString(TimeColumnText(row)));
        platform::InsertJsonName(entry, "permissions", row.Permissions);
        if (row.Kind == TEntryKind::Link)
            platform::InsertJsonName(entry, "link_target", row.LinkTarget);
        entries.append(entry);
    }
    QJsonObject document;
    platform::InsertJsonName(document, "address", address);
    document.insert("entries", entries);
    return Document(document);
}

std::string RunJson(const std::string& command, int status, double seconds, const TOperationResult& run,
                    const TTransferRows& rows)
{
    QJsonArray files;
    std::set<std::string> named;
    for (const TTransferRow& row : rows.All()) {
        QJsonObject file;
        platform::InsertJsonName(file, "remote", row.RemotePath);
        platform::InsertJsonName(file, "local", row.LocalPath);
        file.insert("size", static_cast<qint64>(row.Size));
        file.insert("bytes", static_cast<qint64>(row.Done));
        file.insert("state", StateName(row.FileState));
        std::string reason = row.FileState == TFileState::Done ? std::string() : row.StateText;
        if (reason.rfind("Failed: ", 0) == 0)
            reason.erase(0, 8);
        file.insert("reason", reason.empty() ? QJsonValue() : QJsonValue(QString::fromStdString(reason)));
        file.insert("verdict", QString::fromStdString(row.Verdict));
        files.append(file);
        named.insert(row.RemotePath);
        named.insert(row.LocalPath);
    }
    // What never became a file of the run: left out by the walk, refused before it started.
    QJsonArray leftOut;
    for (const TItemOutcome& item : run.Failures()) {
        if (named.count(item.Name) != 0)
            continue;
        QJsonObject entry;
        platform::InsertJsonName(entry, "path", item.Name);
        entry.insert("reason", QString::fromStdString(item.Reply));
        leftOut.append(entry);
    }
    QJsonObject document;
    document.insert("command", QString::fromStdString(command));
    document.insert("status", status);
    document.insert("bytes", static_cast<qint64>(run.Bytes));
    document.insert("seconds", seconds);
    document.insert("files", files);
    document.insert("left_out", leftOut);
    return Document(document);
}
