#include "gui/MainForm.h"

// The main window's ways into the program's other windows: the site manager, Add Current Site,
// the preferences, the about box, help, the maker's addresses and a second session.

#include <QApplication>
#include <QComboBox>
#include <QFileInfo>
#include <QLineEdit>
#include <QListView>
#include <QTabBar>
#include <QUrl>

#include "gui/Fonts.h"
#include "gui/SpeedLimitButton.h"
#include "gui/dialogs/AboutDialog.h"
#include "gui/dialogs/AddCurrentSiteDialog.h"
#include "gui/dialogs/SiteManagerDialog.h"
#include "gui/dialogs/preferences/PreferencesDialog.h"
#include "config/DataFiles.h"

#ifndef QUILLFTP_HOMEPAGE_URL
#define QUILLFTP_HOMEPAGE_URL ""
#endif
#ifndef QUILLFTP_MAIL_ADDRESS
#define QUILLFTP_MAIL_ADDRESS ""
#endif

namespace {

std::string siteBookPath(const TfmMain& logic)
{
    return logic.DataDir() + datafiles::kSiteBook;
}

} // namespace

void TMainForm::SiteManager()
{
    TfmConnBook book(siteBookPath(*m_logic), this);
    book.Book().Passwords = m_logic->Keyring();
    if (book.exec() != QDialog::Accepted)
        return;
    // The fields as they stand, stored or not, go into the tool bar, which connects.
    m_hostName->setEditText(book.Address());
    m_user->setText(book.UserName());
    m_pass->setText(book.Password());
    m_port->setText(book.Port());
    Connect();
}

void TMainForm::AddCurrentSite()
{
    QString host = m_hostName->currentText();
    if (host.isEmpty())
        return;
    TfmConnBook book(siteBookPath(*m_logic), this);
    book.Book().Passwords = m_logic->Keyring();
    TfmAddCurrSite add(book, host, this);
    if (add.exec() != QDialog::Accepted || add.ClassName().isEmpty())
        return;
    TNewSite site{add.SiteName().toStdString(), host.toStdString(),           m_port->text().toStdString(),
                  m_user->text().toStdString(), m_pass->text().toStdString(), ""};
    TSiteBook& sites = book.Book();
    if (!sites.AddSiteUnique(add.ClassName().toStdString(), site))
        return;
    // The site manager shows the new site; how it closes starts nothing.
    book.SetSkipLoad();
    book.SelectNode(sites.Selected.classIndex, sites.Selected.siteIndex);
    book.exec();
}

void TMainForm::Preferences()
{
    TfmPreference dialog(*m_logic, *this);
    dialog.exec();
    m_speedLimit->ShowLimits();
}

void TMainForm::About()
{
    TfmAbout box(this);
    box.exec();
}

void TMainForm::NewSession()
{
    // The new instance finds the same data directory the way this one did.
    if (StartInstance)
        StartInstance(QApplication::applicationFilePath());
}

void TMainForm::OpenShippedPage(const QString& name)
{
    QFileInfo page(m_programDir + name);
    if (!page.exists() || !OpenUrl) // a missing page says nothing, as the shell's "open" would
        return;
    if (!OpenUrl(QUrl::fromLocalFile(page.absoluteFilePath())))
        ShowMessage(tr("No web browser could be opened. The page is %1 (open it in any browser).")
                        .arg(page.absoluteFilePath())
                        .toStdString());
}

void TMainForm::OpenLink(const QString& address)
{
    if (address.isEmpty()) {
        OpenShippedPage("help.htm");
        return;
    }
    if (OpenUrl)
        OpenUrl(QUrl(address));
}

void TMainForm::SettingsChanged()
{
    ApplyFonts();
    ShowHostHistory();
    if (m_mainConnection)
        m_mainConnection->setText(QString::fromStdString(m_logic->MainConnectionCaption()));
}

void TMainForm::ApplyFonts()
{
    const TSettings& settings = m_logic->Settings();
    QFont font;
    if (settings.ProgramFont && FontFromSetting(settings.ProgramFontData, font))
        setFont(font);
    if (settings.RichEditFont && FontFromSetting(settings.RichEditFontData, font)) {
        m_log->setFont(font);
        m_logTabs->setFont(font);
    }
}

void TMainForm::ResetLayout()
{
    TWindowLayout layout;
    layout.LocalSortColumn = m_logic->Settings().Window.LocalSortColumn;
    layout.LocalSortAscending = m_logic->Settings().Window.LocalSortAscending;
    layout.RemoteSortColumn = m_logic->Settings().Window.RemoteSortColumn;
    layout.RemoteSortAscending = m_logic->Settings().Window.RemoteSortAscending;
    m_logic->SetWindowLayout(layout);
    showNormal();
    RestoreLayout();
}

const char* TMainForm::HomePage()
{
    return QUILLFTP_HOMEPAGE_URL;
}

const char* TMainForm::MailAddress()
{
    return QUILLFTP_MAIL_ADDRESS;
}
