#pragma once

// The real window against a real server, for widget tests: its data, local and remote
// directories, and helpers that find its controls by name, answer its dialogs from a timer
// (so that their nested event loops run), and wait for the session.

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeView>

#include <gtest/gtest.h>

#include "gui/MainForm.h"
#include "gui/DarkPalette.h"
#include "support/FtpServer.h"
#include "support/TestTree.h"
#include "support/WaitFor.h"

namespace testsupport {

// Acts on the next modal dialog as soon as it is open: act gets the dialog.
void answerDialog(std::function<void(QWidget* dialog)> act, int timeoutMs = 10000);
// Clicks the button of the open modal dialog whose text (without "&") is text.
void answerDialogWith(const QString& text);

class GuiSession
{
public:
    // ini: the settings file's text (connections, passive mode and more).
    GuiSession(FtpServer& server, const std::string& ini = "");
    ~GuiSession();

    // Fills the tool bar's fields and clicks Connect; true once connected and listed.
    bool connectFromToolBar();
    bool settled(int timeoutMs = 20000);
    // The server's working directory with a trailing "/"; servers that chroot show "/".
    std::string workDir() const;
    // Connected at "/", reconnects into workDir() (answering the question whether to drop
    // the session); true once listed there.
    bool openWorkDir();
    // The row of a pane's model with this name; -1 when there is none.
    int row(TPane pane, const std::string& name) const;
    // Selects these rows of a pane in its view, as the mouse would.
    void select(TPane pane, const std::vector<std::string>& names);
    QTreeView* list(TPane pane) const;
    // Double clicks a row of a pane once the view has laid it out.
    void doubleClick(TPane pane, const std::string& name);
    // Gives a pane's list the focus, as a click would; a closed dialog leaves no window active.
    void focus(TPane pane);
    template <typename T> T* child(const char* name) const { return window->findChild<T*>(name); }

    std::string localDir() const { return m_local.path().toStdString() + "/"; }
    std::string dataDir() const { return m_data.path().toStdString() + "/"; }
    std::string remoteDir() const { return m_server.localWorkDir() + "/"; }

    FtpServer& m_server;
    QTemporaryDir m_data;
    QTemporaryDir m_local;
    std::unique_ptr<TMainForm> window;
    std::vector<QString> opened;      // paths given to the desktop's default application
    std::vector<QStringList> started; // command lines started (the text editor)
};

// A window on a server with docs/a.bin and b.bin, started by start().
class Window : public ::testing::Test
{
protected:
    void start(const QStringList& variant = {}, const std::string& ini = "")
    {
        std::string root = server.localWorkDir() + "/";
        std::filesystem::create_directories(root + "docs");
        ASSERT_TRUE(writePatternFile(root + "docs/a.bin", 120000, 1));
        ASSERT_TRUE(writePatternFile(root + "b.bin", 3000, 2));
        server.setVariant(variant);
        ASSERT_TRUE(server.start()) << server.error();
        session = std::make_unique<GuiSession>(server, ini);
    }
    void TearDown() override
    {
        session.reset();
        server.stop();
    }

    FtpServer server;
    std::unique_ptr<GuiSession> session;
};

} // namespace testsupport
