#include "history/RunHistory.h"
#include "platform/Translate.h"

using platform::Fill;
using platform::Tr;

#include <atomic>
#include <utility>

#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

namespace {

std::atomic<int> g_connections{0};

QString text(const std::string& value)
{
    return QString::fromStdString(value);
}

std::string lastError(const QSqlQuery& query)
{
    return query.lastError().text().toStdString();
}

std::string csvField(const std::string& value)
{
    if (value.find_first_of(",\"\r\n") == std::string::npos)
        return value;
    std::string quoted = "\"";
    for (char c : value)
        quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

} // namespace

TRunHistory::TRunHistory(std::string path)
    : m_path(std::move(path)), m_connection("quill-history-" + std::to_string(++g_connections))
{
}

TRunHistory::~TRunHistory()
{
    if (QSqlDatabase::contains(text(m_connection))) {
        QSqlDatabase::database(text(m_connection), false).close();
        QSqlDatabase::removeDatabase(text(m_connection));
    }
}

bool TRunHistory::Open(std::string& error)
{
    if (m_open)
        return true;
    QSqlDatabase database = QSqlDatabase::addDatabase("QSQLITE", text(m_connection));
    database.setDatabaseName(text(m_path));
    if (!database.open()) {
        error = Fill(Tr("Engine", "the history %1 cannot be opened: %2"),
                     {m_path, database.lastError().text().toStdString()});
        return false;
    }
    QSqlQuery query(database);
    if (!query.exec("CREATE TABLE IF NOT EXISTS files (started TEXT, site TEXT, download INTEGER, remote TEXT, "
                    "local TEXT, size INTEGER, bytes INTEGER, connections INTEGER, seconds REAL, state TEXT, "
                    "verdict TEXT)")) {
        error = Fill(Tr("Engine", "the history %1 cannot be written: %2"), {m_path, lastError(query)});
        return false;
    }
    m_open = true;
    return true;
}

bool TRunHistory::Record(const std::vector<THistoryFile>& files, int64_t maxFiles, std::string& error)
{
    if (!Open(error))
        return false;
    QSqlDatabase database = QSqlDatabase::database(text(m_connection));
    database.transaction();
    QSqlQuery insert(database);
    insert.prepare("INSERT INTO files VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    for (const THistoryFile& file : files) {
        for (const QVariant& value :
             {QVariant(text(file.Started)), QVariant(text(file.Site)), QVariant(file.Download ? 1 : 0),
              QVariant(text(file.RemotePath)), QVariant(text(file.LocalPath)), QVariant(qlonglong(file.Size)),
              QVariant(qlonglong(file.Bytes)), QVariant(file.Connections), QVariant(file.Seconds),
              QVariant(text(file.State)), QVariant(text(file.Verdict))})
            insert.addBindValue(value);
        if (!insert.exec()) {
            error = Fill(Tr("Engine", "the history %1 cannot be written: %2"), {m_path, lastError(insert)});
            database.rollback();
            return false;
        }
    }
    QSqlQuery prune(database);
    prune.prepare("DELETE FROM files WHERE rowid NOT IN (SELECT rowid FROM files ORDER BY rowid DESC LIMIT ?)");
    prune.addBindValue(qlonglong(std::max<int64_t>(maxFiles, 0)));
    if (!prune.exec()) {
        error = Fill(Tr("Engine", "the history %1 cannot be written: %2"), {m_path, lastError(prune)});
        database.rollback();
        return false;
    }
    return database.commit();
}

std::vector<THistoryFile> TRunHistory::Files(bool failedOnly, std::string& error)
{
    std::vector<THistoryFile> files;
    if (!Open(error))
        return files;
    QSqlQuery query(QSqlDatabase::database(text(m_connection)));
    if (!query.exec("SELECT started, site, download, remote, local, size, bytes, connections, seconds, state, "
                    "verdict FROM files ORDER BY rowid DESC")) {
        error = Fill(Tr("Engine", "the history %1 cannot be read: %2"), {m_path, lastError(query)});
        return files;
    }
    while (query.next()) {
        THistoryFile file;
        file.Started = query.value(0).toString().toStdString();
        file.Site = query.value(1).toString().toStdString();
        file.Download = query.value(2).toInt() != 0;
        file.RemotePath = query.value(3).toString().toStdString();
        file.LocalPath = query.value(4).toString().toStdString();
        file.Size = query.value(5).toLongLong();
        file.Bytes = query.value(6).toLongLong();
        file.Connections = query.value(7).toInt();
        file.Seconds = query.value(8).toDouble();
        file.State = query.value(9).toString().toStdString();
        file.Verdict = query.value(10).toString().toStdString();
        if (!failedOnly || file.Failed())
            files.push_back(std::move(file));
    }
    return files;
}

std::string HistoryCsv(const std::vector<THistoryFile>& files)
{
    std::string csv = "started,site,direction,remote,local,size,bytes,connections,seconds,state,verdict\r\n";
    for (const THistoryFile& file : files) {
        for (const std::string& field :
             {file.Started, file.Site, std::string(file.Download ? "download" : "upload"), file.RemotePath,
              file.LocalPath, std::to_string(file.Size), std::to_string(file.Bytes), std::to_string(file.Connections),
              std::to_string(file.Seconds), file.State, file.Verdict})
            csv += csvField(field) + ",";
        csv.back() = '\r';
        csv += "\n";
    }
    return csv;
}
