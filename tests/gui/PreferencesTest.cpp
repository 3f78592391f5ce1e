// The preferences through the real dialog, and the program's shell: splash, about, help, links.

#include <fstream>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFontDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include "gui/GuiTest.h"
#include "gui/dialogs/SplashWindow.h"
#include "gui/dialogs/preferences/PreferencesDialog.h"

using namespace testsupport;

namespace {

std::string fileText(const std::string& path)
{
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class Preferences : public ::testing::Test
{
protected:
    void SetUp() override
    {
        session = std::make_unique<GuiSession>(
            server, "[FtpCliNum]\nFtpCliNum=3\n[MTFileSize]\nMTFileSize=1000000\n[Proxy]\nType=3\n");
        dialog = std::make_unique<TfmPreference>(session->window->Logic(), *session->window);
        dialog->show();
    }
    template <typename T> T* child(const char* name) { return dialog->findChild<T*>(name); }
    void ok() { QTest::mouseClick(child<QPushButton>("btnOK"), Qt::LeftButton); }
    const TSettings& settings() { return session->window->Logic().Settings(); }

    FtpServer server;
    std::unique_ptr<GuiSession> session;
    std::unique_ptr<TfmPreference> dialog;
};

} // namespace

TEST_F(Preferences, TheConnectionCountAppliesOnOkWithItsRowsAndLogPages)
{
    EXPECT_EQ(child<QLineEdit>("seThreadNumber")->text(), "3");
    // The hidden proxy type "SITE site" is shown as chosen and kept through OK.
    EXPECT_TRUE(child<QRadioButton>("rbFtpProxySiteSite")->isChecked());
    child<QLineEdit>("seThreadNumber")->setText("6");
    child<QLineEdit>("seSplitDownloadFileSize")->setText("5000000");
    child<QLineEdit>("seDownloadLimit")->setText("2048"); // KiB/s
    child<QCheckBox>("cbPasvMode")->setChecked(false);
    child<QCheckBox>("cbEnableSocks")->setChecked(true);
    child<QLineEdit>("edSocksHost")->setText("127.0.0.1");
    child<QLineEdit>("edSocksPort")->setText("1080");
    child<QRadioButton>("rbFtpSocks5")->setChecked(true);
    ok();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(settings().ConnectionCount, 6);
    EXPECT_EQ(settings().MTFileSize, 5000000);
    EXPECT_EQ(settings().DownloadLimit, 2048 * 1024);
    EXPECT_EQ(settings().UploadLimit, 0);
    EXPECT_EQ(session->window->Logic().Run().SpeedLimit(true).Rate(), 2048 * 1024);
    EXPECT_FALSE(settings().PasvMode);
    EXPECT_TRUE(settings().Socks.Enabled);
    EXPECT_EQ(settings().Socks.Type, 7);
    EXPECT_EQ(settings().Proxy.Type, 3);
    EXPECT_NE(fileText(session->dataDir() + "quillftp.ini").find("Type=3"), std::string::npos);
    EXPECT_EQ(session->child<QTreeView>("lvStatus")->model()->rowCount(), 6);
    EXPECT_EQ(session->child<QTabBar>("pcDisplay")->count(), 6);

    // Fewer again: rows and pages follow.
    TfmPreference again(session->window->Logic(), *session->window);
    again.show();
    again.findChild<QLineEdit*>("seThreadNumber")->setText("2");
    QTest::mouseClick(again.findChild<QPushButton*>("btnOK"), Qt::LeftButton);
    EXPECT_EQ(session->child<QTreeView>("lvStatus")->model()->rowCount(), 2);
    EXPECT_EQ(session->child<QTabBar>("pcDisplay")->count(), 2);
}

TEST_F(Preferences, NumbersOutOfRangeAreRefusedAndNothingIsHalfApplied)
{
    child<QCheckBox>("cbPasvMode")->setChecked(false); // a change on another page, not to be applied
    struct Case
    {
        const char* field;
        const char* text;
        const char* says;
    };
    for (const Case& wrong :
         {Case{"seThreadNumber", "256", "Thread number must be a whole number from 1 to 255."},
          Case{"seThreadNumber", "0", "from 1 to 255"},
          Case{"seSplitDownloadFileSize", "-1", "Split download file size must be a whole number of at least 0."},
          Case{"edProxyPort", "70000", "The proxy port must be a whole number from 1 to 65535."},
          Case{"spAntiIdleInterval", "", "Anti Idle Interval"}}) {
        auto* edit = child<QLineEdit>(wrong.field);
        QString before = edit->text();
        edit->setText(wrong.text);
        QString said;
        answerDialog([&said](QWidget* box) {
            said = box->findChild<QLabel*>("qt_msgbox_label")->text();
            answerDialogWith("OK");
        });
        ok();
        EXPECT_TRUE(said.contains(wrong.says)) << said.toStdString();
        EXPECT_TRUE(dialog->isVisible());
        EXPECT_TRUE(settings().PasvMode) << wrong.field;
        EXPECT_EQ(settings().ConnectionCount, 3);
        edit->setText(before);
    }
    // Typed, the thread number comes into its range in the field itself.
    auto* threads = child<QLineEdit>("seThreadNumber");
    threads->clear();
    QTest::keyClicks(threads, "300");
    EXPECT_EQ(threads->text(), "255");
    threads->clear();
    QTest::keyClicks(threads, "-4");
    emit threads->editingFinished(); // the field is left (its page is not shown here to take the focus)
    EXPECT_EQ(threads->text(), "1");
    // Without connection 0 transferring, one connection becomes two.
    child<QLineEdit>("seThreadNumber")->setText("1");
    child<QCheckBox>("cbUseMainThreadTransfer")->setChecked(false);
    EXPECT_EQ(child<QLineEdit>("seThreadNumber")->text(), "2");
}

TEST_F(Preferences, CancelKeepsWhatTheButtonsChangedAtOnceAndDropsTheRest)
{
    // An extension, at once; "TXT" is there already in another case.
    dialog->ShowPage("ASCIIExtension");
    answerDialog([](QWidget* box) {
        auto* input = qobject_cast<QInputDialog*>(box);
        ASSERT_NE(input, nullptr);
        EXPECT_EQ(input->windowTitle(), "Add Extension");
        input->setTextValue("log");
        input->accept();
    });
    QTest::mouseClick(child<QPushButton>("btnAddExtension"), Qt::LeftButton);
    ASSERT_EQ(settings().TextExt.back(), "log");
    answerDialog([](QWidget* box) {
        qobject_cast<QInputDialog*>(box)->setTextValue("LOG");
        static_cast<QDialog*>(box)->accept();
        answerDialogWith("OK"); // "This extension exists!"
    });
    QTest::mouseClick(child<QPushButton>("btnAddExtension"), Qt::LeftButton);
    EXPECT_EQ(std::count(settings().TextExt.begin(), settings().TextExt.end(), "LOG"), 0);

    // The log window's font, at once.
    answerDialog([](QWidget* box) {
        auto* fonts = qobject_cast<QFontDialog*>(box);
        ASSERT_NE(fonts, nullptr);
        QFont font("DejaVu Sans Mono", 13);
        fonts->setCurrentFont(font);
        static_cast<QDialog*>(fonts)->accept();
    });
    QTest::mouseClick(child<QPushButton>("btnLogWindowFont"), Qt::LeftButton);
    EXPECT_TRUE(settings().RichEditFont);
    EXPECT_EQ(settings().RichEditFontData.Size, 13);
    EXPECT_EQ(session->child<QListView>("reLog")->font().pointSize(), 13);

    // The second of three quick connections goes, with its stored entry.
    TSettings three = settings();
    three.HostHistory = {"a:21:u:p1", "b:21:u:p2", "c:21:u:p3"};
    three.HostItems = {"a:21:u:********", "b:21:u:********", "c:21:u:********"};
    session->window->Logic().ApplySettings(three);
    session->window->SettingsChanged();
    TfmPreference fresh(session->window->Logic(), *session->window);
    fresh.show();
    auto* quick = fresh.findChild<QListWidget*>("lbQuickConnect");
    ASSERT_EQ(quick->count(), 3);
    quick->item(1)->setSelected(true);
    answerDialog([](QWidget* box) {
        EXPECT_EQ(box->windowTitle(), "Clear");
        answerDialogWith("Yes");
    });
    QTest::mouseClick(fresh.findChild<QPushButton*>("btnDeleteQuickConnect"), Qt::LeftButton);
    EXPECT_EQ(settings().HostHistory, (std::vector<std::string>{"a:21:u:p1", "c:21:u:p3"}));
    EXPECT_EQ(session->child<QComboBox>("cbHostName")->count(), 2);

    // Cancel: the number changed in the dialog is not applied, what the buttons did stays.
    fresh.findChild<QLineEdit*>("seThreadNumber")->setText("9");
    QTest::mouseClick(fresh.findChild<QPushButton*>("btnCancel"), Qt::LeftButton);
    EXPECT_EQ(settings().ConnectionCount, 3);
    EXPECT_EQ(settings().TextExt.back(), "log");
    EXPECT_TRUE(settings().RichEditFont);
    EXPECT_EQ(settings().HostHistory.size(), 2u);
}

TEST(ProgramShell, TheSplashIsGoneBeforeTheWindowShowsAndTheAboutMenuOpensItsPages)
{
    FtpServer server;
    QTemporaryDir data;
    std::string dataDir = data.path().toStdString() + "/";
    std::ofstream(dataDir + "quillftp.ini") << "[General]\nShowSiteManager=0\n";
    TMainForm window(dataDir, dataDir);
    std::vector<QUrl> opened;
    window.OpenUrl = [&opened](const QUrl& url) { return opened.push_back(url), true; };
    // The splash's state at the moment the window is shown.
    bool splashSeen = false;
    bool splashUpAtShow = true;
    struct ShowWatch : QObject
    {
        std::function<void()> onShow;
        bool eventFilter(QObject*, QEvent* event) override
        {
            if (event->type() == QEvent::Show)
                onShow();
            return false;
        }
    } watch;
    watch.onShow = [&] {
        splashUpAtShow = false;
        for (QWidget* widget : QApplication::topLevelWidgets())
            if (widget->objectName() == "splash") {
                splashSeen = true;
                splashUpAtShow = splashUpAtShow || widget->isVisible();
            }
    };
    window.installEventFilter(&watch);
    QElapsedTimer clock;
    clock.start();
    StartWithSplash(window, "", 1000);
    EXPECT_GE(clock.elapsed(), 1000);
    EXPECT_TRUE(splashSeen);
    EXPECT_FALSE(splashUpAtShow);
    EXPECT_TRUE(window.isVisible());

    // Help and FAQ open the pages beside the program; a missing page says nothing.
    std::ofstream(dataDir + "help.htm") << "<p>help</p>";
    window.findChild<QAction*>("miHelp")->trigger();
    window.findChild<QAction*>("miFaq")->trigger(); // no FAQ.htm here
    ASSERT_EQ(opened.size(), 1u);
    EXPECT_EQ(opened[0], QUrl::fromLocalFile(QString::fromStdString(dataDir + "help.htm")));
    // Without addresses set at build time the links open the help page too.
    window.findChild<QAction*>("miHomePage")->trigger();
    EXPECT_EQ(opened.back(), opened[0]);
    // With no browser to open it, F1 says where the page is.
    window.OpenUrl = [](const QUrl&) { return false; };
    answerDialog([&](QWidget* box) {
        EXPECT_TRUE(
            box->findChild<QLabel*>("qt_msgbox_label")->text().contains(QString::fromStdString(dataDir + "help.htm")));
        answerDialogWith("OK");
    });
    window.findChild<QAction*>("miHelp")->trigger();

    answerDialog([](QWidget* about) {
        EXPECT_EQ(about->windowTitle(), "About");
        EXPECT_EQ(about->findChild<QLabel*>("lbName")->text(), "QuillFTP 2.3");
        EXPECT_EQ(about->findChild<QLabel*>("lbVersion")->text(), "Version 2.3    Build 300");
        answerDialogWith("OK");
    });
    window.findChild<QAction*>("miAboutBox")->trigger();
    window.close();
}

TEST(ProgramShell, NewSessionStartsASecondProgramOnTheSameDataAndBothEndCleanly)
{
    FtpServer server;
    GuiSession session(server);
    QString asked;
    session.window->StartInstance = [&asked](const QString& program) {
        asked = program;
        return true;
    };
    session.window->findChild<QAction*>("miNewSession")->trigger();
    EXPECT_EQ(asked, QApplication::applicationFilePath()); // the program itself, without arguments

    // What that start does with the real program: the same data directory, found the same way.
    QProcess second;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QUILLFTP_HOME", QString::fromStdString(session.dataDir()));
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert(TMainForm::kStartMaximized, "1"); // as StartInstance sets it
    second.setProcessEnvironment(environment);
    second.start(QUILL_GUI_PROGRAM, {});
    ASSERT_TRUE(second.waitForStarted(5000));
    std::string ini = session.dataDir() + "quillftp.ini";
    ASSERT_EQ(fileText(ini).find("[Window]"), std::string::npos);
    pumpFor(2500); // past the splash: the window runs
    ASSERT_EQ(second.state(), QProcess::Running);
    // Asked to end (as a session that logs out), it saves as closing its window does.
    second.terminate();
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_NE(fileText(ini).find("[Window]"), std::string::npos);
    EXPECT_NE(fileText(ini).find("Maximized=1"), std::string::npos); // a new session's window is maximised
    EXPECT_NE(fileText(ini).find("LocalPath=" + session.localDir()), std::string::npos);
}
