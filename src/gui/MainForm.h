#pragma once

// The main window: the widgets of TfmMain's logic. It shows what the logic holds through one
// model per list (remote rows, local rows, queue tree, status rows, log pages), asks the
// questions the logic asks in real dialogs, and gives every user action to a command of
// TfmMain; it never calls the manager or the engine itself. The menus are in MainMenus.cpp.

#include <functional>
#include <memory>
#include <vector>

#include <QLabel>
#include <QMainWindow>
#include <QProgressBar>

#include "gui/Colours.h"
#include "ui/MainWindow.h"

class QAction;
class QActionGroup;
class QComboBox;
class QLineEdit;
class QListView;
class QMenu;
class QSplitter;
class QTabBar;
class QToolButton;
class QTreeView;
class QUrl;
class TLogModel;
class TTransfersPanel;
class QTabWidget;
class TPaneModel;
class TPaneWidget;
class TQueueModel;
class TStatusModel;

class TMainForm : public QMainWindow, public IMainView
{
    Q_OBJECT
public:
    TMainForm(std::string dataDir, std::string programDir, QWidget* parent = nullptr);
    ~TMainForm() override;

    // FormCreate, the models, the window's place as it was left; then shown, and the address
    // of the command line connected (FormShow).
    // beforeShow runs when the window is ready and not yet shown (the splash goes then).
    void Start(const std::string& argument, const std::function<void()>& beforeShow = {});
    TfmMain& Logic() { return *m_logic; }

    // The desktop's services, replaceable by tests: open a path with its default application,
    // run a program.
    std::function<void(const QString& path)> OpenPath;
    std::function<void(const QString& path)> RunPath;
    // Starts a command line (the program, then its arguments) on its own.
    std::function<void(const QStringList& command)> StartCommand;
    // Open an address in the desktop's browser or mail program; start the program once more.
    std::function<bool(const QUrl& url)> OpenUrl; // false when nothing could open it
    // Set in the environment of a new session's program: its window starts maximised.
    static constexpr const char* kStartMaximized = "QUILLFTP_START_MAXIMIZED";
    std::function<bool(const QString& program)> StartInstance;

    // The program's other windows (MainShell.cpp).
    void SiteManager();
    void AddCurrentSite();
    void Preferences();
    void About();
    void NewSession();
    // Help pages shipped beside the program ("help.htm", "FAQ.htm"), and the maker's addresses
    // set when the program was built (the help page when none was set).
    void OpenShippedPage(const QString& name);
    void OpenLink(const QString& address);
    static const char* HomePage();
    static const char* MailAddress();
    // After the settings changed: fonts, the host history, the main connection's caption.
    void SettingsChanged();
    // The window's size, splitters and columns as at the first start.
    void ResetLayout();
    // Ends the program as closing the window does, without asking (a signal to end).
    void CloseWithoutQuestion();

    // The active pane: the one whose list last had the keyboard focus; none at first.
    bool HasActivePane() const { return m_activePaneSet; }
    TPane ActivePane() const { return m_activePane; }

    // IMainView: the questions, in real dialogs.
    bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) override;
    void ShowMessage(const std::string& text) override;
    bool AskYesNo(const std::string& caption, const std::string& text) override;
    void SetClipboardText(const std::string& text) override;
    void OpenWithDefaultApplication(const std::string& path) override;
    void OpenInTextEditor(const std::string& path) override;
    void RunProgram(const std::string& path) override;
    void ShowProperties(const std::string& path) override;
    TFileExistsChoice AskFileExists(const std::string& localPath) override;
    TCertificateChoice AskCertificate(const std::string& site, const TTlsCertificate& certificate) override;
    TCertificateChoice AskHostKey(const std::string& site, const std::string& type,
                                  const std::string& fingerprint) override;
    std::string AskPassphrase(const std::string& keyPath) override;

    // IMainView: what changed.
    void PaneRowsReplaced(TPane pane) override;
    void PaneRowChanged(TPane pane, size_t row) override;
    void PaneSelectionChanged(TPane pane) override;
    void PanePathChanged(TPane pane) override;
    void StatusRowChanged(size_t row) override;
    void StatusRowsResized() override;
    void LogLinesChanged(int page, size_t dropped, size_t appended) override;
    void LogPagesResized() override;
    void QueueNodeAdded(const TQueueNode& parent, size_t row) override;
    void QueueNodeRemoving(const TQueueNode& parent, size_t row) override;
    void QueueNodeRemoved() override;
    void QueueNodeChanged(const TQueueNode& node) override;
    void QueueResetting() override;
    void QueueReset() override;
    void ProgressChanged() override;
    void TransfersChanged() override;
    bool WindowActive() const override { return isActiveWindow(); }
    void NotifyDesktop(const std::string& summary, const std::string& body) override;
    void SessionStateChanged() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Building (MainForm.cpp).
    void BuildToolBar();
    void BuildPanes();
    void BuildBottom();
    void BuildStatusBar();
    void AttachModels();
    void RestoreLayout();
    TWindowLayout SavedLayout() const;
    // Menus and actions (MainMenus.cpp).
    void BuildMenus();
    void BuildPopups();
    QAction* AddAction(QMenu* menu, const QString& caption, const QString& icon, const QString& name,
                       std::function<void()> run, const QKeySequence& shortcut = {});

    // The tool bar's fields into the logic before a command, and back after it.
    void PushToolBar();
    void ShowToolBar();
    void ShowHostHistory();
    void Connect();
    // Commands that act on the active pane (the "View" menu).
    void OnActivePane(const std::function<void()>& remote, const std::function<void()>& local);
    void SetActivePane(TPane pane);
    void TickViewStyle();
    void ShowLogBackground();
    void EqualizePanes();
    void ApplyColours();
    void ShowLogPage(int page);
    void ScrollLogToEnd();
    void PaneActivated(TPane pane, int row);
    void PaneUp(TPane pane);
    void PaneMenu(TPane pane, const QPoint& position, bool onSelection);
    void QueueMenu(const QPoint& position);
    void CopySelectedLog();
    void ApplyFonts();
    // Compare and synchronize (MainCompare.cpp): both folders listed, the rows marked, and for
    // a synchronization the plan dialog; the filter that shows only the rows that differ.
    void CompareFolders(bool synchronize);
    void Compared(bool synchronize);
    void ShowOnlyDifferences(TPane pane);

    QString m_programDir;
    std::unique_ptr<TfmMain> m_logic;
    TWindowColours m_colours;
    bool m_activePaneSet = false;
    TPane m_activePane = TPane::Local;
    bool m_closing = false;
    bool m_closeWithoutQuestion = false;

    // Tool bar.
    QComboBox* m_hostName = nullptr;
    QLineEdit* m_user = nullptr;
    QLineEdit* m_pass = nullptr;
    QLineEdit* m_port = nullptr;
    // Middle and bottom.
    QSplitter* m_middle = nullptr;
    QSplitter* m_vertical = nullptr;
    QSplitter* m_bottom = nullptr;
    QTreeView* m_queue = nullptr;
    TPaneWidget* m_local = nullptr;
    TPaneWidget* m_remote = nullptr;
    QTreeView* m_status = nullptr;
    QTabWidget* m_runTabs = nullptr; // the transfers view and the connections' rows
    TTransfersPanel* m_transfers = nullptr;
    QListView* m_log = nullptr;
    QTabBar* m_logTabs = nullptr;
    // Status bar.
    std::vector<QLabel*> m_panels;
    QProgressBar* m_gauge = nullptr;
    // Models.
    TPaneModel* m_localModel = nullptr;
    TPaneModel* m_remoteModel = nullptr;
    TQueueModel* m_queueModel = nullptr;
    TStatusModel* m_statusModel = nullptr;
    std::vector<TLogModel*> m_logModels;
    std::pair<bool, int> m_launcherShown{false, 0};
    bool m_logPagesMade = false;
    // Menus.
    QMenu* m_hostSelected = nullptr;
    QMenu* m_hostNoSelect = nullptr;
    QMenu* m_localSelected = nullptr;
    QMenu* m_localNoSelect = nullptr;
    QMenu* m_logMenu = nullptr;
    QMenu* m_queueMenu = nullptr;
    QAction* m_mainConnection = nullptr;
    QAction* m_differencesOnly = nullptr;
    class TSpeedLimitButton* m_speedLimit = nullptr;
    QActionGroup* m_remoteStyles = nullptr;
    QActionGroup* m_localStyles = nullptr;
};
