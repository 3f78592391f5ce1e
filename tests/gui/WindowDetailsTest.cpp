// The window's smaller behaviours, each as a user meets it: the view style of each pane, the
// local path box's list, the log's skin colour, Edit/View, the panes' widths, sorting by a
// click on a column, and the log while the user reads it.

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <optional>

#include <QAction>
#include <QDialog>
#include <QClipboard>
#include <QComboBox>
#include <QHeaderView>
#include <QImage>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QProgressBar>
#include <QScrollBar>
#include <QSpinBox>
#include <QSplitter>
#include <QTabBar>
#include <QTest>
#include <QToolButton>

#include "gui/Colours.h"
#include "gui/GuiTest.h"
#include "gui/PaneWidget.h"

using namespace testsupport;
namespace fs = std::filesystem;

namespace {

// Sets environment variables for as long as it lives.
class ScopedEnvironment
{
public:
    // Sets name to value, or takes it away when value is null.
    void set(const char* name, const char* value)
    {
        const char* old = std::getenv(name);
        m_saved.push_back({name, old ? std::optional<std::string>(old) : std::nullopt});
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~ScopedEnvironment()
    {
        for (auto it = m_saved.rbegin(); it != m_saved.rend(); ++it)
            it->second ? ::setenv(it->first, it->second->c_str(), 1) : ::unsetenv(it->first);
    }

private:
    std::vector<std::pair<const char*, std::optional<std::string>>> m_saved;
};

// The first column, from the left, where a row of the image differs from its own right end:
// where the row's drawing starts.
int drawnFrom(const QImage& image, const QRect& row)
{
    QRgb background = image.pixel(row.right() - 2, row.center().y());
    for (int x = row.left(); x < row.right() - 2; ++x)
        for (int y = row.top() + 1; y < row.bottom(); ++y)
            if (image.pixel(x, y) != background)
                return x - row.left();
    return -1;
}

} // namespace

TEST_F(Window, EachPaneKeepsItsOwnViewStyleAndShowsItsTick)
{
    start();
    ASSERT_TRUE(session->connectFromToolBar());
    auto* local = session->child<TPaneWidget>("plLocal");
    auto* remote = session->child<TPaneWidget>("plHost");
    auto checked = [&](const char* name) { return session->child<QAction>(name)->isChecked(); };

    session->focus(TPane::Local);
    session->child<QAction>("miList")->trigger();
    EXPECT_EQ(local->CurrentView(), local->Icons());
    session->focus(TPane::Remote);
    EXPECT_TRUE(checked("miDetails")); // the remote pane still shows its details
    EXPECT_EQ(remote->CurrentView(), remote->Details());
    session->child<QAction>("miLargeIcons")->trigger();
    EXPECT_EQ(remote->CurrentView(), remote->Icons());
    EXPECT_EQ(remote->Icons()->viewMode(), QListView::IconMode);

    // Each pane's popup shows that pane's style, whichever pane chose last.
    session->focus(TPane::Local);
    EXPECT_TRUE(checked("miList"));
    EXPECT_FALSE(checked("miLargeIcons"));
    EXPECT_EQ(local->Icons()->viewMode(), QListView::ListMode);
    session->focus(TPane::Remote);
    EXPECT_TRUE(checked("miLargeIcons"));
    EXPECT_FALSE(checked("miList"));
}

TEST_F(Window, TheLocalPathBoxListsNamesIndentedByLevel)
{
    start();
    TfmMain& logic = session->window->Logic();
    std::string root = session->localDir();
    fs::create_directories(root + "music/albums/2024");
    logic.Local().SetVolumeRoots({"/", root});
    logic.Local().SetPath(root + "music/albums/2024/");
    auto* box = session->child<QComboBox>("cbLocal");

    // "/", the volume, "music", "albums", "2024" (the current one, open).
    ASSERT_EQ(box->count(), 5);
    EXPECT_TRUE(box->itemText(0).startsWith("File System  [")) << box->itemText(0).toStdString();
    EXPECT_TRUE(box->itemText(1).endsWith(" bytes free]"));
    EXPECT_EQ(box->itemText(2), "music");
    EXPECT_EQ(box->itemText(3), "albums");
    EXPECT_EQ(box->currentIndex(), 4);
    EXPECT_EQ(box->itemData(3, Qt::ToolTipRole).toString().toStdString(), root + "music/albums/");
    // The closed box holds the path itself, to be typed on from.
    EXPECT_EQ(box->currentText().toStdString(), root + "music/albums/2024/");

    // In the open list each level starts 8 pixels further right.
    box->showPopup();
    QAbstractItemView* list = box->view();
    ASSERT_TRUE(waitFor([&] { return list->isVisible(); }));
    pumpFor(50);
    QImage image = list->viewport()->grab().toImage();
    int music = drawnFrom(image, list->visualRect(list->model()->index(2, 0)));
    int albums = drawnFrom(image, list->visualRect(list->model()->index(3, 0)));
    EXPECT_NEAR(albums - music, 8, 1) << music << " " << albums;
    box->hidePopup();

    // Choosing an item opens its folder.
    box->activated(2);
    EXPECT_EQ(logic.Local().Path(), root + "music/");
    EXPECT_EQ(box->currentText().toStdString(), root + "music/");
}

TEST_F(Window, TheLogWearsTheSkinColourWhereItsLinesStayReadable)
{
    struct Case
    {
        const char* skin; // the settings' Skin section
        bool dark;
        QColor expected; // invalid: the palette's own base colour
    };
    // Windows colour values: 0xBBGGRR.
    const Case cases[] = {{"UseSkin=2\n2Clr=14741759\n", false, QColor(255, 240, 224)},
                          {"UseSkin=1\n", false, QColor(Qt::white)},
                          {"UseSkin=0\n2Clr=14741759\n", false, QColor()},
                          {"UseSkin=1\n", true, QColor()}, // white under light text: not applied
                          {"UseSkin=3\n3Clr=3153936\n", true, QColor(16, 32, 48)}};
    FtpServer unused;
    for (const Case& entry : cases) {
        SCOPED_TRACE(std::string(entry.skin) + (entry.dark ? " dark" : " light"));
        QApplication::setPalette(entry.dark ? darkPalette() : QPalette(Qt::white));
        {
            GuiSession window(unused, std::string("[Skin]\n") + entry.skin);
            auto* log = window.child<QListView>("reLog");
            window.window->Logic().ShowLogLine(0, "> USER someone");
            window.window->Logic().ShowLogLine(0, "< 530 Login incorrect.");
            pumpFor(20);
            QColor base = log->palette().color(QPalette::Base);
            EXPECT_EQ(base, entry.expected.isValid() ? entry.expected : window.window->palette().color(QPalette::Base))
                << base.name().toStdString();
            for (int row = 0; row < 2; ++row)
                EXPECT_GE(ContrastRatio(log->model()->index(row, 0).data(Qt::ForegroundRole).value<QColor>(), base),
                          4.5);
            // A page added later keeps the palette's colour.
            window.window->Logic().IncreaseThreadNumber();
            window.child<QTabBar>("pcDisplay")->setCurrentIndex(window.window->Logic().Logs().Count() - 1);
            EXPECT_EQ(log->palette().color(QPalette::Base), window.window->palette().color(QPalette::Base));
        }
        QApplication::setPalette(QPalette());
    }
}

TEST_F(Window, EditOpensTextInTheTextEditorAndTheRestInTheDefaultApplication)
{
    // A desktop whose text editor is ours.
    QTemporaryDir desktop;
    std::string home = desktop.path().toStdString();
    fs::create_directories(home + "/config");
    fs::create_directories(home + "/data/applications");
    std::ofstream(home + "/config/mimeapps.list") << "[Default Applications]\ntext/plain=missing.desktop;"
                                                     "test-editor.desktop\n";
    std::ofstream(home + "/data/applications/test-editor.desktop")
        << "[Desktop Entry]\nType=Application\nName=Editor\nExec=/opt/editor --new-window %F\n";
    ScopedEnvironment environment;
    environment.set("XDG_CONFIG_HOME", (home + "/config").c_str());
    environment.set("XDG_DATA_HOME", (home + "/data").c_str());
    environment.set("XDG_CURRENT_DESKTOP", nullptr);

    start({"--rate", "200000"});
    std::ofstream(session->remoteDir() + "notes.txt") << std::string(300000, 'n') << "\n";
    std::ofstream(session->localDir() + "local.txt") << "text\n";
    ASSERT_TRUE(session->connectFromToolBar());
    TfmMain& logic = session->window->Logic();
    logic.Local().Refresh();

    session->select(TPane::Local, {"local.txt"});
    session->child<QAction>("miLocalEdit")->trigger();
    ASSERT_EQ(session->started.size(), 1u);
    EXPECT_EQ(session->started[0],
              QStringList({"/opt/editor", "--new-window", QString::fromStdString(session->localDir() + "local.txt")}));
    // Not text: the desktop's default application.
    session->select(TPane::Local, {});
    std::ofstream(session->localDir() + "image.png") << "\x89PNG\r\n\x1a\n";
    logic.Local().Refresh();
    session->select(TPane::Local, {"image.png"});
    session->child<QAction>("miLocalView")->trigger();
    ASSERT_EQ(session->opened.size(), 1u);
    EXPECT_EQ(session->opened[0].toStdString(), session->localDir() + "image.png");

    // The remote View fetches without a gauge, then opens the copy in the editor.
    session->select(TPane::Remote, {"notes.txt"});
    auto* gauge = session->child<QProgressBar>("Gauge1");
    bool gaugeShown = false;
    session->child<QAction>("miRemoteView")->trigger();
    ASSERT_TRUE(waitFor(
        [&] {
            gaugeShown |= gauge->isVisible();
            return session->started.size() == 2;
        },
        20000));
    EXPECT_FALSE(gaugeShown);
    EXPECT_EQ(session->started[1].last().toStdString(), logic.TmpDir() + "notes.txt");
    EXPECT_TRUE(session->settled());
}

TEST_F(Window, ThePanesShareTheirWidthOnResizeAndWhenTheQueueIsMoved)
{
    start();
    TMainForm& window = *session->window;
    auto* middle = session->child<QSplitter>("Splitter3");
    auto equal = [&] {
        QList<int> sizes = middle->sizes();
        return std::abs(sizes[1] - sizes[2]) <= 1;
    };
    for (QSize size : {QSize(700, 500), QSize(640, 480), QSize(790, 560)}) {
        window.resize(size);
        pumpFor(30);
        EXPECT_TRUE(equal()) << size.width() << ": " << middle->sizes()[1] << " " << middle->sizes()[2];
    }
    // The handle left of the local pane dragged right: both panes give up width alike (as far
    // as the local pane's path box lets it shrink).
    QWidget* handle = middle->handle(1);
    QPoint grip = handle->rect().center();
    QTest::mousePress(handle, Qt::LeftButton, {}, grip);
    QTest::mouseMove(handle, grip + QPoint(40, 0));
    QTest::mouseRelease(handle, Qt::LeftButton, {}, grip + QPoint(40, 0));
    pumpFor(30);
    EXPECT_TRUE(equal()) << middle->sizes()[0] << " " << middle->sizes()[1] << " " << middle->sizes()[2];
}

TEST_F(Window, AClickOnAColumnHeaderSortsEitherPaneAndASecondClickTurnsTheOrder)
{
    start();
    std::ofstream(session->remoteDir() + "c.bin") << std::string(50, 'c');
    std::ofstream(session->localDir() + "small.txt") << "s";
    std::ofstream(session->localDir() + "large.txt") << std::string(5000, 'l');
    ASSERT_TRUE(session->connectFromToolBar());
    TfmMain& logic = session->window->Logic();
    logic.Local().Refresh();
    struct Pane
    {
        TPane pane;
        const char* small;
        const char* large;
    };
    for (const Pane& entry : {Pane{TPane::Local, "small.txt", "large.txt"}, Pane{TPane::Remote, "c.bin", "b.bin"}}) {
        SCOPED_TRACE(entry.pane == TPane::Local ? "local" : "remote");
        QHeaderView* header = session->list(entry.pane)->header();
        auto clickSize = [&] {
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
                              {header->sectionViewportPosition(1) + 5, header->height() / 2});
        };
        clickSize();
        EXPECT_LT(session->row(entry.pane, entry.small), session->row(entry.pane, entry.large));
        EXPECT_EQ(header->sortIndicatorSection(), 1);
        clickSize();
        EXPECT_GT(session->row(entry.pane, entry.small), session->row(entry.pane, entry.large));
        EXPECT_EQ(header->sortIndicatorOrder(), Qt::DescendingOrder);
        // Folders stay above the files either way.
        if (entry.pane == TPane::Remote) {
            EXPECT_LT(session->row(entry.pane, "docs"), session->row(entry.pane, entry.large));
        }
    }
    EXPECT_EQ(logic.RemoteSortColumn(), 1);
    EXPECT_FALSE(logic.Local().SortAscending());
}

TEST_F(Window, TheLogHoldsStillWhileReadCopiesTheSelectionAndClearsEveryPage)
{
    start({}, "[FtpCliNum]\nFtpCliNum=3\n");
    TfmMain& logic = session->window->Logic();
    session->window->resize(700, 500);
    for (int page = 0; page < 3; ++page)
        for (int line = 0; line < 120; ++line)
            logic.ShowLogLine(page, "line " + std::to_string(line));
    pumpFor(30);
    auto* log = session->child<QListView>("reLog");
    QScrollBar* scroll = log->verticalScrollBar();
    ASSERT_GT(scroll->maximum(), 0);
    EXPECT_EQ(scroll->value(), scroll->maximum());

    // Reading: the focus on the log, a line chosen near the top.
    log->setFocus();
    QApplication::setActiveWindow(session->window.get());
    scroll->setValue(0);
    log->selectionModel()->select(log->model()->index(2, 0), QItemSelectionModel::Select);
    log->selectionModel()->select(log->model()->index(3, 0), QItemSelectionModel::Select);
    logic.ShowLogLine(0, "< 226 Transfer complete.");
    pumpFor(30);
    EXPECT_EQ(scroll->value(), 0);

    session->child<QAction>("miCopySelect")->trigger();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "line 2\nline 3\n");
    EXPECT_TRUE(log->selectionModel()->selectedRows().isEmpty());
    EXPECT_EQ(scroll->value(), scroll->maximum());
    EXPECT_FALSE(log->hasFocus()); // the host box has it, so new lines scroll again
    scroll->setValue(0);
    logic.ShowLogLine(0, "> QUIT");
    pumpFor(30);
    EXPECT_EQ(scroll->value(), scroll->maximum());

    session->child<QAction>("miClearAll")->trigger();
    for (int page = 0; page < 3; ++page)
        EXPECT_TRUE(logic.Logs().Lines(page).empty()) << page;
    EXPECT_EQ(session->child<QTabBar>("pcDisplay")->count(), 3);
}

TEST_F(Window, TheStatusBarsSpeedLimitShowsAndChangesTheLimitsAtOnce)
{
    start({}, "[General]\nDownloadLimit=1048576\n");
    TfmMain& logic = session->window->Logic();
    auto* button = session->child<QToolButton>("btnSpeedLimit");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), "Limit \u2193 1 MiB/s  \u2191 none");
    auto choice = [&](const char* menu, const QString& text) -> QAction* {
        for (QAction* action : session->child<QMenu>(menu)->actions())
            if (action->text() == text)
                return action;
        return nullptr;
    };
    EXPECT_TRUE(choice("pmDownloadLimit", "1 MiB/s")->isChecked());
    EXPECT_TRUE(choice("pmUploadLimit", "&No limit")->isChecked());

    choice("pmUploadLimit", "500 KiB/s")->trigger();
    EXPECT_EQ(logic.Settings().UploadLimit, 500 * 1024);
    EXPECT_EQ(logic.Run().SpeedLimit(false).Rate(), 500 * 1024);
    EXPECT_EQ(button->text(), "Limit \u2193 1 MiB/s  \u2191 500 KiB/s");
    // Another figure through its question; Cancel keeps what holds.
    answerDialog([](QWidget* dialog) {
        auto* field = dialog->findChild<QSpinBox*>();
        ASSERT_NE(field, nullptr);
        field->setValue(3000);
        qobject_cast<QDialog*>(dialog)->accept();
    });
    choice("pmDownloadLimit", "&Other...")->trigger();
    EXPECT_EQ(logic.Settings().DownloadLimit, 3000 * 1024);
    EXPECT_TRUE(choice("pmDownloadLimit", "&Other...")->isChecked());
    answerDialog([](QWidget* dialog) { qobject_cast<QDialog*>(dialog)->reject(); });
    choice("pmDownloadLimit", "&Other...")->trigger();
    EXPECT_EQ(logic.Settings().DownloadLimit, 3000 * 1024);
    choice("pmDownloadLimit", "&No limit")->trigger();
    choice("pmUploadLimit", "&No limit")->trigger();
    EXPECT_EQ(button->text(), "No speed limit");
    EXPECT_FALSE(logic.Run().SpeedLimit(true).Limited());
}
