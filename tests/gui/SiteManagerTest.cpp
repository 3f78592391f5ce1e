// The site manager and Add Current Site, driven through their real dialogs; every change is
// checked against the bytes of book20.dat.

#include <filesystem>
#include <fstream>

#include <QComboBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include "gui/GuiTest.h"
#include "gui/dialogs/SiteManagerDialog.h"
#include "platform/AtomicFile.h"

using namespace testsupport;
namespace fs = std::filesystem;
using Layout = TSiteBookTables;

namespace {

// Types text into the next input box and presses OK.
void answerInput(const QString& text)
{
    answerDialog([text](QWidget* dialog) {
        auto* input = qobject_cast<QInputDialog*>(dialog);
        ASSERT_NE(input, nullptr) << dialog->metaObject()->className();
        input->setTextValue(text);
        input->accept();
    });
}

TSiteBookTables onDisk(const std::string& path)
{
    std::string bytes;
    platform::readWholeFile(path, bytes);
    TSiteBookTables tables;
    tables.Load(bytes);
    return tables;
}

// The sites of a class as the file holds them, by record order.
std::vector<std::string> sitesOnDisk(const std::string& path, const std::string& className)
{
    TSiteBookTables tables = onDisk(path);
    std::vector<std::string> sites;
    for (int record = 1; record <= Layout::kMaxSites && tables.ClassNumber(record) != 0; ++record)
        if (tables.ClassName(tables.ClassNumber(record)) == className)
            sites.push_back(tables.Text(record, Layout::kName));
    return sites;
}

int recordOnDisk(const std::string& path, const std::string& site)
{
    TSiteBookTables tables = onDisk(path);
    for (int record = 1; record <= Layout::kMaxSites && tables.ClassNumber(record) != 0; ++record)
        if (tables.Text(record, Layout::kName) == site)
            return record;
    return 0;
}

class SiteManager : public ::testing::Test
{
protected:
    void SetUp() override
    {
        session = std::make_unique<GuiSession>(server);
        bookPath = session->dataDir() + "book20.dat";
        fs::remove(bookPath); // start from an empty book, not the shipped one
    }

    // A site manager shown as the menu shows it (not modal, so that the test can click).
    std::unique_ptr<TfmConnBook> open()
    {
        auto book = std::make_unique<TfmConnBook>(bookPath, session->window.get());
        book->show();
        return book;
    }
    void click(TfmConnBook& book, const char* button)
    {
        QTest::mouseClick(book.findChild<QPushButton*>(button), Qt::LeftButton);
    }
    void select(TfmConnBook& book, const QString& text)
    {
        auto* tree = book.findChild<QTreeWidget*>("sitetree");
        QList<QTreeWidgetItem*> found = tree->findItems(text, Qt::MatchExactly | Qt::MatchRecursive);
        ASSERT_FALSE(found.isEmpty()) << text.toStdString();
        tree->setCurrentItem(found.front());
    }
    QLineEdit* field(TfmConnBook& book, const char* name) { return book.findChild<QLineEdit*>(name); }
    void addSite(TfmConnBook& book, const QString& className, const QString& site)
    {
        select(book, className);
        answerInput(site);
        answerDialogWith("OK"); // "Please Finish the information of this site and press Apply Button"
        click(book, "btnNewSite");
    }
    void addClassAndSite(TfmConnBook& book, const QString& className, const QString& site)
    {
        answerInput(className);
        click(book, "btnNewClass");
        addSite(book, className, site);
    }

    FtpServer server;
    std::unique_ptr<GuiSession> session;
    std::string bookPath;
};

} // namespace

TEST_F(SiteManager, ClassesAndSitesAreAddedRenamedAppliedAndDeletedInTheFile)
{
    auto book = open();
    addClassAndSite(*book, "Work", "Build server");
    ASSERT_EQ(onDisk(bookPath).ClassName(1), "Work");
    ASSERT_EQ(sitesOnDisk(bookPath, "Work"), std::vector<std::string>{"Build server"});
    int record = recordOnDisk(bookPath, "Build server");
    EXPECT_EQ(onDisk(bookPath).Text(record, Layout::kPort), "21");
    EXPECT_EQ(onDisk(bookPath).Text(record, Layout::kUser), "anonymous");
    EXPECT_EQ(field(*book, "name")->text(), "Build server");

    // Apply stores the fields (not the name).
    field(*book, "addr")->setText("ftp.example.org");
    field(*book, "port")->setText("2121");
    field(*book, "username")->setText("joe");
    field(*book, "password")->setText("secret");
    book->findChild<QPlainTextEdit*>("Memo1")->setPlainText("the nightly builds");
    click(*book, "btnApply");
    TSiteBookTables tables = onDisk(bookPath);
    EXPECT_EQ(tables.Text(record, Layout::kHost), "ftp.example.org");
    EXPECT_EQ(tables.Text(record, Layout::kPort), "2121");
    EXPECT_EQ(tables.Text(record, Layout::kPassword), "secret");
    EXPECT_EQ(tables.Text(record, Layout::kDescription), "the nightly builds");

    // A duplicate class is refused, and so is a new site without a class.
    answerInput("Work");
    answerDialogWith("OK"); // "Duplicate Class Name!"
    click(*book, "btnNewClass");
    EXPECT_EQ(onDisk(bookPath).ClassName(2), "");
    select(*book, "Build server");
    answerDialog([](QWidget* dialog) {
        EXPECT_EQ(dialog->findChild<QLabel*>("qt_msgbox_label")->text(), "Please Select a Class!");
        answerDialogWith("OK");
    });
    click(*book, "btnNewSite");

    // Rename: a site may share the name of a site in another class, not of one in its own.
    addClassAndSite(*book, "Home", "Nas");
    addSite(*book, "Home", "Printer");
    select(*book, "Printer");
    answerInput("Nas");
    answerDialog([](QWidget* dialog) {
        EXPECT_TRUE(dialog->findChild<QLabel*>("qt_msgbox_label")->text().startsWith("This name already exists !"));
        answerDialogWith("OK");
    });
    book->findChild<QAction*>("miRename")->trigger();
    EXPECT_EQ(sitesOnDisk(bookPath, "Home"), (std::vector<std::string>{"Nas", "Printer"}));
    select(*book, "Printer");
    answerInput("Build server");
    book->findChild<QAction*>("miRename")->trigger();
    EXPECT_EQ(sitesOnDisk(bookPath, "Home"), (std::vector<std::string>{"Nas", "Build server"}));
    select(*book, "Home");
    answerInput("House");
    book->findChild<QAction*>("miRename")->trigger();
    EXPECT_EQ(onDisk(bookPath).ClassName(2), "House");

    // Delete: No keeps, Yes takes a class with all its sites.
    select(*book, "House");
    answerDialogWith("No");
    click(*book, "btnDelete");
    EXPECT_EQ(onDisk(bookPath).ClassName(2), "House");
    answerDialog([](QWidget* dialog) {
        EXPECT_EQ(dialog->windowTitle(), "Delete");
        EXPECT_EQ(dialog->findChild<QLabel*>("qt_msgbox_label")->text(), "Confirm to delete?");
        answerDialogWith("Yes");
    });
    click(*book, "btnDelete");
    EXPECT_EQ(onDisk(bookPath).ClassName(2), "");
    EXPECT_EQ(recordOnDisk(bookPath, "Nas"), 0);
    EXPECT_EQ(sitesOnDisk(bookPath, "Work"), std::vector<std::string>{"Build server"});
}

TEST_F(SiteManager, BackupRestoreAndBothImportFormats)
{
    auto book = open();
    addClassAndSite(*book, "Work", "Build server");
    std::string before;
    platform::readWholeFile(bookPath, before);
    answerDialogWith("Yes"); // "Are you sure ?"
    click(*book, "btnBackup");
    std::string backup;
    platform::readWholeFile(session->dataDir() + "book20_.dat", backup);
    EXPECT_EQ(backup, before);

    // LeapFTP's SITES.INI, chosen by its filter in the file chooser.
    std::string leap = session->dataDir() + "sites.ini";
    std::ofstream(leap) << "[_Groups_]\r\ng1=Mirrors\r\n[_Mirrors_]\r\ns1=Kernel\r\n"
                        << "[Kernel]\r\nIP=mirror.example\r\nPort=2121\r\nUser=joe\r\nPass=pw\r\n";
    auto choose = [](const std::string& file, int filter) {
        answerDialog([file, filter](QWidget* dialog) {
            auto* chooser = qobject_cast<QFileDialog*>(dialog);
            ASSERT_NE(chooser, nullptr);
            EXPECT_EQ(chooser->nameFilters().size(), 2);
            chooser->selectNameFilter(chooser->nameFilters()[filter]);
            // As a user types a path into the name box and presses Enter.
            auto* name = chooser->findChild<QLineEdit*>("fileNameEdit");
            ASSERT_NE(name, nullptr);
            name->setText(QString::fromStdString(file));
            QTest::keyClick(name, Qt::Key_Return);
        });
    };
    choose(leap, 0);
    click(*book, "btnImport");
    EXPECT_EQ(sitesOnDisk(bookPath, "Mirrors"), std::vector<std::string>{"Kernel"});
    EXPECT_EQ(onDisk(bookPath).Text(recordOnDisk(bookPath, "Kernel"), Layout::kHost), "mirror.example");

    // CuteFTP's exported list: the filter decides, whatever the file is called; it asks for a class.
    std::string cute = session->dataDir() + "exported.ini";
    std::ofstream(cute) << "Site Label: Camera\r\nHostName: camera.example\r\nUser Name: cam\r\nPort: 21\r\n";
    choose(cute, 1);
    answerInput("Devices");
    click(*book, "btnImport");
    EXPECT_EQ(sitesOnDisk(bookPath, "Devices"), std::vector<std::string>{"Camera"});

    // Restore brings back the book as it was backed up, and shows it with empty fields.
    select(*book, "Camera");
    ASSERT_FALSE(field(*book, "addr")->text().isEmpty());
    answerDialogWith("Yes");
    click(*book, "btnRestore");
    std::string after;
    platform::readWholeFile(bookPath, after);
    EXPECT_EQ(after, before);
    EXPECT_TRUE(field(*book, "addr")->text().isEmpty());
    EXPECT_TRUE(book->findChild<QTreeWidget*>("sitetree")->findItems("Camera", Qt::MatchRecursive).isEmpty());
}

TEST_F(SiteManager, TwoInstancesEditingTheBookLoseNeitherChange)
{
    auto first = open();
    auto second = open(); // another program's site manager on the same file
    addClassAndSite(*first, "Work", "Build server");
    // The second still shows the book as it was; its change starts from the file as it is now.
    answerInput("Home");
    click(*second, "btnNewClass");
    EXPECT_EQ(onDisk(bookPath).ClassName(1), "Work");
    EXPECT_EQ(onDisk(bookPath).ClassName(2), "Home");
    EXPECT_EQ(sitesOnDisk(bookPath, "Work"), std::vector<std::string>{"Build server"});
    // And the first one's Apply keeps the class the second added.
    select(*first, "Build server");
    field(*first, "addr")->setText("build.example");
    click(*first, "btnApply");
    EXPECT_EQ(onDisk(bookPath).ClassName(2), "Home");
    EXPECT_EQ(onDisk(bookPath).Text(recordOnDisk(bookPath, "Build server"), Layout::kHost), "build.example");

    // A site the other instance deleted meanwhile is not written back by Apply; the tree shows
    // the book as it is.
    select(*second, "Build server");
    answerDialogWith("Yes");
    click(*second, "btnDelete");
    ASSERT_EQ(recordOnDisk(bookPath, "Build server"), 0);
    field(*first, "addr")->setText("again.example");
    click(*first, "btnApply");
    EXPECT_EQ(recordOnDisk(bookPath, "Build server"), 0);
    EXPECT_TRUE(first->findChild<QTreeWidget*>("sitetree")->findItems("Build server", Qt::MatchRecursive).isEmpty());
}

TEST_F(SiteManager, AddCurrentSiteFilesTheToolBarsSiteAndAsksForAFreeName)
{
    {
        auto book = open();
        addClassAndSite(*book, "Work", "127.0.0.1");
        answerInput("Home");
        click(*book, "btnNewClass");
    }
    TMainForm& window = *session->window;
    session->child<QComboBox>("cbHostName")->setEditText("127.0.0.1");
    session->child<QLineEdit>("edPort")->setText("2121");
    session->child<QLineEdit>("edUser")->setText("joe");
    session->child<QLineEdit>("edPass")->setText("pw");
    answerDialog([](QWidget* dialog) {
        auto* classes = dialog->findChild<QComboBox*>("ComboBox1");
        ASSERT_EQ(classes->count(), 2); // every class, the first chosen
        EXPECT_EQ(classes->currentText(), "Work");
        EXPECT_EQ(dialog->findChild<QLineEdit*>("Edit1")->text(), "127.0.0.1");
        // The site name is taken in that class: a free one is asked for, then the manager shows it.
        answerDialog([](QWidget* question) {
            auto* input = qobject_cast<QInputDialog*>(question);
            ASSERT_NE(input, nullptr);
            EXPECT_EQ(input->windowTitle(), "Duplicate Site Name");
            EXPECT_EQ(input->labelText(), "Old = 127.0.0.1");
            input->setTextValue("Office");
            input->accept();
            answerDialog([](QWidget* manager) {
                EXPECT_EQ(manager->objectName(), "fmConnBook");
                EXPECT_EQ(manager->findChild<QLineEdit*>("name")->text(), "Office");
                EXPECT_EQ(manager->findChild<QLineEdit*>("port")->text(), "2121");
                qobject_cast<QDialog*>(manager)->reject();
            });
        });
        qobject_cast<QDialog*>(dialog)->accept();
    });
    window.AddCurrentSite();
    int record = recordOnDisk(bookPath, "Office");
    ASSERT_NE(record, 0);
    TSiteBookTables tables = onDisk(bookPath);
    EXPECT_EQ(tables.ClassName(tables.ClassNumber(record)), "Work");
    EXPECT_EQ(tables.Text(record, Layout::kHost), "127.0.0.1");
    EXPECT_EQ(tables.Text(record, Layout::kUser), "joe");
    EXPECT_EQ(tables.Text(record, Layout::kPassword), "pw");
    EXPECT_EQ(window.Logic().SessionState(), ssReady); // nothing was connected
}

TEST(SiteManagerOnServer, OkOnASiteConnectsWithTheTrimmedFields)
{
    FtpServer server;
    ASSERT_TRUE(server.start()) << server.error();
    {
        GuiSession session(server);
        std::string bookPath = session.dataDir() + "book20.dat";
        {
            TDialogPrompt prompt(nullptr);
            TSiteBook book(bookPath, prompt);
            book.LoadSiteBook();
            std::string className = "Local";
            ASSERT_TRUE(book.AddClassUnique(className));
            ASSERT_TRUE(book.AddSiteUnique(
                "Local", {"pyftpdlib", " 127.0.0.1 ", server.portText() + " ", server.user(), server.password(), ""}));
        }
        answerDialog([](QWidget* dialog) {
            auto* tree = dialog->findChild<QTreeWidget*>("sitetree");
            // OK on the class leaves the dialog open; on the site it closes and connects.
            tree->setCurrentItem(tree->findItems("Local", Qt::MatchExactly).front());
            QTest::mouseClick(dialog->findChild<QPushButton*>("btnOK"), Qt::LeftButton);
            EXPECT_TRUE(dialog->isVisible());
            tree->setCurrentItem(tree->findItems("pyftpdlib", Qt::MatchRecursive).front());
            QTest::mouseClick(dialog->findChild<QPushButton*>("btnOK"), Qt::LeftButton);
        });
        session.window->SiteManager();
        EXPECT_EQ(session.child<QComboBox>("cbHostName")->currentText(), "127.0.0.1");
        EXPECT_EQ(session.child<QLineEdit>("edPort")->text().toStdString(), server.portText());
        ASSERT_TRUE(waitFor([&] { return session.window->Logic().SessionState() == ssConnected; }, 20000));
        EXPECT_TRUE(session.settled());

        // A double click on the class only opens it; on the site it closes the dialog with the
        // fields as they stand (the connection trims what it sends).
        session.window->Logic().Disconnect();
        answerDialog([](QWidget* dialog) {
            auto* tree = dialog->findChild<QTreeWidget*>("sitetree");
            auto doubleClick = [tree](QTreeWidgetItem* item) {
                tree->setCurrentItem(item);
                QPoint at = tree->visualItemRect(item).center();
                // The view takes a double click only on the row its press was on.
                QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, at);
                QTest::mouseDClick(tree->viewport(), Qt::LeftButton, {}, at);
            };
            doubleClick(tree->findItems("Local", Qt::MatchExactly).front());
            EXPECT_TRUE(dialog->isVisible());
            tree->expandAll();
            doubleClick(tree->findItems("pyftpdlib", Qt::MatchRecursive).front());
            if (dialog->isVisible()) {
                ADD_FAILURE() << "the double click on the site left the dialog open";
                qobject_cast<QDialog*>(dialog)->reject();
            }
        });
        session.window->SiteManager();
        EXPECT_EQ(session.child<QComboBox>("cbHostName")->currentText(), " 127.0.0.1 ");
        ASSERT_TRUE(waitFor([&] { return session.window->Logic().SessionState() == ssConnected; }, 20000));
        EXPECT_TRUE(session.settled());
    }
    server.stop();
}
