#include "gui/MainForm.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QComboBox>
#include <QCompleter>
#include <QFileSystemModel>
#include <QDesktopServices>
#include <QDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QProcess>
#include <QScreen>
#include <QScrollBar>
#include <QSplitter>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeView>
#include <QUrl>

#include "gui/DesktopNotice.h"
#include "gui/SpeedLimitButton.h"
#include "platform/DesktopApps.h"
#include "gui/Icons.h"
#include "gui/LogModel.h"
#include "gui/PaneModel.h"
#include "gui/PaneWidget.h"
#include "gui/QueueModel.h"
#include "gui/StatusModel.h"
#include "gui/TransfersView.h"
#include "gui/dialogs/FileExistsDialog.h"
#include "gui/dialogs/Prompts.h"
#include "gui/dialogs/PropertiesDialog.h"

namespace {

QString fromUtf8(const std::string& text)
{
    return QString::fromStdString(text);
}

// A column layout as it was left: widths that make sense for the columns there are.
void restoreColumns(QHeaderView* header, const std::vector<int>& widths, const std::vector<int>& defaults)
{
    const std::vector<int>& use = widths.size() == defaults.size() ? widths : defaults;
    for (size_t column = 0; column < use.size(); ++column)
        header->resizeSection(static_cast<int>(column), std::max(use[column], 20));
}

std::vector<int> columnWidths(const QHeaderView* header)
{
    std::vector<int> widths;
    for (int column = 0; column < header->count(); ++column)
        widths.push_back(header->sectionSize(column));
    return widths;
}

std::vector<int> splitterSizes(const QSplitter* splitter)
{
    std::vector<int> sizes;
    for (int size : splitter->sizes())
        sizes.push_back(size);
    return sizes;
}

void restoreSplitter(QSplitter* splitter, const std::vector<int>& sizes)
{
    if (static_cast<int>(sizes.size()) != splitter->count())
        return;
    QList<int> list;
    for (int size : sizes)
        list.push_back(size);
    splitter->setSizes(list);
}

} // namespace

TMainForm::TMainForm(std::string dataDir, std::string programDir, QWidget* parent) : QMainWindow(parent)
{
    setObjectName("fmMain");
    m_programDir = QString::fromStdString(programDir);
    m_logic = std::make_unique<TfmMain>(*this, std::move(dataDir), std::move(programDir));
    OpenPath = [](const QString& path) { QDesktopServices::openUrl(QUrl::fromLocalFile(path)); };
    RunPath = [](const QString& path) { QProcess::startDetached(path, {}); };
    StartCommand = [](const QStringList& command) { QProcess::startDetached(command.front(), command.mid(1)); };
    OpenUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    StartInstance = [](const QString& program) {
        // The program itself, without arguments, asked to show its window maximised.
        QProcess process;
        process.setProgram(program);
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(kStartMaximized, "1");
        process.setProcessEnvironment(environment);
        return process.startDetached();
    };
    setWindowIcon(GuiIcon("quillftp"));
    BuildToolBar();
    BuildPanes();
    BuildBottom();
    BuildStatusBar();
    BuildMenus();
    BuildPopups();

    m_vertical = new QSplitter(Qt::Vertical, this);
    m_vertical->setObjectName("Splitter1");
    m_vertical->addWidget(m_middle);
    m_vertical->addWidget(m_bottom);
    // A bigger window gives both the panes and the run's views more room.
    m_vertical->setStretchFactor(0, 3);
    m_vertical->setStretchFactor(1, 2);
    m_vertical->setChildrenCollapsible(false);
    setCentralWidget(m_vertical);

    // Tab goes from pane to pane; the path boxes come after the lists.
    setTabOrder(m_hostName, m_user);
    setTabOrder(m_user, m_pass);
    setTabOrder(m_pass, m_port);
    setTabOrder(m_port, m_local->Details());
    setTabOrder(m_local->Details(), m_remote->Details());
    setTabOrder(m_remote->Details(), m_local->PathBox());
    setTabOrder(m_local->PathBox(), m_remote->PathBox());
    setTabOrder(m_remote->PathBox(), m_queue);
    setTabOrder(m_queue, m_status);
    setTabOrder(m_status, m_log);
}

TMainForm::~TMainForm()
{
    // The models read the logic: they go first.
    for (QAbstractItemView* view : {static_cast<QAbstractItemView*>(m_queue), static_cast<QAbstractItemView*>(m_status),
                                    static_cast<QAbstractItemView*>(m_log)})
        view->setModel(nullptr);
    m_local->Details()->setModel(nullptr);
    m_local->Icons()->setModel(nullptr);
    m_remote->Details()->setModel(nullptr);
    m_remote->Icons()->setModel(nullptr);
    qDeleteAll(m_logModels);
    m_logModels.clear();
    delete m_localModel;
    delete m_remoteModel;
    delete m_queueModel;
    delete m_statusModel;
    m_localModel = m_remoteModel = nullptr;
    m_queueModel = nullptr;
    m_statusModel = nullptr;
}

// ---------------------------------------------------------------- building

void TMainForm::BuildToolBar()
{
    auto* bar = addToolBar(tr("Server"));
    bar->setObjectName("tbServer");
    bar->setMovable(false);
    bar->toggleViewAction()->setVisible(false); // the tool bar is always there
    bar->setIconSize(QSize(16, 16));
    // The labels' access keys keep clear of the menus' (Alt+S opens the Server menu).
    auto* hostLabel = new QLabel(tr("&FTP Server : "), bar);
    m_hostName = new QComboBox(bar);
    m_hostName->setObjectName("cbHostName");
    m_hostName->setEditable(true);
    m_hostName->setInsertPolicy(QComboBox::NoInsert);
    m_hostName->setAccessibleName(tr("FTP Server"));
    m_hostName->setMinimumContentsLength(24);
    m_hostName->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    hostLabel->setBuddy(m_hostName);
    bar->addWidget(hostLabel);
    bar->addWidget(m_hostName);

    auto button = [&](const QString& name, const QString& icon, const QString& hint, std::function<void()> run) {
        auto* tool = new QToolButton(bar);
        tool->setObjectName(name);
        tool->setIcon(GuiIcon(icon));
        tool->setToolTip(hint);
        tool->setAccessibleName(hint);
        tool->setAutoRaise(true);
        connect(tool, &QToolButton::clicked, this, std::move(run));
        bar->addWidget(tool);
    };
    button("sbConnect", "connect", tr("Connect to Host"), [this] { Connect(); });
    button("sbAbort", "abort", tr("Abort Current Command"), [this] { m_logic->Abort(); });
    button("sbDisconnect", "disconnect", tr("Disconnect to Host"), [this] { m_logic->Disconnect(); });
    bar->addSeparator();
    button("sbCompare", "compare", tr("Compare the Folders"), [this] { CompareFolders(false); });
    button("sbSynchronize", "synchronize", tr("Synchronize the Folders"), [this] { CompareFolders(true); });
    bar->addSeparator();

    auto field = [&](const QString& caption, const QString& name, int width) {
        auto* label = new QLabel(caption, bar);
        auto* edit = new QLineEdit(bar);
        edit->setObjectName(name);
        edit->setAccessibleName(QString(caption).remove('&'));
        edit->setMinimumWidth(width);
        edit->setMaximumWidth(width * 2);
        label->setBuddy(edit);
        label->setContentsMargins(6, 0, 2, 0);
        bar->addWidget(label);
        bar->addWidget(edit);
        connect(edit, &QLineEdit::returnPressed, this, [this] { Connect(); });
        return edit;
    };
    m_user = field(tr("&User"), "edUser", 90);
    m_pass = field(tr("&Pass"), "edPass", 90);
    m_pass->setEchoMode(QLineEdit::Password);
    m_port = field(tr("P&ort"), "edPort", 40);
    connect(m_hostName->lineEdit(), &QLineEdit::returnPressed, this, [this] { Connect(); });
    // On a narrow screen the rest of the bar goes behind a chevron, which needs a name too.
    if (auto* more = bar->findChild<QToolButton*>("qt_toolbar_ext_button")) {
        more->setToolTip(tr("More of the tool bar"));
        more->setAccessibleName(tr("More of the tool bar"));
    }
}

void TMainForm::BuildPanes()
{
    m_middle = new QSplitter(Qt::Horizontal, this);
    m_middle->setObjectName("Splitter3");
    m_queue = new QTreeView(m_middle);
    m_queue->setObjectName("tvQuene");
    m_queue->setAccessibleName(tr("Transfer queue"));
    m_queue->setHeaderHidden(true);
    m_queue->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_queue->setUniformRowHeights(true);
    m_queue->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_queue, &QWidget::customContextMenuRequested, this, &TMainForm::QueueMenu);

    m_local = new TPaneWidget(TPane::Local, "cbLocal", "lvLocal", "plLocalStatus", m_middle);
    m_remote = new TPaneWidget(TPane::Remote, "cbHost", "lvHost", "plHostStatus", m_middle);
    m_middle->addWidget(m_queue);
    m_middle->addWidget(m_local);
    m_middle->addWidget(m_remote);
    m_middle->setChildrenCollapsible(false);
    // The queue keeps its width; the panes share what the window gains or loses.
    m_middle->setStretchFactor(0, 0);
    m_middle->setStretchFactor(1, 1);
    m_middle->setStretchFactor(2, 1);
    m_middle->installEventFilter(this);
    connect(m_middle, &QSplitter::splitterMoved, this, [this](int, int index) {
        if (index == 1) // the splitter left of the local pane: both panes share what is left
            EqualizePanes();
    });

    for (TPaneWidget* widget : {m_local, m_remote}) {
        TPane pane = widget == m_local ? TPane::Local : TPane::Remote;
        connect(widget, &TPaneWidget::Focused, this, [this, pane] { SetActivePane(pane); });
        connect(widget, &TPaneWidget::Activated, this, [this, pane](int row) { PaneActivated(pane, row); });
        connect(widget, &TPaneWidget::UpRequested, this, [this, pane] { PaneUp(pane); });
        connect(widget, &TPaneWidget::MenuRequested, this,
                [this, pane](const QPoint& position, bool onSelection) { PaneMenu(pane, position, onSelection); });
        connect(widget, &TPaneWidget::SortRequested, this, [this, pane](int column) {
            if (pane == TPane::Remote)
                m_logic->SortByColumn(column);
            else
                m_logic->Local().SortByColumn(column);
        });
        connect(widget, &TPaneWidget::SelectionEdited, this, [this, pane](size_t row, bool selected) {
            if (pane == TPane::Remote)
                m_logic->SetRemoteSelected(row, selected);
            else
                m_logic->Local().SetSelected(row, selected);
        });
    }
    connect(m_local, &TPaneWidget::DeleteRequested, this, [this] {
        if (m_logic->SessionState() == ssReady || m_logic->SessionState() == ssConnected)
            m_logic->Local().Delete(m_logic->Settings().ConfirmDelete);
    });
    connect(m_local, &TPaneWidget::RenameRequested, this, [this] {
        if (m_logic->SessionState() == ssReady || m_logic->SessionState() == ssConnected)
            m_logic->Local().Rename();
    });
    connect(m_remote, &TPaneWidget::DeleteRequested, this, [this] { m_logic->RemoteDelete(); });
    connect(m_remote, &TPaneWidget::RenameRequested, this, [this] { m_logic->RemoteRename(); });
    connect(m_local->PathBox(), QOverload<int>::of(&QComboBox::activated), this,
            [this](int index) { m_logic->Local().ChooseDriveItem(index); });
    // The local path box also takes a typed path, completing folder names as they are typed.
    QComboBox* localPath = m_local->PathBox();
    localPath->setEditable(true);
    localPath->setInsertPolicy(QComboBox::NoInsert);
    auto* folders = new QFileSystemModel(localPath);
    folders->setFilter(QDir::Dirs | QDir::NoDotAndDotDot | QDir::Hidden);
    folders->setRootPath("/");
    auto* completer = new QCompleter(folders, localPath);
    completer->setCompletionMode(QCompleter::PopupCompletion);
    localPath->setCompleter(completer);
    connect(localPath->lineEdit(), &QLineEdit::returnPressed, this,
            [this, localPath] { m_logic->Local().OpenTypedPath(localPath->currentText().toStdString()); });
    connect(m_remote->PathBox(), QOverload<int>::of(&QComboBox::activated), this,
            [this](int index) { m_logic->RemoteChoosePath(index); });
}

void TMainForm::BuildBottom()
{
    m_bottom = new QSplitter(Qt::Horizontal, this);
    m_bottom->setObjectName("Splitter2");
    m_runTabs = new QTabWidget(m_bottom);
    m_runTabs->setObjectName("tcRun");
    m_runTabs->setTabPosition(QTabWidget::South);
    m_runTabs->setDocumentMode(true);
    m_transfers = new TTransfersPanel(*m_logic, m_runTabs);
    m_status = new QTreeView(m_runTabs);
    m_status->setObjectName("lvStatus");
    m_status->setAccessibleName(tr("Connections"));
    m_status->setRootIsDecorated(false);
    m_status->setUniformRowHeights(true);
    m_status->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_status->setSelectionMode(QAbstractItemView::SingleSelection);

    auto* logs = new QWidget(m_bottom);
    logs->setObjectName("plDisplay");
    m_log = new QListView(logs);
    m_log->setObjectName("reLog");
    m_log->setAccessibleName(tr("Connection log"));
    m_log->setUniformItemSizes(true);
    m_log->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_log->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_log->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_log->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_log->setWordWrap(false);
    m_log->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_log, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& position) { m_logMenu->popup(m_log->viewport()->mapToGlobal(position)); });
    m_logTabs = new QTabBar(logs);
    m_logTabs->setObjectName("pcDisplay");
    m_logTabs->setShape(QTabBar::RoundedSouth);
    m_logTabs->setExpanding(false);
    m_logTabs->setUsesScrollButtons(true);
    m_logTabs->setAccessibleName(tr("Log pages"));
    connect(m_logTabs, &QTabBar::currentChanged, this, &TMainForm::ShowLogPage);
    auto* layout = new QVBoxLayout(logs);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_log, 1);
    layout->addWidget(m_logTabs);

    m_runTabs->addTab(m_transfers, GuiIcon("queue-current"), tr("&Transfers"));
    m_runTabs->addTab(m_status, GuiIcon("status-connected"), tr("Co&nnections"));
    m_bottom->addWidget(m_runTabs);
    m_bottom->addWidget(logs);
    m_bottom->setStretchFactor(0, 1);
    m_bottom->setStretchFactor(1, 1);
    m_bottom->setChildrenCollapsible(false);
}

void TMainForm::BuildStatusBar()
{
    QStatusBar* bar = statusBar();
    bar->setObjectName("sbStatus");
    bar->setSizeGripEnabled(true);
    const int widths[] = {100, 150, 120, 120, 120, 50};
    for (int panel = 0; panel < 6; ++panel) {
        auto* label = new QLabel(bar);
        label->setObjectName("sbStatusPanel" + QString::number(panel));
        label->setMinimumWidth(widths[panel]);
        label->setFrameShape(QFrame::StyledPanel);
        label->setFrameShadow(QFrame::Sunken);
        if (panel == 2) {
            m_gauge = new QProgressBar(label);
            m_gauge->setObjectName("Gauge1");
            m_gauge->setRange(0, 100);
            m_gauge->setTextVisible(true);
            m_gauge->setAccessibleName(tr("Transfer progress"));
            QPalette teal = m_gauge->palette();
            teal.setColor(QPalette::Highlight, QColor(0, 128, 128));
            m_gauge->setPalette(teal);
            auto* layout = new QHBoxLayout(label);
            layout->setContentsMargins(1, 1, 1, 1);
            layout->addWidget(m_gauge);
            m_gauge->hide();
        }
        bar->addPermanentWidget(label, panel == 0 ? 1 : 0);
        m_panels.push_back(label);
    }
    m_speedLimit = new TSpeedLimitButton(*m_logic, bar);
    bar->addPermanentWidget(m_speedLimit);
}

void TMainForm::AttachModels()
{
    m_localModel = new TPaneModel(*m_logic, TPane::Local, this);
    m_remoteModel = new TPaneModel(*m_logic, TPane::Remote, this);
    m_local->SetModel(m_localModel, [this]() -> const std::vector<bool>& { return m_logic->Local().Selection(); });
    m_remote->SetModel(m_remoteModel, [this]() -> const std::vector<bool>& { return m_logic->RemoteSelection(); });
    // Rows dragged from pane to pane: the selection of the pane they came from goes.
    auto paneDrop = [this](TPane from) {
        if (m_logic->SessionState() != ssConnected)
            return false;
        if (from == TPane::Remote)
            m_logic->DownloadSelected();
        else
            m_logic->UploadSelected();
        return true;
    };
    m_localModel->OnPaneDrop = paneDrop;
    m_remoteModel->OnPaneDrop = paneDrop;
    m_remoteModel->OnFilesDrop = [this](const QStringList& paths) {
        if (m_logic->SessionState() != ssConnected)
            return false;
        std::vector<std::string> local;
        for (const QString& path : paths)
            local.push_back(path.toStdString());
        m_logic->UploadPaths(local);
        return true;
    };
    PaneRowsReplaced(TPane::Local);
    PaneRowsReplaced(TPane::Remote);

    m_queueModel = new TQueueModel(*m_logic, this);
    m_queue->setModel(m_queueModel);
    m_statusModel = new TStatusModel(*m_logic, this);
    m_statusModel->RowsResized();
    m_status->setModel(m_statusModel);
    LogPagesResized();
    QueueReset();
    PanePathChanged(TPane::Local);
    PanePathChanged(TPane::Remote);
}

void TMainForm::RestoreLayout()
{
    TWindowLayout layout = m_logic->Settings().Window;
    QRect screen = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->availableGeometry() : QRect();
    if (screen.isValid()) {
        layout.Width = std::min(layout.Width, screen.width() * 9 / 10);
        layout.Height = std::min(layout.Height, screen.height() * 9 / 10);
    }
    resize(layout.Width, layout.Height);
    if (layout.X >= 0 && layout.Y >= 0 && screen.contains(QPoint(layout.X + 20, layout.Y + 20)))
        move(layout.X, layout.Y);
    else if (screen.isValid())
        move(screen.center() - rect().center());
    if (layout.Maximized)
        setWindowState(windowState() | Qt::WindowMaximized);
    int middle = std::max(layout.Width - 169, 200);
    restoreSplitter(m_middle, layout.MiddleSplitter.empty() ? std::vector<int>{169, (middle - 8) / 2, (middle - 8) / 2}
                                                            : layout.MiddleSplitter);
    restoreSplitter(m_vertical, layout.PaneSplitter.empty()
                                    ? std::vector<int>{layout.Height * 3 / 5, layout.Height * 2 / 5}
                                    : layout.PaneSplitter);
    // The transfers view wants room: more than half the width to start with.
    restoreSplitter(m_bottom, layout.BottomSplitter.empty()
                                  ? std::vector<int>{layout.Width * 3 / 5, std::max(layout.Width * 2 / 5 - 4, 100)}
                                  : layout.BottomSplitter);
    restoreColumns(m_local->Details()->header(), layout.LocalColumns, {170, 85, 110});
    restoreColumns(m_remote->Details()->header(), layout.RemoteColumns, {150, 75, 95, 75});
    restoreColumns(m_status->header(), layout.StatusColumns, {40, 80, 100, 80});
}

TWindowLayout TMainForm::SavedLayout() const
{
    TWindowLayout layout = m_logic->Settings().Window;
    // move() places the frame, so the frame's corner is kept: the inside's would move the
    // window down by its title bar at every start under a window manager.
    QRect normal = normalGeometry();
    QPoint frameOffset = geometry().topLeft() - pos();
    layout.X = normal.x() - frameOffset.x();
    layout.Y = normal.y() - frameOffset.y();
    layout.Width = normal.width();
    layout.Height = normal.height();
    layout.Maximized = isMaximized();
    layout.MiddleSplitter = splitterSizes(m_middle);
    layout.PaneSplitter = splitterSizes(m_vertical);
    layout.BottomSplitter = splitterSizes(m_bottom);
    layout.LocalColumns = columnWidths(m_local->Details()->header());
    layout.RemoteColumns = columnWidths(m_remote->Details()->header());
    layout.StatusColumns = columnWidths(m_status->header());
    return layout;
}

void TMainForm::Start(const std::string& argument, const std::function<void()>& beforeShow)
{
    m_logic->FormCreate();
    m_speedLimit->ShowLimits();
    ApplyFonts();
    AttachModels();
    RestoreLayout();
    ApplyColours();
    ShowToolBar();
    ShowHostHistory();
    SessionStateChanged();
    if (beforeShow)
        beforeShow();
    if (qEnvironmentVariableIsSet(kStartMaximized)) {
        qunsetenv(kStartMaximized); // for this start only, not for what it starts
        setWindowState(windowState() | Qt::WindowMaximized);
    }
    show();
    m_hostName->setFocus();
    m_logic->FormShow(argument);
    ShowToolBar();
    // The site manager opens once the window is up and an address has begun to connect.
    if (m_logic->Settings().ShowSiteManager)
        QTimer::singleShot(0, this, [this] { SiteManager(); });
}

// ---------------------------------------------------------------- tool bar

void TMainForm::PushToolBar()
{
    m_logic->SetToolBar({m_hostName->currentText().toStdString(), m_port->text().toStdString(),
                         m_user->text().toStdString(), m_pass->text().toStdString()});
}

void TMainForm::ShowToolBar()
{
    const TToolBarFields& fields = m_logic->ToolBar();
    if (m_hostName->currentText() != fromUtf8(fields.HostName))
        m_hostName->setEditText(fromUtf8(fields.HostName));
    m_port->setText(fromUtf8(fields.Port));
    m_user->setText(fromUtf8(fields.User));
    m_pass->setText(fromUtf8(fields.Pass));
}

void TMainForm::ShowHostHistory()
{
    const std::vector<std::string>& items = m_logic->Settings().HostItems;
    bool same = m_hostName->count() == static_cast<int>(items.size());
    for (int i = 0; same && i < m_hostName->count(); ++i)
        same = m_hostName->itemText(i) == fromUtf8(items[static_cast<size_t>(i)]);
    if (same)
        return;
    QString text = m_hostName->currentText();
    m_hostName->clear();
    for (const std::string& item : items)
        m_hostName->addItem(fromUtf8(item));
    m_hostName->setEditText(text);
}

void TMainForm::Connect()
{
    PushToolBar();
    m_logic->ConnectFromToolBar();
    ShowToolBar();
}

// ---------------------------------------------------------------- the panes

void TMainForm::SetActivePane(TPane pane)
{
    m_activePaneSet = true;
    m_activePane = pane;
    TickViewStyle();
    ApplyColours();
}

// The style actions are shared by the View menu and both panes' popups; their tick
// follows the pane they act on, so each pane shows its own style.
void TMainForm::TickViewStyle()
{
    static const std::pair<const char*, TfmMain::TViewStyle> kActions[] = {
        {"miLargeIcons", TfmMain::TViewStyle::LargeIcons},
        {"miSmallIcons", TfmMain::TViewStyle::SmallIcons},
        {"miList", TfmMain::TViewStyle::List},
        {"miDetails", TfmMain::TViewStyle::Details}};
    TfmMain::TViewStyle style = m_activePaneSet ? m_logic->ViewStyle(m_activePane) : TfmMain::TViewStyle::Details;
    for (const auto& [name, actionStyle] : kActions)
        if (auto* action = findChild<QAction*>(name))
            action->setChecked(actionStyle == style);
}

void TMainForm::OnActivePane(const std::function<void()>& remote, const std::function<void()>& local)
{
    if (!m_activePaneSet)
        return; // neither pane has had the focus yet
    if (m_activePane == TPane::Remote)
        remote();
    else
        local();
}

void TMainForm::EqualizePanes()
{
    QList<int> sizes = m_middle->sizes();
    if (sizes.size() != 3)
        return;
    int both = sizes[1] + sizes[2];
    sizes[1] = both / 2;
    sizes[2] = both - sizes[1];
    m_middle->setSizes(sizes);
}

void TMainForm::PaneActivated(TPane pane, int row)
{
    if (pane == TPane::Remote)
        m_logic->RemoteDoubleClick(row);
    else if (!m_logic->Busy())
        m_logic->Local().DoubleClick(row);
}

void TMainForm::PaneUp(TPane pane)
{
    const auto& rows = pane == TPane::Remote ? m_logic->RemoteEntries() : m_logic->Local().Entries();
    if (rows.empty() || !rows.front().IsParent())
        return;
    PaneActivated(pane, 0);
}

void TMainForm::PaneRowsReplaced(TPane pane)
{
    TPaneModel* model = pane == TPane::Remote ? m_remoteModel : m_localModel;
    if (!model)
        return;
    model->RowsReplaced();
    TPaneWidget* widget = pane == TPane::Remote ? m_remote : m_local;
    int column = pane == TPane::Remote ? m_logic->RemoteSortColumn() : m_logic->Local().SortColumn();
    bool ascending = pane == TPane::Remote ? m_logic->RemoteSortAscending() : m_logic->Local().SortAscending();
    widget->Details()->header()->setSortIndicator(column, ascending ? Qt::AscendingOrder : Qt::DescendingOrder);
    widget->SetViewStyle(m_logic->ViewStyle(pane));
    widget->Strip()->setText(fromUtf8(pane == TPane::Remote ? m_logic->RemoteSummary() : m_logic->Local().Summary()));
    ShowOnlyDifferences(pane);
    if (model->rowCount() > 0)
        widget->CurrentView()->scrollToTop();
}

void TMainForm::PaneRowChanged(TPane pane, size_t row)
{
    TPaneModel* model = pane == TPane::Remote ? m_remoteModel : m_localModel;
    if (model)
        model->RowChanged(row);
    (pane == TPane::Remote ? m_remote : m_local)->ShowSelection();
}

void TMainForm::PaneSelectionChanged(TPane pane)
{
    if (pane == TPane::Remote ? m_remoteModel : m_localModel)
        (pane == TPane::Remote ? m_remote : m_local)->ShowSelection();
}

void TMainForm::PanePathChanged(TPane pane)
{
    if (!m_localModel)
        return;
    if (pane == TPane::Local) {
        QComboBox* box = m_local->PathBox();
        const auto& items = m_logic->Local().DriveItems();
        box->blockSignals(true);
        box->clear();
        for (int i = 0; i < static_cast<int>(items.size()); ++i) {
            const TDriveItem& item = items[static_cast<size_t>(i)];
            bool current = i == m_logic->Local().DriveIndex();
            QIcon icon = GuiIcon(item.Level == 1 ? "volume" : current ? "folder-open" : "folder");
            box->addItem(icon, fromUtf8(m_logic->Local().DriveItemText(i)));
            // Each item is indented by its level, 8 pixels a level.
            box->setItemData(i, item.Level * 8, Qt::UserRole);
            box->setItemData(i, fromUtf8(item.Path), Qt::ToolTipRole);
        }
        // The open list is as wide as its widest item with its indent: nothing is cut.
        int widest = 0;
        for (int i = 0; i < box->count(); ++i)
            widest = std::max(widest, box->view()->sizeHintForIndex(box->model()->index(i, 0)).width());
        box->view()->setMinimumWidth(widest + box->view()->verticalScrollBar()->sizeHint().width());
        box->setCurrentIndex(m_logic->Local().DriveIndex());
        box->setEditText(fromUtf8(m_logic->Local().Path())); // the path alone, to type on from
        box->blockSignals(false);
        return;
    }
    QComboBox* box = m_remote->PathBox();
    box->blockSignals(true);
    box->clear();
    const auto& items = m_logic->RemotePathItems();
    int current = -1;
    for (int i = 0; i < static_cast<int>(items.size()); ++i) {
        box->addItem(GuiIcon("folder"), fromUtf8(items[static_cast<size_t>(i)]));
        if (items[static_cast<size_t>(i)] == m_logic->RemoteDir())
            current = i;
    }
    box->setCurrentIndex(current);
    box->blockSignals(false);
}

// ---------------------------------------------------------------- status rows, logs, queue

void TMainForm::StatusRowChanged(size_t row)
{
    if (m_statusModel)
        m_statusModel->RowChanged(row);
}

void TMainForm::StatusRowsResized()
{
    if (m_statusModel)
        m_statusModel->RowsResized();
}

void TMainForm::LogPagesResized()
{
    if (!m_logic || !m_statusModel)
        return;
    int count = m_logic->Logs().Count();
    while (static_cast<int>(m_logModels.size()) > count) {
        if (m_log->model() == m_logModels.back())
            m_log->setModel(nullptr);
        delete m_logModels.back();
        m_logModels.pop_back();
    }
    bool startUp = m_logModels.empty() && !m_logPagesMade;
    m_logPagesMade = true;
    QColor skin = SkinBackground(m_logic->Settings().UseSkin, m_logic->Settings().SkinColor, palette());
    while (static_cast<int>(m_logModels.size()) < count) {
        auto* model = new TLogModel(m_logic->Logs(), static_cast<int>(m_logModels.size()), this);
        model->SetSkinned(startUp);
        model->SetColours(startUp && skin.isValid() ? WindowColours(palette(), skin) : m_colours);
        m_logModels.push_back(model);
    }
    m_logTabs->blockSignals(true);
    while (m_logTabs->count() > count)
        m_logTabs->removeTab(m_logTabs->count() - 1);
    while (m_logTabs->count() < count)
        m_logTabs->addTab(QString::number(m_logTabs->count()));
    m_logTabs->blockSignals(false);
    // Tabs added while the bar is hidden do not tell the layout that the bar has grown.
    m_logTabs->updateGeometry();
    ShowLogPage(m_logTabs->currentIndex() < 0 ? 0 : m_logTabs->currentIndex());
}

void TMainForm::ShowLogPage(int page)
{
    if (page < 0 || page >= static_cast<int>(m_logModels.size()))
        return;
    if (m_log->model() != m_logModels[static_cast<size_t>(page)])
        m_log->setModel(m_logModels[static_cast<size_t>(page)]);
    ShowLogBackground();
    ScrollLogToEnd();
}

void TMainForm::ShowLogBackground()
{
    auto* model = qobject_cast<TLogModel*>(m_log->model());
    QColor skin = model && model->Skinned()
                      ? SkinBackground(m_logic->Settings().UseSkin, m_logic->Settings().SkinColor, palette())
                      : QColor();
    // Only the base colour is set, so the rest follows the palette when the desktop's changes.
    QPalette colours;
    if (skin.isValid())
        colours.setColor(QPalette::Base, skin);
    m_log->setPalette(colours);
}

void TMainForm::ScrollLogToEnd()
{
    m_log->scrollToBottom();
}

void TMainForm::LogLinesChanged(int page, size_t dropped, size_t appended)
{
    if (page < 0 || page >= static_cast<int>(m_logModels.size()))
        return;
    m_logModels[static_cast<size_t>(page)]->LinesChanged(dropped, appended);
    // The newest line shows, unless the user is reading the log.
    if (page == m_logTabs->currentIndex() && !m_log->hasFocus())
        ScrollLogToEnd();
}

void TMainForm::QueueNodeAdded(const TQueueNode& parent, size_t row)
{
    if (!m_queueModel)
        return;
    m_queueModel->NodeAdded(parent, row);
    const TQueueNode& node = *parent.Children[row];
    if (node.Expanded)
        m_queue->expand(m_queueModel->IndexOf(node));
    if (parent.Expanded)
        m_queue->expand(m_queueModel->IndexOf(parent));
}

void TMainForm::QueueNodeRemoving(const TQueueNode& parent, size_t row)
{
    if (m_queueModel)
        m_queueModel->NodeRemoving(parent, row);
}

void TMainForm::QueueNodeRemoved()
{
    if (m_queueModel)
        m_queueModel->NodeRemoved();
}

void TMainForm::QueueNodeChanged(const TQueueNode& node)
{
    if (!m_queueModel)
        return;
    m_queueModel->NodeChanged(node);
    if (node.Expanded)
        m_queue->expand(m_queueModel->IndexOf(node));
}

void TMainForm::QueueResetting()
{
    if (m_queueModel)
        m_queueModel->Resetting();
}

void TMainForm::QueueReset()
{
    if (!m_queueModel)
        return;
    m_queueModel->Reset();
    // Open what the tree says is open.
    std::function<void(const TQueueNode&)> expand = [&](const TQueueNode& node) {
        if (node.Expanded)
            m_queue->expand(m_queueModel->IndexOf(node));
        for (const auto& child : node.Children)
            if (!child->Children.empty())
                expand(*child);
    };
    for (const auto& top : m_logic->QueueTree().Root().Children)
        expand(*top);
}

// ---------------------------------------------------------------- progress and state

void TMainForm::ProgressChanged()
{
    for (int panel = 1; panel <= 4; ++panel)
        if (panel != 2)
            m_panels[static_cast<size_t>(panel)]->setText(fromUtf8(m_logic->StatusPanel(panel)));
    m_gauge->setVisible(m_logic->GaugeVisible());
    m_gauge->setValue(m_logic->GaugePercent());
    // The dock's entry shows the same, told only when it changes.
    std::pair<bool, int> launcher{m_logic->GaugeVisible(), m_logic->GaugePercent()};
    if (launcher != m_launcherShown) {
        m_launcherShown = launcher;
        ShowLauncherProgress(launcher.first, launcher.second / 100.0);
    }
    if (m_statusModel)
        m_statusModel->Flush();
}

void TMainForm::SessionStateChanged()
{
    if (!m_logic)
        return;
    setWindowTitle(fromUtf8(m_logic->Caption()));
    m_panels[0]->setText(fromUtf8(m_logic->StatusPanel(0)));
    m_local->SetBusy(m_logic->Busy());
    m_remote->SetBusy(m_logic->Busy());
    if (m_statusModel)
        m_statusModel->RowChanged(0);
    ShowToolBar(); // a connection the logic started (an address, a broken list) fills the fields
    ShowHostHistory();
    if (m_mainConnection)
        m_mainConnection->setText(fromUtf8(m_logic->MainConnectionCaption()));
}

void TMainForm::NotifyDesktop(const std::string& summary, const std::string& body)
{
    SendDesktopNotice(QString::fromStdString(summary), QString::fromStdString(body));
}

void TMainForm::TransfersChanged()
{
    m_transfers->RowsUpdated();
}

void TMainForm::ApplyColours()
{
    m_colours = WindowColours(palette());
    QColor skin = SkinBackground(m_logic->Settings().UseSkin, m_logic->Settings().SkinColor, palette());
    for (TLogModel* model : m_logModels)
        model->SetColours(model->Skinned() && skin.isValid() ? WindowColours(palette(), skin) : m_colours);
    ShowLogBackground();
    m_transfers->SetColours(m_colours);
    bool localActive = m_activePaneSet && m_activePane == TPane::Local;
    bool remoteActive = m_activePaneSet && m_activePane == TPane::Remote;
    m_local->SetStripColours(localActive ? m_colours.ActiveStrip : m_colours.Strip,
                             localActive ? m_colours.ActiveStripText : m_colours.StripText);
    m_remote->SetStripColours(remoteActive ? m_colours.ActiveStrip : m_colours.Strip,
                              remoteActive ? m_colours.ActiveStripText : m_colours.StripText);
}

// ---------------------------------------------------------------- questions

bool TMainForm::InputQuery(const std::string& caption, const std::string& prompt, std::string& value)
{
    return AskText(this, caption, prompt, value);
}

void TMainForm::ShowMessage(const std::string& text)
{
    ShowInformation(this, text);
}

bool TMainForm::AskYesNo(const std::string& caption, const std::string& text)
{
    return ::AskYesNo(this, caption, text);
}

TFileExistsChoice TMainForm::AskFileExists(const std::string& localPath)
{
    TfmFileExists dialog(fromUtf8(localPath), this);
    dialog.exec();
    return dialog.Choice();
}

TCertificateChoice TMainForm::AskCertificate(const std::string& site, const TTlsCertificate& certificate)
{
    return ::AskCertificate(this, site, certificate);
}

TCertificateChoice TMainForm::AskHostKey(const std::string& site, const std::string& type,
                                         const std::string& fingerprint)
{
    return ::AskHostKey(this, site, type, fingerprint);
}

std::string TMainForm::AskPassphrase(const std::string& keyPath)
{
    return ::AskPassphrase(this, keyPath);
}

void TMainForm::SetClipboardText(const std::string& text)
{
    QGuiApplication::clipboard()->setText(fromUtf8(text));
}

void TMainForm::OpenWithDefaultApplication(const std::string& path)
{
    if (OpenPath)
        OpenPath(fromUtf8(path));
}

void TMainForm::OpenInTextEditor(const std::string& path)
{
    if (platform::isTextFile(path)) {
        if (auto editor = platform::textEditorCommand(path); editor && StartCommand) {
            QStringList command;
            for (const std::string& word : *editor)
                command += fromUtf8(word);
            StartCommand(command);
            return;
        }
    }
    OpenWithDefaultApplication(path); // not text, or no text editor is set: what the desktop opens it with
}

void TMainForm::RunProgram(const std::string& path)
{
    if (RunPath)
        RunPath(fromUtf8(path));
}

void TMainForm::ShowProperties(const std::string& path)
{
    TfmProperties dialog(fromUtf8(path), this);
    dialog.exec();
}

// ---------------------------------------------------------------- events

void TMainForm::CloseWithoutQuestion()
{
    m_closeWithoutQuestion = true;
    // Open dialogs end as if cancelled; the window closes once their loops have returned.
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* dialog = qobject_cast<QDialog*>(widget); dialog && dialog->isVisible())
            dialog->reject();
    QTimer::singleShot(0, this, [this] { close(); });
}

void TMainForm::closeEvent(QCloseEvent* event)
{
    if (m_closing || (!m_closeWithoutQuestion && !m_logic->CanClose())) {
        event->setAccepted(m_closing);
        return;
    }
    m_closing = true;
    m_logic->SetWindowLayout(SavedLayout());
    m_logic->FormDestroy();
    event->accept();
}

void TMainForm::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::PaletteChange || event->type() == QEvent::ApplicationPaletteChange)
        ApplyColours();
    QMainWindow::changeEvent(event);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_middle && event->type() == QEvent::Resize)
        QMetaObject::invokeMethod(this, &TMainForm::EqualizePanes, Qt::QueuedConnection);
    return QMainWindow::eventFilter(watched, event);
}
