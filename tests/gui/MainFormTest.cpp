// The real window against real servers, driven as a user drives it: the tool bar, the panes,
// drag and drop, a run on four connections, each question in its real dialog.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>

#include <QAbstractButton>
#include <QAbstractItemModelTester>
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QPushButton>
#include <QTableWidget>
#include <QDialog>
#include <QDragEnterEvent>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QProgressBar>
#include <QSplitter>
#include <QTabBar>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QTest>
#include <QToolButton>

#include "gui/Colours.h"
#include "gui/GuiTest.h"
#include "gui/PaneModel.h"
#include "gui/dialogs/HistoryDialog.h"
#include "support/TestTree.h"

using namespace testsupport;
namespace fs = std::filesystem;

namespace {

// A drop as a file manager or the other pane makes it, onto a list's rows.
void dropOn(QAbstractItemView* view, QMimeData* data)
{
    QPoint at = view->viewport()->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &enter);
    QDragMoveEvent move(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &move);
    QDropEvent drop(at, Qt::CopyAction, data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(view->viewport(), &drop);
}

class WindowOnServer : public ::testing::TestWithParam<ServerKind>
{
protected:
    void SetUp() override
    {
        std::string root = server.localWorkDir() + "/";
        fs::create_directories(root + "docs");
        ASSERT_TRUE(writePatternFile(root + "docs/a.bin", 120000, 1));
        ASSERT_TRUE(writePatternFile(root + "b.bin", 3000, 2));
        ASSERT_TRUE(server.start()) << server.error();
        session = std::make_unique<GuiSession>(server);
    }
    void TearDown() override
    {
        session.reset();
        server.stop();
    }

    FtpServer server{GetParam()};
    std::unique_ptr<GuiSession> session;
};

} // namespace

TEST_P(WindowOnServer, ConnectsFromTheToolBarAndBrowsesWithMouseAndKeyboard)
{
    TMainForm& window = *session->window;
    EXPECT_EQ(window.windowTitle(), "QuillFTP 2.3 - Not connected");
    ASSERT_TRUE(session->connectFromToolBar());
    EXPECT_EQ(window.windowTitle(), "QuillFTP 2.3 - 127.0.0.1");
    EXPECT_EQ(session->child<QLabel>("sbStatusPanel0")->text(), "Connected");
    ASSERT_TRUE(session->openWorkDir());
    std::string work = session->workDir();
    QTreeView* remote = session->list(TPane::Remote);
    ASSERT_GE(session->row(TPane::Remote, "docs"), 0);
    EXPECT_EQ(remote->model()->index(session->row(TPane::Remote, "b.bin"), 1).data().toString(), "3,000");
    EXPECT_EQ(remote->model()->index(0, 0).data().toString(), "..");
    // Both panes show their order from the start.
    for (TPane pane : {TPane::Local, TPane::Remote}) {
        auto* header = session->list(pane)->header();
        EXPECT_EQ(header->sortIndicatorSection(), 0);
        EXPECT_EQ(header->sortIndicatorOrder(), Qt::AscendingOrder);
    }

    // Double click into the directory, Backspace back up.
    session->doubleClick(TPane::Remote, "docs");
    ASSERT_TRUE(waitFor([&] { return window.Logic().RemoteDir() == work + "docs/" && session->settled(0); }));
    EXPECT_GE(session->row(TPane::Remote, "a.bin"), 0);
    EXPECT_EQ(session->child<QComboBox>("cbHost")->currentText().toStdString(), work + "docs/");
    session->focus(TPane::Remote);
    QTest::keyClick(remote, Qt::Key_Backspace);
    ASSERT_TRUE(waitFor([&] { return window.Logic().RemoteDir() == work && session->settled(0); }));
    // Enter on a directory row enters it.
    remote->setCurrentIndex(remote->model()->index(session->row(TPane::Remote, "docs"), 0));
    QTest::keyClick(remote, Qt::Key_Return);
    ASSERT_TRUE(waitFor([&] { return window.Logic().RemoteDir() == work + "docs/" && session->settled(0); }));

    // Typing jumps to a name; the Menu key opens the selection's popup at that row.
    session->focus(TPane::Remote);
    QTest::keyClicks(remote, "a.");
    ASSERT_EQ(remote->currentIndex().row(), session->row(TPane::Remote, "a.bin"));
    QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(), remote->mapToGlobal(QPoint()));
    QApplication::sendEvent(remote, &key);
    auto* popup = session->child<QMenu>("pmHostSelected");
    ASSERT_TRUE(waitFor([&] { return popup->isVisible(); }, 2000));
    QRect row = remote->visualRect(remote->currentIndex());
    EXPECT_TRUE(QRect(remote->viewport()->mapToGlobal(row.topLeft()), row.size() + QSize(0, row.height() + 2))
                    .contains(popup->pos()));
    QAction* download = session->child<QAction>("miRemoteDownload");
    popup->setActiveAction(download);
    QTest::keyClick(popup, Qt::Key_Return);
    ASSERT_TRUE(waitFor([&] { return fs::exists(session->localDir() + "a.bin"); }, 5000));
    ASSERT_TRUE(session->settled());
    EXPECT_EQ(fileHash(session->localDir() + "a.bin"), fileHash(session->remoteDir() + "docs/a.bin"));
    // The local pane was read again, and its strip counts what it shows.
    EXPECT_GE(session->row(TPane::Local, "a.bin"), 0);
    EXPECT_EQ(session->child<QLabel>("plLocalStatus")->text(), "0 folder(s) 1 file(s) 120,000 byte(s) listed");
}

TEST_P(WindowOnServer, RowsDraggedToTheOtherPaneAndFilesDroppedFromAFileManagerTransfer)
{
    ASSERT_TRUE(session->connectFromToolBar());
    ASSERT_TRUE(session->openWorkDir());
    // Remote rows onto the local pane: a download.
    session->select(TPane::Remote, {"docs", "b.bin"});
    QTreeView* remote = session->list(TPane::Remote);
    std::unique_ptr<QMimeData> rows(remote->model()->mimeData(remote->selectionModel()->selectedRows()));
    ASSERT_TRUE(rows->hasFormat(kPaneRowsMimeType));
    // To a file manager the rows are ftp:// addresses without the password.
    ASSERT_FALSE(rows->urls().isEmpty());
    EXPECT_EQ(rows->urls()[0].scheme(), "ftp");
    EXPECT_TRUE(rows->urls()[0].password().isEmpty());
    dropOn(session->list(TPane::Local), rows.get());
    ASSERT_TRUE(
        waitFor([&] { return session->window->Logic().Run().Running() || fs::exists(session->localDir() + "b.bin"); }));
    ASSERT_TRUE(session->settled(30000));
    EXPECT_EQ(fileHash(session->localDir() + "b.bin"), fileHash(session->remoteDir() + "b.bin"));
    EXPECT_EQ(fileHash(session->localDir() + "docs/a.bin"), fileHash(session->remoteDir() + "docs/a.bin"));

    // Files from a file manager onto the remote pane: an upload into its directory.
    QTemporaryDir elsewhere;
    std::string outside = elsewhere.path().toStdString() + "/";
    ASSERT_TRUE(writePatternFile(outside + "dropped.bin", 70000, 9));
    auto files = std::make_unique<QMimeData>();
    files->setUrls({QUrl::fromLocalFile(QString::fromStdString(outside + "dropped.bin"))});
    dropOn(session->list(TPane::Remote), files.get());
    ASSERT_TRUE(waitFor(
        [&] { return fileHash(session->remoteDir() + "dropped.bin") == fileHash(outside + "dropped.bin"); }, 30000));
    ASSERT_TRUE(session->settled());
    // Other drops are refused: a web address.
    QMimeData web;
    web.setUrls({QUrl("https://example.org/x")});
    EXPECT_FALSE(remote->model()->canDropMimeData(&web, Qt::CopyAction, -1, -1, {}));
}

INSTANTIATE_TEST_SUITE_P(Servers, WindowOnServer, ::testing::Values(ServerKind::Pyftpdlib, ServerKind::Vsftpd),
                         [](const ::testing::TestParamInfo<ServerKind>& info) { return serverName(info.param); });

// ---------------------------------------------------------------- with pyftpdlib

TEST_F(Window, AnAddressInTheHostBoxCtrlFConnectsAndCtrlRReturnsToTheDirectory)
{
    start();
    TMainForm& window = *session->window;
    auto* host = session->child<QComboBox>("cbHostName");
    host->setEditText(QString::fromStdString("ftp://" + server.user() + ":" + server.password() +
                                             "@127.0.0.1:" + server.portText() + "/docs/"));
    host->setFocus();
    QTest::keyClick(host, Qt::Key_Return); // the box is the focus widget; it hands keys to its line
    ASSERT_TRUE(waitFor([&] { return window.Logic().RemoteDir() == "/docs/" && session->settled(0); }, 20000));
    // The address was taken apart into the fields.
    EXPECT_EQ(host->currentText(), "127.0.0.1");
    EXPECT_EQ(session->child<QLineEdit>("edPort")->text().toStdString(), server.portText());
    EXPECT_GE(session->row(TPane::Remote, "a.bin"), 0);
    // The site went into the history, masked.
    ASSERT_EQ(host->count(), 1);
    EXPECT_TRUE(host->itemText(0).endsWith(":********"));

    window.Logic().Disconnect();
    EXPECT_EQ(window.windowTitle(), "QuillFTP 2.3 - Not connected");
    QTest::keyClick(&window, Qt::Key_F, Qt::ControlModifier);
    EXPECT_EQ(window.Logic().SessionState(), ssConnecting);
    ASSERT_TRUE(waitFor([&] { return window.Logic().SessionState() == ssConnected; }, 20000));

    // Ctrl+R logs in again (after asking) and returns to the directory shown.
    ASSERT_TRUE(session->settled());
    session->doubleClick(TPane::Remote, "docs");
    ASSERT_TRUE(waitFor([&] { return window.Logic().RemoteDir() == "/docs/" && session->settled(0); }));
    int logins = 0;
    for (const TLogLine& line : window.Logic().Logs().Lines(0))
        logins += line.Text.rfind("> USER", 0) == 0 ? 1 : 0;
    answerDialogWith("Yes"); // "Break current connection ?"
    QTest::keyClick(&window, Qt::Key_R, Qt::ControlModifier);
    ASSERT_TRUE(waitFor([&] {
        int now = 0;
        for (const TLogLine& line : window.Logic().Logs().Lines(0))
            now += line.Text.rfind("> USER", 0) == 0 ? 1 : 0;
        return now == logins + 1 && session->settled(0);
    }));
    EXPECT_EQ(window.Logic().RemoteDir(), "/docs/");
    EXPECT_GE(session->row(TPane::Remote, "a.bin"), 0);
}

TEST_F(Window, ARunOnFourConnectionsMovesTheRowsTheGaugeAndTheTree)
{
    start({"--rate", "600000"}, "[FtpCliNum]\nFtpCliNum=4\n");
    ASSERT_TRUE(writePatternFile(server.localWorkDir() + "/big.bin", 4000000, 3));
    ASSERT_TRUE(session->connectFromToolBar());
    session->window->Logic().RemoteRefresh();
    ASSERT_TRUE(session->settled());
    session->select(TPane::Remote, {"big.bin", "b.bin"});
    session->child<QAction>("miRemoteDownload")->trigger();
    auto* status = session->child<QTreeView>("lvStatus");
    auto* gauge = session->child<QProgressBar>("Gauge1");
    auto* queue = session->child<QTreeView>("tvQuene");
    // While it runs: every connection's row transfers, the gauge and the panels show the figures.
    ASSERT_TRUE(waitFor(
        [&] {
            int transferring = 0;
            for (int row = 0; row < status->model()->rowCount(); ++row)
                transferring += status->model()->index(row, 1).data().toString() == "Transfering";
            return transferring == 4;
        },
        15000));
    ASSERT_TRUE(waitFor(
        [&] { return gauge->isVisible() && !session->child<QLabel>("sbStatusPanel3")->text().isEmpty(); }, 5000));
    EXPECT_TRUE(session->child<QLabel>("sbStatusPanel1")->text().contains("/s)"));
    EXPECT_TRUE(session->child<QLabel>("sbStatusPanel3")->text().startsWith("Elapsed: "));
    QModelIndex downloads = queue->model()->index(0, 0, queue->model()->index(0, 0));
    ASSERT_EQ(downloads.data().toString(), "Download");
    bool marked = false;
    for (int row = 0; row < queue->model()->rowCount(downloads); ++row)
        marked = marked || queue->model()->index(row, 0, downloads).data().toString().startsWith("#");
    EXPECT_TRUE(marked);
    EXPECT_TRUE(waitFor([&] { return !status->model()->index(1, 3).data().toString().isEmpty(); }, 5000)); // Count
    // One log page per connection, and the tabs that switch them have room.
    auto* pages = session->child<QTabBar>("pcDisplay");
    EXPECT_EQ(pages->count(), 4);
    EXPECT_GE(pages->height(), pages->sizeHint().height());
    // The transfers view: a row per file, the split one on its connections.
    auto* transfers = session->child<QTreeView>("lvTransfers");
    ASSERT_TRUE(transfers->isVisible());
    ASSERT_TRUE(waitFor([&] { return transfers->model()->rowCount() == 2; }, 5000));
    int big = transfers->model()->index(0, 0).data().toString() == "big.bin" ? 0 : 1;
    EXPECT_TRUE(waitFor([&] { return transfers->model()->index(big, 5).data().toString().contains(","); }, 5000))
        << "the split file on more than one connection";

    ASSERT_TRUE(session->settled(60000));
    EXPECT_FALSE(gauge->isVisible());
    EXPECT_EQ(fileHash(session->localDir() + "big.bin"), fileHash(session->remoteDir() + "big.bin"));
    EXPECT_EQ(status->model()->index(1, 1).data().toString(), "Ready");
    // The finished files stay, with their verdicts, under Done.
    EXPECT_EQ(transfers->model()->index(big, 7).data().toString(), "4,000,000 bytes checked; time kept");
    auto* filters = session->child<QTabBar>("tbTransferFilter");
    EXPECT_EQ(filters->tabText(3), "Done (2)");
    filters->setCurrentIndex(2);
    EXPECT_EQ(transfers->model()->rowCount(), 0);

    // The history dialog lists the run's files, filters the failed ones out and exports CSV.
    std::string csv = session->localDir() + "history.csv";
    answerDialog([&](QWidget* dialog) {
        auto* history = qobject_cast<TfmHistory*>(dialog);
        ASSERT_NE(history, nullptr);
        auto* table = history->findChild<QTableWidget*>("tvHistory");
        EXPECT_EQ(table->rowCount(), 2);
        history->findChild<QCheckBox*>("cbHistoryFailed")->setChecked(true);
        EXPECT_EQ(table->rowCount(), 0);
        history->findChild<QCheckBox*>("cbHistoryFailed")->setChecked(false);
        history->AskExportPath = [&] { return QString::fromStdString(csv); };
        QTest::mouseClick(history->findChild<QPushButton*>("btExportCsv"), Qt::LeftButton);
        history->reject();
    });
    session->child<QAction>("miHistory")->trigger();
    std::ifstream exported(csv);
    std::string header;
    std::getline(exported, header);
    EXPECT_EQ(header.rfind("started,site,direction,remote,local", 0), 0u) << header;
}

TEST_F(Window, EveryQuestionIsAskedInItsRealDialog)
{
    start();
    TMainForm& window = *session->window;
    ASSERT_TRUE(session->connectFromToolBar());

    // "Break current connection ?": No leaves it alone.
    answerDialog([](QWidget* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Confirm");
        EXPECT_TRUE(dialog->findChild<QLabel*>("qt_msgbox_label")->text().contains("Break current connection ?"));
        answerDialogWith("No");
        dialog->findChildren<QAbstractButton*>().front(); // the helper above clicks on its next tick
    });
    QTest::mouseClick(session->child<QAbstractButton>("sbConnect"), Qt::LeftButton);
    EXPECT_EQ(window.Logic().SessionState(), ssConnected);

    // The input box of Make Directory, on the remote pane.
    session->focus(TPane::Remote);
    answerDialog([](QWidget* dialog) {
        auto* input = qobject_cast<QInputDialog*>(dialog);
        ASSERT_NE(input, nullptr);
        EXPECT_EQ(input->windowTitle(), "Make Directory");
        input->setTextValue("made");
        input->accept();
    });
    session->child<QAction>("miMakeDirectory")->trigger();
    ASSERT_TRUE(session->settled());
    EXPECT_TRUE(fs::is_directory(session->remoteDir() + "made"));
    EXPECT_GE(session->row(TPane::Remote, "made"), 0);

    // Rename starts from the name with its stem selected; Del asks, naming what goes.
    session->select(TPane::Remote, {"b.bin"});
    answerDialog([](QWidget* dialog) {
        auto* input = qobject_cast<QInputDialog*>(dialog);
        ASSERT_NE(input, nullptr);
        EXPECT_EQ(input->textValue(), "b.bin");
        ASSERT_TRUE(waitFor([&] { return input->findChild<QLineEdit*>()->selectedText() == "b"; }, 2000));
        input->reject();
    });
    session->child<QAction>("miRemoteRename")->trigger();
    answerDialog([](QWidget* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Delete");
        EXPECT_TRUE(dialog->findChild<QLabel*>("qt_msgbox_label")
                        ->text()
                        .contains("Delete the file \"b.bin\" from the server?"));
        answerDialogWith("No");
    });
    QTest::keyClick(session->list(TPane::Remote), Qt::Key_Delete);
    EXPECT_TRUE(fs::exists(session->remoteDir() + "b.bin"));

    // FileExists for a download onto a local file: OverWrite.
    std::ofstream(session->localDir() + "b.bin") << "old";
    session->select(TPane::Remote, {"b.bin"});
    answerDialog([](QWidget* dialog) {
        EXPECT_EQ(dialog->objectName(), "TfmFileExists");
        EXPECT_EQ(dialog->windowTitle(), "FileExists");
        QTest::mouseClick(dialog->findChild<QAbstractButton*>("btOverWrite"), Qt::LeftButton);
    });
    session->window->Logic().DownloadSelected();
    ASSERT_TRUE(session->settled(30000));
    EXPECT_EQ(fileHash(session->localDir() + "b.bin"), fileHash(session->remoteDir() + "b.bin"));

    // A message, answered with OK.
    answerDialogWith("OK");
    session->child<QAction>("miMainConnection")->trigger();
    EXPECT_FALSE(window.Logic().Settings().MainConnDownload);

    // Closing with the session open asks first: No keeps the window.
    answerDialog([](QWidget* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Quit");
        EXPECT_TRUE(
            dialog->findChild<QLabel*>("qt_msgbox_label")->text().contains("Still connected to host, Quit anyway?"));
        for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>())
            if (button->text().remove('&') == "No")
                QTest::mouseClick(button, Qt::LeftButton);
    });
    window.close();
    EXPECT_TRUE(window.isVisible());
}

TEST_F(Window, EditFetchesIntoTmpAndF5RefreshesTheActivePane)
{
    start();
    TMainForm& window = *session->window;
    ASSERT_TRUE(session->connectFromToolBar());
    session->select(TPane::Remote, {"b.bin"});
    session->child<QAction>("miRemoteEdit")->trigger();
    ASSERT_TRUE(waitFor([&] { return !session->opened.empty(); }, 20000));
    std::string fetched = session->opened.front().toStdString();
    EXPECT_EQ(fetched, window.Logic().TmpDir() + "b.bin");
    EXPECT_EQ(fileHash(fetched), fileHash(session->remoteDir() + "b.bin"));
    // What the user views is readable by the user alone.
    EXPECT_EQ(fs::status(window.Logic().TmpDir()).permissions() & fs::perms::all, fs::perms::owner_all);
    ASSERT_TRUE(session->settled());

    // F5 on the remote pane lists it again; on the local pane, the local directory.
    ASSERT_TRUE(writePatternFile(session->remoteDir() + "new.bin", 10, 4));
    session->focus(TPane::Remote);
    QTest::keyClick(session->list(TPane::Remote), Qt::Key_F5);
    ASSERT_TRUE(waitFor([&] { return session->row(TPane::Remote, "new.bin") >= 0; }));
    std::ofstream(session->localDir() + "fresh.txt") << "x";
    session->focus(TPane::Local);
    QTest::keyClick(session->list(TPane::Local), Qt::Key_F5);
    EXPECT_GE(session->row(TPane::Local, "fresh.txt"), 0);
    // The active pane's strip is the green one.
    EXPECT_EQ(session->child<QLabel>("plLocalStatus")->palette().color(QPalette::Window),
              WindowColours(window.palette()).ActiveStrip);

    // A path typed into the local path box opens on Enter.
    auto* pathBox = session->child<QComboBox>("cbLocal");
    fs::create_directories(session->localDir() + "typed");
    pathBox->lineEdit()->setText(QString::fromStdString(session->localDir() + "typed"));
    QTest::keyClick(pathBox->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(window.Logic().Local().Path(), session->localDir() + "typed/");
    EXPECT_EQ(pathBox->currentText().toStdString(), session->localDir() + "typed/");
}

TEST_F(Window, EveryActionAndButtonHasAnIconAndANameAndNoShortcutClashes)
{
    start();
    TMainForm& window = *session->window;
    std::map<QString, QString> shortcuts;
    for (QAction* action : window.findChildren<QAction*>()) {
        if (action->isSeparator() || action->menu() || action->text().isEmpty() || !action->isVisible())
            continue;
        // A choice among several (the speed limits) shows its tick in the icon's place.
        EXPECT_TRUE(!action->icon().isNull() || (action->isCheckable() && action->actionGroup()))
            << action->objectName().toStdString() << " " << action->text().toStdString();
        for (const QKeySequence& key : action->shortcuts()) {
            QString text = key.toString();
            EXPECT_EQ(shortcuts.count(text), 0u)
                << text.toStdString() << " clashes: " << action->objectName().toStdString() << " and "
                << shortcuts[text].toStdString();
            shortcuts[text] = action->objectName();
        }
    }
    // The remote popup says "Calculate Size" where the main menu says "Calc Size".
    auto* calculate = session->child<QAction>("pmiCalculateSize");
    ASSERT_NE(calculate, nullptr);
    EXPECT_EQ(calculate->text(), "Calculate Size");
    EXPECT_TRUE(session->child<QMenu>("pmHostSelected")->actions().contains(calculate));
    for (const char* key : {"Ctrl+F", "Ctrl+D", "Ctrl+R", "F4", "F5", "F1", "Ctrl+A"})
        EXPECT_EQ(shortcuts.count(key), 1u) << key;
    for (QToolButton* button : window.findChildren<QToolButton*>()) {
        if (!button->isVisible() || !button->text().isEmpty())
            continue;
        EXPECT_FALSE(button->accessibleName().isEmpty() && button->toolTip().isEmpty())
            << button->objectName().toStdString();
    }
    for (const char* name : {"sbConnect", "sbAbort", "sbDisconnect"}) {
        auto* button = session->child<QToolButton>(name);
        ASSERT_NE(button, nullptr) << name;
        EXPECT_FALSE(button->icon().isNull());
        EXPECT_FALSE(button->accessibleName().isEmpty());
    }
    // The tool bar's labels are the buddies of their fields, with access keys of their own.
    auto accessKey = [](const QString& text) {
        qsizetype at = text.indexOf('&');
        return at >= 0 && at + 1 < text.size() ? text[at + 1].toLower() : QChar();
    };
    std::set<QChar> menuKeys;
    for (QAction* menu : window.menuBar()->actions())
        menuKeys.insert(accessKey(menu->text()));
    for (const char* field : {"cbHostName", "edUser", "edPass", "edPort"}) {
        QLabel* labelled = nullptr;
        for (QLabel* label : window.findChildren<QLabel*>())
            if (label->buddy() && label->buddy()->objectName() == field)
                labelled = label;
        ASSERT_NE(labelled, nullptr) << field;
        EXPECT_EQ(menuKeys.count(accessKey(labelled->text())), 0u) << labelled->text().toStdString();
    }
    // The Part's controls are there by name.
    for (const char* name :
         {"tvQuene", "lvLocal", "lvHost", "cbLocal", "cbHost", "lvStatus", "pcDisplay", "plLocalStatus", "plHostStatus",
          "Gauge1", "sbStatus", "Splitter1", "Splitter2", "Splitter3"})
        EXPECT_NE(window.findChild<QObject*>(name), nullptr) << name;
}

TEST_F(Window, TheModelsKeepQtsRulesWhileRowsAreReplacedSortedAndResized)
{
    start({}, "[FtpCliNum]\nFtpCliNum=3\n");
    TMainForm& window = *session->window;
    std::vector<std::unique_ptr<QAbstractItemModelTester>> testers;
    for (const char* name : {"lvLocal", "lvHost", "tvQuene", "lvStatus"})
        testers.push_back(std::make_unique<QAbstractItemModelTester>(
            session->child<QAbstractItemView>(name)->model(), QAbstractItemModelTester::FailureReportingMode::Fatal));
    auto* log = session->child<QListView>("reLog");
    testers.push_back(std::make_unique<QAbstractItemModelTester>(
        log->model(), QAbstractItemModelTester::FailureReportingMode::Fatal));

    ASSERT_TRUE(session->connectFromToolBar());
    TfmMain& logic = window.Logic();
    logic.SortByColumn(1);
    logic.SortByColumn(1);
    logic.SortByColumn(2);
    logic.RemoteSelectAll();
    logic.RemoteInvertSelection();
    logic.Local().SortByColumn(0);
    logic.ResizeConnectionCount(5);
    logic.ResizeConnectionCount(2);
    session->select(TPane::Remote, {"docs", "b.bin"});
    logic.DownloadSelected();
    ASSERT_TRUE(session->settled(30000));
    logic.ClearLog(0);
    for (int line = 0; line < 50; ++line)
        logic.ShowLogLine(0, "< 200 line " + std::to_string(line));
    pumpFor(100);
    EXPECT_EQ(log->model()->rowCount(), static_cast<int>(logic.Logs().Lines(0).size()));
    logic.Disconnect();
    pumpFor(100);
    EXPECT_EQ(session->list(TPane::Remote)->model()->rowCount(), 0);
}

TEST_F(Window, ADarkPaletteKeepsTheColoursReadableAndAChangeRecoloursThem)
{
    start();
    TMainForm& window = *session->window;
    QPalette dark = darkPalette();
    TWindowColours colours = WindowColours(dark);
    for (const QColor& line : {colours.Command, colours.Reply, colours.Message, colours.Refusal})
        EXPECT_GE(ContrastRatio(line, dark.color(QPalette::Base)), 4.5) << line.name().toStdString();
    EXPECT_GE(ContrastRatio(colours.ActiveStrip, colours.ActiveStripText), 4.5);
    EXPECT_GE(ContrastRatio(colours.Strip, colours.StripText), 4.5);
    TWindowColours light = WindowColours(QPalette(Qt::white));
    EXPECT_GE(ContrastRatio(light.Command, QColor(Qt::white)), 4.5);

    window.Logic().ShowLogLine(0, "> USER someone");
    pumpFor(50);
    auto* log = session->child<QListView>("reLog");
    QColor before = log->model()->index(0, 0).data(Qt::ForegroundRole).value<QColor>();
    QApplication::setPalette(dark);
    pumpFor(50);
    QColor after = log->model()->index(0, 0).data(Qt::ForegroundRole).value<QColor>();
    EXPECT_NE(before, after);
    EXPECT_GE(ContrastRatio(after, dark.color(QPalette::Base)), 4.5);
    QApplication::setPalette(QPalette());
}

TEST_F(Window, TheLayoutAndEachPanesOrderAreKeptBetweenRuns)
{
    start();
    {
        TMainForm& window = *session->window;
        window.resize(700, 500);                // within the offscreen screen of 800 x 600
        window.Logic().Local().SortByColumn(1); // by size, ascending
        window.Logic().Local().SortByColumn(1); // descending
        auto* middle = session->child<QSplitter>("Splitter3");
        QList<int> sizes = middle->sizes();
        sizes[0] = 230;
        middle->setSizes(sizes);
        pumpFor(50);
        window.close(); // in ssReady nothing is asked
    }
    auto* again = new TMainForm(session->dataDir(), session->dataDir());
    again->Start("");
    pumpFor(50);
    EXPECT_EQ(again->size(), QSize(700, 500));
    EXPECT_EQ(again->Logic().Local().SortColumn(), 1);
    EXPECT_FALSE(again->Logic().Local().SortAscending());
    EXPECT_NEAR(again->findChild<QSplitter*>("Splitter3")->sizes()[0], 230, 2);
    again->close();
    delete again;
}
