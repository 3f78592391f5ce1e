#include "gui/MainForm.h"

// Compare and synchronize: the folders of both panes listed on the connections, their rows
// tinted by what the comparison found, and a synchronization's plan shown for review.

#include <QAction>
#include <QLocale>
#include <QStatusBar>

#include "gui/PaneWidget.h"
#include "gui/dialogs/SyncDialog.h"
#include "ui/SyncWork.h"

void TMainForm::CompareFolders(bool synchronize)
{
    TSyncWork& sync = m_logic->Sync();
    if (m_logic->SessionState() != ssConnected || m_logic->TransfersRunning() || sync.Busy()) {
        ShowMessage((sync.Busy() ? tr("The folders are being compared already.")
                                 : tr("Compare and synchronize need a connected session with no transfers running."))
                        .toStdString());
        return;
    }
    statusBar()->showMessage(
        tr("Comparing %1 with %2...")
            .arg(QString::fromStdString(m_logic->Local().Path()), QString::fromStdString(m_logic->RemoteDir())));
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
        statusBar()->showMessage(tr("The comparison was stopped."), 10000);
        PaneRowsReplaced(TPane::Local);
        PaneRowsReplaced(TPane::Remote);
        return;
    }
    if (!sync.Error().empty()) {
        ShowMessage(
            tr("The folders could not be compared: %1").arg(QString::fromStdString(sync.Error())).toStdString());
        return;
    }
    PaneRowsReplaced(TPane::Local);
    PaneRowsReplaced(TPane::Remote);
    const TSyncPlan& plan = sync.Plan();
    statusBar()->showMessage(
        plan.Actions.empty()
            ? tr("The folders are alike (%1 files).").arg(QLocale().toString(qulonglong(plan.Unchanged)))
            : tr("%1 differences; %2 files alike.")
                  .arg(QLocale().toString(qulonglong(plan.Actions.size())),
                       QLocale().toString(qulonglong(plan.Unchanged))),
        10000);
    if (!synchronize)
        return;
    TSyncDialog dialog(sync, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    statusBar()->showMessage(tr("Synchronizing..."));
    sync.Execute([this] {
        statusBar()->clearMessage();
        const TSyncWork::TOutcome& outcome = m_logic->Sync().Outcome();
        QString done = outcome.Done == 1 ? tr("1 action done") : tr("%1 actions done").arg(outcome.Done);
        if (!outcome.Failures.empty()) {
            QString text = tr("Synchronize: %1; not done:").arg(done);
            for (size_t k = 0; k < outcome.Failures.size() && k < 10; ++k)
                text += "\n" +
                        (outcome.Failures[k].Name.empty() ? tr("(the run)")
                                                          : QString::fromStdString(outcome.Failures[k].Name)) +
                        ": " + QString::fromStdString(outcome.Failures[k].Reply);
            ShowMessage(text.toStdString());
        } else {
            statusBar()->showMessage(tr("Synchronized: %1.").arg(done), 10000);
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
