// Pictures of the window for people to look at: connected with both panes filled, during a run
// on four connections, with a log page shown, and the FileExists dialog. Not a test.
//   quillftp_screenshots DIR light|dark [LANGUAGE]   (QT_SCALE_FACTOR sets the scale; LANGUAGE
//   such as de or fr shows the window in that translation, its pictures named with it)

#include <filesystem>
#include <fstream>
#include <iostream>

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QDialog>
#include <QDir>
#include <QAbstractItemView>
#include <QListView>
#include <QPalette>
#include <QScreen>
#include <QStyleFactory>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QTreeWidget>

#include "gui/MainForm.h"
#include "gui/dialogs/AboutDialog.h"
#include "gui/dialogs/AddCurrentSiteDialog.h"
#include "gui/dialogs/FileExistsDialog.h"
#include "gui/dialogs/HistoryDialog.h"
#include "gui/dialogs/Prompts.h"
#include "gui/dialogs/SiteManagerDialog.h"
#include "gui/dialogs/SplashWindow.h"
#include "ui/SyncWork.h"
#include "gui/dialogs/preferences/PreferencesDialog.h"
#include "support/FtpServer.h"
#include "support/Selection.h"
#include "support/TestTree.h"
#include "gui/DarkPalette.h"
#include "platform/Translate.h"
#include "support/WaitFor.h"

using namespace testsupport;
namespace fs = std::filesystem;

namespace {

void save(QWidget& widget, const QString& path)
{
    widget.grab().save(path);
    std::cout << path.toStdString() << "\n";
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    if (argc < 3) {
        std::cerr << "usage: quillftp_screenshots DIR light|dark [LANGUAGE]\n";
        return 2;
    }
    QString out = argv[1];
    QString theme = argv[2];
    QDir().mkpath(out);
    QApplication::setStyle(QStyleFactory::create("Fusion"));
    if (theme == "dark")
        QApplication::setPalette(darkPalette());
    QString scale = qEnvironmentVariable("QT_SCALE_FACTOR", "1");
    QString suffix = "-" + theme + "-x" + scale + ".png";
    if (argc > 3) {
        QLocale::setDefault(QLocale(QString(argv[3])));
        if (!platform::LoadTranslations(QUILL_TRANSLATIONS_DIR)) {
            std::cerr << "quillftp_screenshots: no translation for " << argv[3] << "\n";
            return 2;
        }
        suffix = "-" + QString(argv[3]) + suffix;
    }

    FtpServer server;
    server.setVariant({"--rate", "400000"});
    std::string root = server.localWorkDir() + "/";
    fs::create_directories(root + "pub/docs");
    fs::create_directories(root + "pub/images");
    fs::create_directories(root + "pub/src");
    writePatternFile(root + "pub/release-2.3.tar.gz", 5400000, 1);
    writePatternFile(root + "pub/quillftp.iso", 3900000, 2);
    writePatternFile(root + "pub/README.txt", 2300, 3);
    writePatternFile(root + "pub/notes.pdf", 184000, 4);
    writePatternFile(root + "pub/photo.jpg", 912000, 5);
    writePatternFile(root + "pub/setup.sh", 4100, 6);
    writePatternFile(root + "pub/data.csv", 77000, 7);
    if (!server.start()) {
        std::cerr << server.error() << "\n";
        return 1;
    }
    QTemporaryDir data;
    QTemporaryDir local;
    std::string dataDir = data.path().toStdString() + "/";
    std::string localDir = local.path().toStdString() + "/";
    fs::create_directories(localDir + "Documents");
    fs::create_directories(localDir + "Downloads");
    std::ofstream(localDir + "todo.txt") << "upload the release\n";
    writePatternFile(localDir + "backup.zip", 1250000, 8);
    writePatternFile(localDir + "index.html", 5200, 9);
    // For the comparison: one file alike on both sides, one of another size.
    fs::copy_file(root + "pub/README.txt", localDir + "README.txt");
    fs::last_write_time(localDir + "README.txt", fs::last_write_time(root + "pub/README.txt"));
    writePatternFile(localDir + "data.csv", 64000, 10);
    std::ofstream(dataDir + "quillftp.ini")
        << "[FtpCliNum]\nFtpCliNum=4\n[PasvMode]\nPasvMode=1\n[LocalPath]\nLocalPath=" << localDir
        << "\n[General]\nShowSiteManager=0\n"
        // A log skin in each palette's own shade (Windows colour values, 0xBBGGRR).
        << "[Skin]\nUseSkin=1\n1Clr=" << (theme == "dark" ? "3153936" : "14741759") << "\n";

    TMainForm window(dataDir, dataDir);
    window.OpenPath = [](const QString&) {};
    window.Start("");
    window.resize(1000, 680);
    TfmMain& logic = window.Logic();
    window.findChild<QComboBox*>("cbHostName")->setEditText("127.0.0.1");
    window.findChild<QLineEdit*>("edUser")->setText(QString::fromStdString(server.user()));
    window.findChild<QLineEdit*>("edPass")->setText(QString::fromStdString(server.password()));
    window.findChild<QLineEdit*>("edPort")->setText(QString::fromStdString(server.portText()));
    window.findChild<QAction*>("miConnect")->trigger();
    waitFor([&] { return logic.SessionState() == ssConnected; });
    logic.RemoteDoubleClick(remoteRow(logic, "pub"));
    waitFor([&] { return logic.SessionState() == ssConnected && logic.RemoteDir() == "/pub/"; });
    window.findChild<QWidget*>("lvHost")->setFocus();
    pumpFor(300);
    save(window, out + "/connected" + suffix);

    // The folders compared, then the plan of a synchronization (not carried out).
    window.findChild<QAction*>("miCompare")->trigger();
    waitFor([&] { return logic.Sync().Marking() && !logic.Sync().Busy(); }, 10000);
    pumpFor(300);
    save(window, out + "/compare" + suffix);
    bool planShown = false;
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog || dialog->objectName() != "fmSynchronize")
            return;
        watch.stop();
        pumpFor(300);
        save(*dialog, out + "/synchronize" + suffix);
        dialog->reject();
        planShown = true;
    });
    watch.start(100);
    window.findChild<QAction*>("miSynchronize")->trigger();
    waitFor([&] { return planShown; }, 10000);
    logic.Sync().DropMarks();
    logic.Local().Refresh();

    selectRemote(logic, {"release-2.3.tar.gz", "quillftp.iso", "photo.jpg", "notes.pdf"});
    logic.DownloadSelected();
    waitFor([&] { return logic.Run().Running() && !logic.StatusPanel(3).empty(); }, 10000);
    pumpFor(1200);
    save(window, out + "/run" + suffix);
    save(*window.findChild<QWidget*>("tcRun"), out + "/transfers" + suffix);

    window.findChild<QTabBar*>("pcDisplay")->setCurrentIndex(1);
    pumpFor(300);
    save(window, out + "/log" + suffix);
    save(*window.findChild<QWidget*>("reLog"), out + "/log-skinned" + suffix);

    // The local path box's open list, from a folder two levels down.
    fs::create_directories(localDir + "Documents/Letters");
    logic.Local().SetPath(localDir + "Documents/Letters/");
    auto* pathBox = window.findChild<QComboBox*>("cbLocal");
    pathBox->showPopup();
    pumpFor(300);
    save(*pathBox->view()->window(), out + "/pathbox" + suffix);
    pathBox->hidePopup();
    logic.Local().SetPath(localDir);

    TfmFileExists dialog(QString::fromStdString(localDir + "Downloads/quillftp.iso"), &window);
    dialog.show();
    pumpFor(200);
    save(dialog, out + "/fileexists" + suffix);
    dialog.close();

    // The question about a certificate that nothing vouches for.
    QTimer::singleShot(300, [&] {
        if (QWidget* question = QApplication::activeModalWidget()) {
            save(*question, out + "/certificate" + suffix);
            question->close();
        }
    });
    AskCertificate(&window, "ftp.example.org:21",
                   {"CN = ftp.example.org", "CN = ftp.example.org", "Dec  1 09:00:00 2026 GMT",
                    "Dec  1 09:00:00 2027 GMT",
                    "3F:9A:0C:51:D2:7E:88:B4:19:6C:E0:2D:A5:73:4B:F1:08:CE:92:5D:67:3A:B0:E4:71:2F:9C:D8:05:6B:A3:1E",
                    false, "self-signed certificate"});

    // The site manager on a small book, Add Current Site, every preferences page, about, splash.
    {
        TDialogPrompt prompt(nullptr);
        TSiteBook book(dataDir + "book20.dat", prompt);
        book.LoadSiteBook();
        for (std::string className : {"Work", "Mirrors"})
            book.AddClassUnique(className);
        book.AddSiteUnique("Work", {"Build server", "build.example.org", "21", "deploy", "secret", "nightly builds"});
        book.AddSiteUnique("Work", {"Intranet", "10.0.0.5", "2121", "joe", "pw", ""});
        book.AddSiteUnique("Mirrors", {"Kernel mirror", "mirror.example.net", "21", "anonymous", "me@example.org", ""});
    }
    TfmConnBook sites(dataDir + "book20.dat", &window);
    sites.show();
    sites.SelectNode(0, 0);
    sites.findChild<QTreeWidget*>("sitetree")->expandAll();
    pumpFor(200);
    save(sites, out + "/sitemanager" + suffix);
    TfmAddCurrSite add(sites, "127.0.0.1", &window);
    add.show();
    pumpFor(200);
    save(add, out + "/addcurrentsite" + suffix);
    add.close();
    sites.close();
    TfmPreference preferences(logic, window);
    preferences.show();
    for (const char* page :
         {"General", "AntiIdle", "ProxyAndSocks", "MultipleThread", "ASCIIExtension", "Fonts", "QuickConnect"}) {
        preferences.ShowPage(page);
        pumpFor(150);
        save(preferences, out + "/preferences-" + QString(page).toLower() + suffix);
    }
    preferences.close();
    TfmAbout about(&window);
    about.show();
    pumpFor(150);
    save(about, out + "/about" + suffix);
    about.close();
    TSplashWindow splash;
    splash.show();
    pumpFor(150);
    save(splash, out + "/splash" + suffix);
    splash.close();

    // The end of the aborted run is reported in a message box: close whatever opens.
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [] {
        if (QWidget* modal = QApplication::activeModalWidget())
            modal->close();
    });
    closer.start(50);
    logic.Abort();
    waitFor([&] { return !logic.Run().Running(); }, 10000);
    closer.stop();
    pumpFor(100);
    TfmHistory history(logic.History(), &window);
    history.resize(900, 360);
    history.show();
    pumpFor(200);
    save(history, out + "/history" + suffix);
    history.close();
    logic.Disconnect();
    window.close();
    server.stop();
    return 0;
}
