// The window in German: its menus, panes, dialogs and questions in the translation, and no text
// of its chrome left in English where the translation says otherwise.

#include <map>
#include <set>

#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLibraryInfo>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QRegularExpression>
#include <QPushButton>
#include <QTabBar>
#include <QToolBox>
#include <QTranslator>
#include <QTreeView>

#include <gtest/gtest.h>

#include "gui/GuiTest.h"
#include "gui/dialogs/SiteManagerDialog.h"
#include "gui/dialogs/preferences/PreferencesDialog.h"

using namespace testsupport;

namespace {

// The texts a widget tree shows, by where they are: "objectName/child.../property".
using TTexts = std::map<QString, QString>;

void collectTexts(QObject* object, const QString& path, TTexts& texts)
{
    QString here =
        path + "/" + (object->objectName().isEmpty() ? object->metaObject()->className() : object->objectName());
    auto keep = [&](const char* what, const QString& text) {
        if (!text.isEmpty())
            texts[here + "." + what] = text;
    };
    if (auto* action = qobject_cast<QAction*>(object)) {
        keep("text", action->text());
        keep("toolTip", action->toolTip() == QString(action->text()).remove('&') ? QString() : action->toolTip());
    } else if (auto* menu = qobject_cast<QMenu*>(object)) {
        keep("title", menu->title());
    } else if (auto* label = qobject_cast<QLabel*>(object)) {
        keep("text", label->text());
    } else if (auto* button = qobject_cast<QAbstractButton*>(object)) {
        keep("text", button->text());
    } else if (auto* group = qobject_cast<QGroupBox*>(object)) {
        keep("title", group->title());
    } else if (auto* tabs = qobject_cast<QTabBar*>(object)) {
        for (int k = 0; k < tabs->count(); ++k)
            keep(qPrintable("tab" + QString::number(k)), tabs->tabText(k));
    } else if (auto* combo = qobject_cast<QComboBox*>(object); combo && !combo->isEditable()) {
        for (int k = 0; k < combo->count(); ++k)
            keep(qPrintable("choice" + QString::number(k)), combo->itemText(k));
    } else if (auto* box = qobject_cast<QToolBox*>(object)) {
        for (int k = 0; k < box->count(); ++k)
            keep(qPrintable("item" + QString::number(k)), box->itemText(k));
    } else if (auto* header = qobject_cast<QHeaderView*>(object); header && header->model()) {
        for (int k = 0; k < header->count(); ++k)
            keep(qPrintable("column" + QString::number(k)),
                 header->model()->headerData(k, header->orientation()).toString());
    }
    if (auto* widget = qobject_cast<QWidget*>(object)) {
        keep("accessibleName", widget->accessibleName());
        keep("windowTitle", widget->isWindow() ? widget->windowTitle() : QString());
    }
    int index = 0;
    for (QObject* child : object->children())
        collectTexts(child, here + "#" + QString::number(index++), texts);
}

// The window and the dialogs the user meets most, as they stand, with their texts.
TTexts windowTexts(FtpServer& server)
{
    GuiSession session(server);
    TTexts texts;
    collectTexts(session.window.get(), "", texts);
    TfmPreference preferences(session.window->Logic(), *session.window);
    collectTexts(&preferences, "", texts);
    TfmConnBook sites(session.dataDir() + "book20.dat", session.window.get());
    collectTexts(&sites, "", texts);
    return texts;
}

class German : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        ASSERT_TRUE(m_own.load(QLocale(), "quillftp", "_", QUILL_TRANSLATIONS_DIR));
        QCoreApplication::installTranslator(&m_own);
        // Qt's own texts (Yes, No, Cancel) come from its translations, where they are installed.
        if (m_qt.load(QLocale(), "qtbase", "_", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
            QCoreApplication::installTranslator(&m_qt);
    }
    void TearDown() override { english(); }
    void english()
    {
        QCoreApplication::removeTranslator(&m_own);
        QCoreApplication::removeTranslator(&m_qt);
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    }

    FtpServer server;
    QTranslator m_own;
    QTranslator m_qt;
};

} // namespace

TEST_F(German, MenusPanesStateAndQuestionsSpeakGerman)
{
    ASSERT_TRUE(server.start());
    writePatternFile(server.localWorkDir() + "/hier.txt", 100);
    GuiSession session(server);
    TMainForm& window = *session.window;
    ASSERT_TRUE(session.connectFromToolBar());

    EXPECT_EQ(session.child<QMenu>("miServer")->title(), "&Server");
    EXPECT_EQ(session.child<QMenu>("miCommand")->title(), "&Befehl");
    EXPECT_EQ(session.child<QAction>("miConnect")->text(), "&Verbinden");
    EXPECT_EQ(session.child<QAction>("miCompare")->text(), "Ordner &vergleichen");
    EXPECT_EQ(session.child<QAction>("miLocalView")->text(), "&Ansehen");
    EXPECT_EQ(window.menuBar()->actions().at(3)->text(), "&Ansicht"); // the same word, told apart
    QAbstractItemModel* remote = session.list(TPane::Remote)->model();
    EXPECT_EQ(remote->headerData(1, Qt::Horizontal).toString(), "Größe");
    EXPECT_EQ(QString::fromStdString(window.Logic().StatusPanel(0)), "Verbunden");
    EXPECT_EQ(session.child<QTabBar>("tbTransferFilter")->tabText(0).left(5), "Alle ");
    EXPECT_TRUE(QString::fromStdString(window.Logic().RemoteSummary()).endsWith("Byte(s) aufgelistet"))
        << window.Logic().RemoteSummary();

    // A question of the window's logic, with Qt's buttons in German too.
    session.select(TPane::Remote, {"hier.txt"});
    QString question;
    QStringList buttons;
    answerDialog([&](QWidget* dialog) {
        question = dialog->findChild<QLabel*>("qt_msgbox_label")->text();
        for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>())
            buttons << button->text().remove('&');
        qobject_cast<QMessageBox*>(dialog)->button(QMessageBox::No)->click();
    });
    session.child<QAction>("miRemoteDelete")->trigger();
    EXPECT_EQ(question, "Datei „hier.txt“ vom Server löschen?");
    EXPECT_TRUE(buttons.contains("Nein")) << buttons.join(", ").toStdString();
    EXPECT_TRUE(std::filesystem::exists(server.localWorkDir() + "/hier.txt"));
}

TEST_F(German, NoTextOfTheWindowOrItsDialogsIsLeftInEnglish)
{
    TTexts german = windowTexts(server);
    english();
    TTexts english = windowTexts(server);

    // The same in both languages by nature: names, protocols, symbols.
    static const std::set<QString> kAlike = {
        "&Server",    "Server",    "P&ort",          "Port",     "Proxy",    "SOCKS",  "SOCKS4", "SOCKS4A",
        "SOCKS5",     "Attr",      "Name",           "&Liste",   "&Details", "OK",     "Plan",   "Sites",
        "#",          "Download",  "Upload",         "QuillFTP", "Host",     "&Name:", "P&ort:", "USER user@host",
        "USER login", "SITE site", "SITE user@host", "PWD",      "REST 0",   "TYPE I", "TYPE A"};
    std::vector<QString> left;
    size_t compared = 0;
    for (const auto& [where, text] : english) {
        auto translated = german.find(where);
        if (translated == german.end() || !text.contains(QRegularExpression("[A-Za-z]{2}")))
            continue;
        ++compared;
        bool rate = QRegularExpression("^\\d+ [KM]iB/s$").match(text).hasMatch();
        if (translated->second == text && !kAlike.count(text) && !rate)
            left.push_back(where + " = " + text);
    }
    EXPECT_GT(compared, 150u);
    EXPECT_TRUE(left.empty()) << QStringList(left.begin(), left.end()).join("\n").toStdString();
}
