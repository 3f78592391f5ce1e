#pragma once

// A main window logged in to a real server, with its own data and local directories, for
// whole transfer runs.

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include <QTemporaryDir>

#include "support/FtpServer.h"
#include "support/ScriptedView.h"
#include "support/Selection.h"
#include "support/WaitFor.h"
#include "ui/MainWindow.h"

namespace testsupport {

// A settings file: connection count, whether connection 0 transfers, split size, more lines.
inline std::string runSettings(int connections, bool mainConnDownload, int64_t splitSize = 1000000,
                               const std::string& more = "")
{
    return "[FtpCliNum]\nFtpCliNum=" + std::to_string(connections) +
           "\n[MTFileSize]\nMTFileSize=" + std::to_string(splitSize) +
           "\n[PasvMode]\nPasvMode=1\n[MainConnDownload]\nMainConnDownload=" + (mainConnDownload ? "1" : "0") + "\n" +
           more;
}

class RunSession
{
public:
    // ini: the settings file's text; the window starts with it and connects to server.
    RunSession(const FtpServer& server, const std::string& ini) : m_server(server)
    {
        std::ofstream(dataDir() + "quillftp.ini") << ini;
        window.FormCreate();
        window.Local().SetPath(localDir());
    }
    // A restart: a new window on the directories an earlier (closed) session left.
    RunSession(const FtpServer& server, const RunSession& earlier)
        : m_server(server), m_dataPath(earlier.dataDir()), m_localPath(earlier.localDir())
    {
        window.FormCreate();
        window.Local().SetPath(localDir());
    }
    ~RunSession()
    {
        if (!m_closed)
            window.FormDestroy();
    }

    bool connect()
    {
        window.SetToolBar({"127.0.0.1", m_server.portText(), m_server.user(), m_server.password()});
        window.ConnectFromToolBar();
        return waitFor([&] { return window.SessionState() == ssConnected; });
    }
    // Selects these names of the remote pane (nothing else).
    void select(const std::vector<std::string>& names) { selectRemote(window, names); }
    void download(const std::vector<std::string>& names)
    {
        select(names);
        window.DownloadSelected();
    }
    bool runEnded(int timeoutMs = 60000)
    {
        return waitFor([&] { return !window.Run().Running() && window.SessionState() == ssConnected; }, timeoutMs);
    }
    // Lines of every connection's log that start with prefix.
    int countLines(const std::string& prefix, int connection = -1) const
    {
        int count = 0;
        for (int n = 0; n < window.Logs().Count(); ++n)
            if (connection < 0 || n == connection)
                for (const TLogLine& line : window.Logs().Lines(n))
                    count += line.Text.rfind(prefix, 0) == 0;
        return count;
    }
    void dumpLogs() const
    {
        for (int n = 0; n < window.Logs().Count(); ++n)
            for (const TLogLine& line : window.Logs().Lines(n))
                std::cerr << "    log " << n << ": " << line.Text << "\n";
    }
    void close()
    {
        window.FormDestroy();
        m_closed = true;
    }

    std::string dataDir() const { return m_dataPath; }
    std::string localDir() const { return m_localPath; }
    std::string remoteDir() const { return m_server.localWorkDir() + "/"; }

private:
    const FtpServer& m_server;
    QTemporaryDir m_data;
    QTemporaryDir m_local;
    std::string m_dataPath = m_data.path().toStdString() + "/";
    std::string m_localPath = m_local.path().toStdString() + "/";
    bool m_closed = false;

public:
    ScriptedView view;
    TfmMain window{view, dataDir(), dataDir()};
};

} // namespace testsupport
