#include "gui/GuiTest.h"
#include "gui/PaneWidget.h"

#include <fstream>

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QLineEdit>
#include <QTest>

#include <gtest/gtest.h>

namespace testsupport {

void answerDialog(std::function<void(QWidget* dialog)> act, int timeoutMs)
{
    auto* timer = new QTimer;
    auto started = std::make_shared<qint64>(platform::tickCount());
    QObject::connect(timer, &QTimer::timeout, [timer, act, started, timeoutMs] {
        QWidget* dialog = QApplication::activeModalWidget();
        if (dialog && dialog->isVisible()) {
            timer->stop();
            timer->deleteLater();
            act(dialog);
        } else if (platform::tickCount() - *started > timeoutMs) {
            timer->stop();
            timer->deleteLater();
            ADD_FAILURE() << "no dialog came";
        }
    });
    timer->start(30);
}

void answerDialogWith(const QString& text)
{
    answerDialog([text](QWidget* dialog) {
        for (QAbstractButton* button : dialog->findChildren<QAbstractButton*>())
            if (button->text().remove('&') == text) {
                QTest::mouseClick(button, Qt::LeftButton);
                return;
            }
        ADD_FAILURE() << "no button " << text.toStdString() << " in " << dialog->windowTitle().toStdString();
        dialog->close();
    });
}

GuiSession::GuiSession(FtpServer& server, const std::string& ini) : m_server(server)
{
    std::ofstream(dataDir() + "quillftp.ini") << "[PasvMode]\nPasvMode=1\n[General]\nShowSiteManager=0\n"
                                              << "[LocalPath]\nLocalPath=" << localDir() << "\n"
                                              << ini;
    window = std::make_unique<TMainForm>(dataDir(), dataDir());
    window->OpenPath = [this](const QString& path) { opened.push_back(path); };
    window->RunPath = [](const QString&) {};
    window->StartCommand = [this](const QStringList& command) { started.push_back(command); };
    window->Start("");
    // Focus moves, and with it the active pane, only in the active window.
    QApplication::setActiveWindow(window.get());
    if (!QTest::qWaitForWindowActive(window.get()))
        ADD_FAILURE() << "the window never became active";
}

GuiSession::~GuiSession()
{
    TfmMain& logic = window->Logic();
    logic.Disconnect();
    window->close();
    window.reset();
}

bool GuiSession::settled(int timeoutMs)
{
    return waitFor(
        [&] {
            TSessionState state = window->Logic().SessionState();
            return (state == ssConnected || state == ssReady) && !window->Logic().Run().Running();
        },
        timeoutMs);
}

bool GuiSession::connectFromToolBar()
{
    child<QComboBox>("cbHostName")->setEditText("127.0.0.1");
    child<QLineEdit>("edUser")->setText(QString::fromStdString(m_server.user()));
    child<QLineEdit>("edPass")->setText(QString::fromStdString(m_server.password()));
    child<QLineEdit>("edPort")->setText(QString::fromStdString(m_server.portText()));
    QTest::mouseClick(child<QAbstractButton>("sbConnect"), Qt::LeftButton);
    return waitFor([&] { return window->Logic().SessionState() == ssConnected; }, 20000) && settled();
}

std::string GuiSession::workDir() const
{
    return m_server.workDir() == "/" ? "/" : m_server.workDir() + "/";
}

bool GuiSession::openWorkDir()
{
    if (workDir() == "/")
        return true;
    answerDialogWith("Yes");
    window->Logic().ConnectTo({"127.0.0.1", m_server.portText(), m_server.user(), m_server.password()}, workDir());
    return waitFor([&] { return window->Logic().RemoteDir() == workDir(); }, 20000) && settled();
}

QTreeView* GuiSession::list(TPane pane) const
{
    return child<QTreeView>(pane == TPane::Remote ? "lvHost" : "lvLocal");
}

void GuiSession::doubleClick(TPane pane, const std::string& name)
{
    QTreeView* view = list(pane);
    QModelIndex index = view->model()->index(row(pane, name), 0);
    view->scrollTo(index);
    QRect rect;
    if (!waitFor([&] { return !(rect = view->visualRect(index)).isEmpty(); }, 2000))
        ADD_FAILURE() << "row " << name << " never shown";
    // A window system sends press, release, double click, release; QTest's double click is
    // only the third of them.
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, rect.center());
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, rect.center());
}

void GuiSession::focus(TPane pane)
{
    QApplication::setActiveWindow(window.get());
    // The view the pane shows: the details, or the icons in the other styles.
    QWidget* view = window->findChild<TPaneWidget*>(pane == TPane::Local ? "plLocal" : "plHost")->CurrentView();
    view->setFocus(Qt::MouseFocusReason);
    if (!waitFor([&] { return QApplication::focusWidget() == view; }, 2000))
        ADD_FAILURE() << "the pane did not take the focus";
}

int GuiSession::row(TPane pane, const std::string& name) const
{
    QAbstractItemModel* model = list(pane)->model();
    for (int row = 0; row < model->rowCount(); ++row)
        if (model->index(row, 0).data().toString().toStdString() == name)
            return row;
    return -1;
}

void GuiSession::select(TPane pane, const std::vector<std::string>& names)
{
    QTreeView* view = list(pane);
    view->clearSelection();
    for (const std::string& name : names) {
        int at = row(pane, name);
        if (at < 0) {
            ADD_FAILURE() << "no row " << name;
            continue;
        }
        view->selectionModel()->select(view->model()->index(at, 0),
                                       QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
}

} // namespace testsupport
