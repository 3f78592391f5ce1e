#include "gui/MainForm.h"

// Compare and synchronize: the folders of both panes listed on the connections, their rows
// tinted by what the comparison found, and a synchronization's plan shown for review.

#include <QAction>
#include <QStatusBar>

#include "gui/PaneWidget.h"
#include "gui/dialogs/SyncDialog.h"
#include "ui/SyncWork.h"

void TMainForm::CompareFolders(bool synchronize)
{
    TSyncWork& sync = m_logic->Sync();
    if (m_logic->SessionState() != ssConnected || m_logic->TransfersRunning() || sync.Busy()) {
        ShowMessage(sync.Busy() ? "The folders are being compared already."
                                : "Compare and synchronize need a connected session with no transfers running.");
        return;
    }
    statusBar()->showMessage("Comparing " + QString::fromStdString(m_logic->Local().Path()) + " with " +
                             QString::fromStdString(m_logic->RemoteDir()) + "...");
    m_local->SetBusy(true);
    m_remote->SetBusy(true);
    TSyncOptions options; // both ways, nothing deleted: the dialog offers the rest
    sync.Compare(m_logic->Local().Path(), options, false, [this, synchronize] { Compared(synchronize); });
}

void TMainForm::Compared(bool synchronize)
{
    m_local->SetBusy(false);
    m_remote->SetBusy(false);
    statusBar()->clearMessage();
    TSyncWork& sync = m_logic->Sync();
    if (sync.Error() == TSyncWork::kStopped) {
        statusBar()->showMessage("The comparison was stopped.", 10000);
        PaneRowsReplaced(TPane::Local);
        PaneRowsReplaced(TPane::Remote);
        return;
    }
    if (!sync.Error().empty()) {
        ShowMessage("The folders could not be compared: " + sync.Error());
        return;
    }
    PaneRowsReplaced(TPane::Local);
    PaneRowsReplaced(TPane::Remote);
    const TSyncPlan& plan = sync.Plan();
    statusBar()->showMessage(
        plan.Actions.empty() ? QString("The folders are alike (%1 files).").arg(plan.Unchanged)
                             : QString("%1 differences; %2 files alike.").arg(plan.Actions.size()).arg(plan.Unchanged),
        10000);
    if (!synchronize)
        return;
    TSyncDialog dialog(sync, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    statusBar()->showMessage("Synchronizing...");
    sync.Execute([this] {
        statusBar()->clearMessage();
        const TSyncWork::TOutcome& outcome = m_logic->Sync().Outcome();
        std::string text = std::to_string(outcome.Done) + (outcome.Done == 1 ? " action" : " actions") + " done";
        if (!outcome.Failures.empty()) {
            text += "; not done:";
            for (size_t k = 0; k < outcome.Failures.size() && k < 10; ++k)
                text += "\n" +
                        (outcome.Failures[k].Name.empty() ? std::string("(the run)") : outcome.Failures[k].Name) +
                        ": " + outcome.Failures[k].Reply;
            ShowMessage("Synchronize: " + text);
        } else {
            statusBar()->showMessage(QString::fromStdString("Synchronized: " + text + "."), 10000);
        }
        m_logic->Local().Refresh();
        m_logic->RemoteRefresh();
    });
}

void TMainForm::ShowOnlyDifferences(TPane pane)
{
    bool only = m_differencesOnly && m_differencesOnly->isChecked() && m_logic->Sync().Marking();
    TPaneModel* model = pane == TPane::Remote ? m_remoteModel : m_localModel;
    TPaneWidget* widget = pane == TPane::Remote ? m_remote : m_local;
    if (!model || !widget)
        return;
    if (!only) {
        widget->HideRows(nullptr);
        return;
    }
    const auto& rows = pane == TPane::Remote ? m_logic->RemoteEntries() : m_logic->Local().Entries();
    widget->HideRows([&](int row) {
        const TlvFileInfo& entry = rows[static_cast<size_t>(row)];
        const TComparedName* mark = entry.IsParent() ? nullptr : m_logic->Sync().MarkOf(pane, entry.Name);
        return mark && CompareTintState(*mark) == 0;
    });
}
