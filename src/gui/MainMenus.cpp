#include "gui/MainForm.h"

// The main menu and the popup menus. Items are never disabled: every command checks the
// session state itself.

#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QListView>
#include <QMenu>
#include <QMenuBar>
#include <QTreeView>

#include "gui/Icons.h"
#include "gui/PaneWidget.h"
#include "gui/dialogs/HistoryDialog.h"
#include "gui/QueueModel.h"

QAction* TMainForm::AddAction(QMenu* menu, const QString& caption, const QString& icon, const QString& name,
                              std::function<void()> run, const QKeySequence& shortcut)
{
    auto* action = new QAction(GuiIcon(icon), caption, this);
    action->setObjectName(name);
    if (!shortcut.isEmpty())
        action->setShortcut(shortcut);
    connect(action, &QAction::triggered, this, std::move(run));
    menu->addAction(action);
    addAction(action); // the shortcut works wherever the focus is in the window
    return action;
}

void TMainForm::BuildMenus()
{
    QMenuBar* bar = menuBar();
    TfmMain& logic = *m_logic;

    QMenu* server = bar->addMenu(tr("&Server"));
    server->setObjectName("miServer");
    AddAction(
        server, tr("&Connect"), "connect", "miConnect", [this] { Connect(); }, QKeySequence("Ctrl+F"));
    AddAction(
        server, tr("&Disconnect"), "disconnect", "miDisconnect", [&logic] { logic.Disconnect(); },
        QKeySequence("Ctrl+D"));
    AddAction(
        server, tr("&Reconnect"), "reconnect", "miReconnect",
        [this] {
            PushToolBar();
            m_logic->Reconnect();
            ShowToolBar();
        },
        QKeySequence("Ctrl+R"));
    server->addSeparator();
    AddAction(server, tr("Transfer &History..."), "queue-broken", "miHistory", [this] {
        TfmHistory dialog(m_logic->History(), this);
        dialog.exec();
    });
    server->addSeparator();
    AddAction(server, tr("&Exit"), "exit", "miExit", [this] { close(); });

    QMenu* sites = bar->addMenu(tr("Site &Manager"));
    sites->setObjectName("miSites");
    AddAction(
        sites, tr("Site &Manager"), "site-manager", "miSiteManager", [this] { SiteManager(); }, QKeySequence("F4"));
    AddAction(sites, tr("&Add Current Site"), "add-site", "miAddCurrentSite", [this] { AddCurrentSite(); });
    sites->addSeparator();
    AddAction(sites, tr("&New Session"), "new-session", "miNewSession", [this] { NewSession(); });

    QMenu* command = bar->addMenu(tr("&Command"));
    command->setObjectName("miCommand");
    QMenu* local = command->addMenu(GuiIcon("folder"), tr("&Local"));
    local->setObjectName("miLocal");
    auto localOnly = [&logic](std::function<void(TfmMain&)> run) {
        return [&logic, run] {
            if (logic.SessionState() == ssReady || logic.SessionState() == ssConnected)
                run(logic);
        };
    };
    AddAction(local, tr("&Upload"), "upload", "miLocalUpload", [&logic] { logic.UploadSelected(); });
    AddAction(local, tr("&Edit"), "edit", "miLocalEdit", [&logic] { logic.LocalEdit(); });
    AddAction(local, tr("&View"), "view", "miLocalView", [&logic] { logic.LocalEdit(); });
    AddAction(local, tr("&Move"), "move", "miLocalMove", localOnly([](TfmMain& l) { l.Local().Move(); }));
    AddAction(local, tr("E&xecute"), "execute", "miLocalExecute", [&logic] { logic.LocalExecute(); });
    AddAction(local, tr("&Invert Selection"), "invert-selection", "miLocalInvert",
              [&logic] { logic.Local().InvertSelection(); });
    AddAction(local, tr("&Delete"), "delete", "miLocalDelete",
              localOnly([](TfmMain& l) { l.Local().Delete(l.Settings().ConfirmDelete); }));
    AddAction(local, tr("&Rename"), "rename", "miLocalRename", localOnly([](TfmMain& l) { l.Local().Rename(); }));
    AddAction(local, tr("&Properties"), "properties", "miLocalProperties", [&logic] { logic.LocalProperties(); });
    AddAction(local, tr("&Open Current Directory"), "open-directory", "miLocalOpenDirectory",
              [&logic] { logic.LocalOpenCurrentDirectory(); });

    QMenu* remote = command->addMenu(GuiIcon("connect"), tr("&Remote"));
    remote->setObjectName("miRemote");
    AddAction(remote, tr("&Download"), "download", "miRemoteDownload", [&logic] { logic.DownloadSelected(); });
    AddAction(remote, tr("Calc &Size"), "calculate-size", "miRemoteCalcSize", [&logic] { logic.CalculateSize(); });
    AddAction(remote, tr("&Edit"), "edit", "miRemoteEdit", [&logic] { logic.RemoteEdit(); });
    AddAction(remote, tr("&View"), "view", "miRemoteView", [&logic] { logic.RemoteEdit(); });
    AddAction(remote, tr("&Move"), "move", "miRemoteMove", [&logic] { logic.RemoteMove(); });
    AddAction(remote, tr("&Copy URL"), "copy-url", "miRemoteCopyUrl", [&logic] { logic.RemoteCopyUrl(); });
    AddAction(remote, tr("&Invert Selection"), "invert-selection", "miRemoteInvert",
              [&logic] { logic.RemoteInvertSelection(); });
    AddAction(remote, tr("&Delete"), "delete", "miRemoteDelete", [&logic] { logic.RemoteDelete(); });
    AddAction(remote, tr("C&hange Mode"), "change-mode", "miRemoteChangeMode", [&logic] { logic.RemoteChangeMode(); });
    AddAction(remote, tr("&Rename"), "rename", "miRemoteRename", [&logic] { logic.RemoteRename(); });

    // "View" acts on the pane whose list last had the focus.
    QMenu* view = bar->addMenu(tr("&View", "menu bar"));
    view->setObjectName("miView");
    QMenu* styles = view->addMenu(GuiIcon("details"), tr("V&iew"));
    auto* styleGroup = new QActionGroup(this);
    struct Style
    {
        const char* caption;
        const char* icon;
        const char* name;
        TfmMain::TViewStyle style;
    };
    static const Style kStyles[] = {
        {QT_TR_NOOP("&Large Icons"), "large-icons", "miLargeIcons", TfmMain::TViewStyle::LargeIcons},
        {QT_TR_NOOP("&Small Icons"), "small-icons", "miSmallIcons", TfmMain::TViewStyle::SmallIcons},
        {QT_TR_NOOP("&List"), "list", "miList", TfmMain::TViewStyle::List},
        {QT_TR_NOOP("&Details"), "details", "miDetails", TfmMain::TViewStyle::Details}};
    for (const Style& entry : kStyles) {
        TfmMain::TViewStyle style = entry.style;
        QAction* action = AddAction(styles, tr(entry.caption), entry.icon, entry.name, [this, style] {
            OnActivePane([this, style] { m_logic->SetViewStyle(TPane::Remote, style); },
                         [this, style] { m_logic->SetViewStyle(TPane::Local, style); });
        });
        action->setCheckable(true);
        action->setChecked(style == TfmMain::TViewStyle::Details);
        styleGroup->addAction(action);
    }
    QMenu* arrange = view->addMenu(GuiIcon("sort-name"), tr("&Arrange Icons"));
    static const char* const kSorts[][3] = {{QT_TR_NOOP("By &Name"), "sort-name", "miByName"},
                                            {QT_TR_NOOP("By &Size"), "sort-size", "miBySize"},
                                            {QT_TR_NOOP("By &DateTime"), "sort-time", "miByTime"}};
    for (int column = 0; column < 3; ++column)
        AddAction(arrange, tr(kSorts[column][0]), kSorts[column][1], kSorts[column][2], [this, column] {
            OnActivePane([this, column] { m_logic->SortByColumn(column); },
                         [this, column] { m_logic->Local().SortByColumn(column); });
        });
    AddAction(
        view, tr("&Select All"), "select-all", "miSelectAll",
        [this] { OnActivePane([this] { m_logic->RemoteSelectAll(); }, [this] { m_logic->Local().SelectAll(); }); },
        QKeySequence::SelectAll);
    AddAction(view, tr("&Make Directory"), "make-directory", "miMakeDirectory", [this] {
        OnActivePane([this] { m_logic->RemoteMakeDirectory(); }, [this] { m_logic->LocalMakeDirectory(); });
    });
    AddAction(view, tr("&Change Directory"), "change-directory", "miChangeDirectory", [this] {
        OnActivePane([this] { m_logic->RemoteChangeDirectory(); }, [this] { m_logic->LocalChangeDirectory(); });
    });
    AddAction(
        view, tr("&Refresh"), "refresh", "miRefresh",
        [this] { OnActivePane([this] { m_logic->RemoteRefresh(); }, [this] { m_logic->Local().Refresh(); }); },
        QKeySequence("F5"));
    view->addSeparator();
    AddAction(
        view, tr("C&ompare Folders"), "compare", "miCompare", [this] { CompareFolders(false); },
        QKeySequence("Ctrl+M"));
    m_differencesOnly = AddAction(view, tr("Only &Differences"), "differences", "miDifferencesOnly", [this] {
        ShowOnlyDifferences(TPane::Local);
        ShowOnlyDifferences(TPane::Remote);
    });
    m_differencesOnly->setCheckable(true);
    AddAction(
        view, tr("S&ynchronize..."), "synchronize", "miSynchronize", [this] { CompareFolders(true); },
        QKeySequence("Ctrl+Y"));

    QMenu* setting = bar->addMenu(tr("S&etting"));
    setting->setObjectName("miSetting");
    AddAction(setting, tr("&Increase Thread Number"), "increase", "miIncreaseThread",
              [&logic] { logic.IncreaseThreadNumber(); });
    AddAction(setting, tr("&Decrease Thread Number"), "decrease", "miDecreaseThread",
              [&logic] { logic.DecreaseThreadNumber(); });
    m_mainConnection = AddAction(
        setting, QString::fromStdString(logic.MainConnectionCaption()), "main-connection", "miMainConnection", [this] {
            m_logic->ToggleMainConnDownload();
            m_mainConnection->setText(QString::fromStdString(m_logic->MainConnectionCaption()));
        });
    setting->addSeparator();
    AddAction(setting, tr("&Preference..."), "preferences", "miPreference", [this] { Preferences(); });

    QMenu* about = bar->addMenu(tr("&About"));
    about->setObjectName("miAbout");
    AddAction(
        about, tr("QuillFTP &Help"), "help", "miHelp", [this] { OpenShippedPage("help.htm"); }, QKeySequence("F1"));
    AddAction(about, tr("QuillFTP &FAQ"), "faq", "miFaq", [this] { OpenShippedPage("FAQ.htm"); });
    AddAction(about, tr("&EMail to Author"), "mail", "miEmail",
              [this] { OpenLink(*MailAddress() ? QString("mailto:") + MailAddress() : QString()); });
    AddAction(about, tr("QuillSoft Home&Page"), "home-page", "miHomePage", [this] { OpenLink(HomePage()); });
    AddAction(about, tr("Check New &Version"), "check-version", "miCheckVersion", [this] { OpenLink(HomePage()); });
    about->addSeparator();
    AddAction(about, tr("A&bout ..."), "about", "miAboutBox", [this] { About(); });
}

void TMainForm::BuildPopups()
{
    TfmMain& logic = *m_logic;
    // The popups reuse the main menu's actions: one command, one place.
    auto named = [this](const char* name) { return findChild<QAction*>(name); };
    auto menu = [this](const char* name) {
        auto* popup = new QMenu(this);
        popup->setObjectName(name);
        return popup;
    };

    m_hostSelected = menu("pmHostSelected");
    for (const char* name : {"miRemoteDownload", "miRemoteEdit", "miRemoteView", "miRemoteMove", "miRemoteCopyUrl",
                             "miRemoteInvert", "miRemoteDelete", "miRemoteChangeMode", "miRemoteRename"})
        m_hostSelected->addAction(named(name));
    // The popup's own caption for the main menu's "Calc Size".
    QAction* calculate = m_hostSelected->addAction(named("miRemoteCalcSize")->icon(), tr("Calculate Size"),
                                                   [this] { m_logic->CalculateSize(); });
    calculate->setObjectName("pmiCalculateSize");
    m_hostNoSelect = menu("pmHostNoSelect");
    for (const char* name : {"miSelectAll", "miMakeDirectory", "miChangeDirectory", "miRefresh"})
        m_hostNoSelect->addAction(named(name));
    m_hostNoSelect->addSeparator();
    for (const char* name : {"miLargeIcons", "miSmallIcons", "miList", "miDetails"})
        m_hostNoSelect->addAction(named(name));
    m_hostNoSelect->addSeparator();
    for (const char* name : {"miByName", "miBySize", "miByTime"})
        m_hostNoSelect->addAction(named(name));

    m_localSelected = menu("pmLocalSelected");
    for (const char* name : {"miLocalUpload", "miLocalEdit", "miLocalView", "miLocalMove", "miLocalExecute",
                             "miLocalInvert", "miLocalDelete", "miLocalRename", "miLocalProperties"})
        m_localSelected->addAction(named(name));
    m_localNoSelect = menu("pmLocalNoSelect");
    for (const char* name :
         {"miSelectAll", "miMakeDirectory", "miChangeDirectory", "miLocalOpenDirectory", "miRefresh"})
        m_localNoSelect->addAction(named(name));
    m_localNoSelect->addSeparator();
    for (const char* name : {"miLargeIcons", "miSmallIcons", "miList", "miDetails"})
        m_localNoSelect->addAction(named(name));
    m_localNoSelect->addSeparator();
    for (const char* name : {"miByName", "miBySize", "miByTime"})
        m_localNoSelect->addAction(named(name));

    m_logMenu = menu("pmRichEdit");
    auto logAction = [this](const QString& caption, const QString& icon, const QString& name,
                            std::function<void()> run) {
        auto* action = new QAction(GuiIcon(icon), caption, this);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, [this, run] {
            run();
            m_hostName->setFocus(); // as the log menu always did
        });
        m_logMenu->addAction(action);
    };
    logAction(tr("Copy Select"), "copy", "miCopySelect", [this] { CopySelectedLog(); });
    logAction(tr("Copy All"), "copy", "miCopyAll", [this] { m_logic->CopyLog(m_logTabs->currentIndex()); });
    logAction(tr("Clear"), "clear", "miClear", [this] { m_logic->ClearLog(m_logTabs->currentIndex()); });
    logAction(tr("Clear All"), "clear-all", "miClearAll", [this] {
        for (int page = 0; page < m_logic->Logs().Count(); ++page)
            m_logic->ClearLog(page);
    });

    m_queueMenu = menu("pmQuene");
    auto queueAction = [this, &logic](const QString& caption, const QString& icon, const QString& name, bool resume) {
        auto* action = new QAction(GuiIcon(icon), caption, this);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, [this, &logic, resume] {
            const TQueueNode* node = m_queueModel->NodeAt(m_queue->currentIndex());
            if (!node || node->Parent != &logic.QueueTree().Root() || node->Row == 0)
                return;
            if (resume)
                logic.ResumeBrokenList(node->Row - 1);
            else
                logic.DeleteBrokenList(node->Row - 1);
        });
        m_queueMenu->addAction(action);
    };
    queueAction(tr("Resume Broken List"), "resume", "miResumeBrokenList", true);
    queueAction(tr("Delete Broken List"), "delete-list", "miDeleteBrokenList", false);
}

void TMainForm::PaneMenu(TPane pane, const QPoint& position, bool onSelection)
{
    SetActivePane(pane);
    TSessionState state = m_logic->SessionState();
    if (pane == TPane::Remote) {
        if (state == ssConnected)
            (onSelection ? m_hostSelected : m_hostNoSelect)->popup(position);
        return;
    }
    if (state == ssReady || state == ssConnected)
        (onSelection ? m_localSelected : m_localNoSelect)->popup(position);
}

void TMainForm::QueueMenu(const QPoint& position)
{
    QModelIndex index = m_queue->indexAt(position);
    const TQueueNode* node = index.isValid() ? m_queueModel->NodeAt(index) : nullptr;
    TSessionState state = m_logic->SessionState();
    // Broken lists only: top nodes other than "Current".
    if (!node || node->Parent != &m_logic->QueueTree().Root() || node->Row == 0 ||
        (state != ssConnected && state != ssReady))
        return;
    m_queue->setCurrentIndex(index);
    m_queueMenu->popup(m_queue->viewport()->mapToGlobal(position));
}

void TMainForm::CopySelectedLog()
{
    QModelIndexList rows = m_log->selectionModel() ? m_log->selectionModel()->selectedRows() : QModelIndexList();
    std::sort(rows.begin(), rows.end(), [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    QString text;
    for (const QModelIndex& row : rows)
        text += row.data().toString() + "\n";
    QGuiApplication::clipboard()->setText(text);
    m_log->clearSelection();
    ScrollLogToEnd();
}
