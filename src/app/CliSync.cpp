// quillftp-cli sync: both folders compared, the plan printed (or kept), and carried out.

#include <sys/stat.h>

#include <iostream>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>

#include "app/CliSession.h"
#include "app/TerminalText.h"
#include "manager/CommFunc.h"
#include "platform/AtomicFile.h"
#include "platform/EventLoop.h"
#include "platform/JsonNames.h"
#include "sync/SyncPlanFile.h"
#include "ui/MainWindow.h"
#include "ui/SyncWork.h"
#include "platform/Translate.h"

using platform::Fill;
using platform::Tr;

namespace {

// "1 action done", "2 actions done": `one` and `many` hold %1 for the number.
std::string Count(size_t count, const std::string& one, const std::string& many)
{
    return Fill(count == 1 ? one : many, {std::to_string(count)});
}

} // namespace

void TCliSession::PrintPlan(const TSyncPlan& plan)
{
    if (m_options.Json)
        return;
    for (const TSyncAction& action : plan.Actions) {
        std::string word = SyncActionWord(action.Kind);
        word.resize(std::max<size_t>(word.size(), 13), ' ');
        std::cout << word << EscapeControls(action.Path) << (action.Directory ? "/" : "")
                  << (action.Why.empty() ? "" : "  (" + EscapeControls(action.Why) + ")") << "\n";
    }
    std::cout.flush();
    if (!plan.DeletionsRefused.empty())
        std::cerr << "quillftp-cli: " << TerminalText(plan.DeletionsRefused) << "\n";
    if (!m_options.Quiet)
        std::cerr << "quillftp-cli: " << Tr("Cli", "plan: ") << SyncPlanTotalsText(plan) << "\n";
}

int TCliSession::Synchronize()
{
    TSyncPlan kept;
    std::string localDir;
    TFtpAddress address;
    std::string error;
    if (!m_options.ApplyFile.empty()) {
        std::string text;
        if (!platform::readWholeFile(m_options.ApplyFile, text))
            return Fail(Tr("Cli", "cannot read the plan ") + m_options.ApplyFile, kExitUsage);
        if (!ReadSyncPlan(text, kept, error))
            return Fail(m_options.ApplyFile + ": " + error, kExitUsage);
        localDir = kept.Local;
        if (!ParseFtpAddress(kept.Remote, address, error))
            return Fail(m_options.ApplyFile + ": " + error, kExitUsage);
        // The plan names the remote folder by its path from the root.
        address.Path = QByteArray::fromPercentEncoding(
                           QUrl(QString::fromStdString(kept.Remote)).path(QUrl::FullyEncoded).toLatin1())
                           .toStdString();
    } else {
        localDir = EnsureTrailing(AbsolutePath(m_options.Operands[0]), '/');
        if (!ParseFtpAddress(m_options.Operands[1], address, error))
            return Fail(error, kExitUsage);
        if (!address.Path.empty() && address.Path.back() != '/')
            address.Path += '/';
    }
    struct stat info = {};
    if (::stat(localDir.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
        return Fail(Tr("Cli", "no such local directory: ") + localDir, kExitIncomplete);
    int status = Connect(address, address.Path);
    if (status != kExitDone)
        return status;

    TSyncWork& sync = m_window->Sync();
    bool finished = false;
    auto done = [&finished] { finished = true; };
    if (!m_options.ApplyFile.empty()) {
        sync.Reload(kept, m_options.ByHash, done);
    } else {
        TSyncOptions options;
        options.Direction =
            m_options.SyncDirection < 0 ? TSyncDirection::Both : static_cast<TSyncDirection>(m_options.SyncDirection);
        options.Delete = m_options.Delete;
        sync.Compare(localDir, options, m_options.ByHash, done);
    }
    WaitUntil([&] { return finished || Interrupted(); });
    if (!finished) {
        sync.Cancel();
        return Fail("interrupted", kExitIncomplete);
    }
    if (!sync.Error().empty())
        return Fail(sync.Error(), kExitIncomplete);
    PrintPlan(sync.Plan());
    if (!m_options.PlanFile.empty()) {
        if (!platform::writeFileAtomically(m_options.PlanFile, SyncPlanJson(sync.Plan())))
            return Fail(Tr("Cli", "cannot write the plan to ") + m_options.PlanFile, kExitIncomplete);
        if (!m_options.Quiet)
            std::cerr << "quillftp-cli: "
                      << Fill(Tr("Cli", "the plan is in %1; carry it out with: quillftp-cli sync --apply %1"),
                              {m_options.PlanFile})
                      << "\n";
    }
    if (m_options.DryRun || !m_options.PlanFile.empty()) {
        if (m_options.Json)
            std::cout << SyncPlanJson(sync.Plan()), std::cout.flush();
        return kExitDone;
    }
    return ExecutePlan();
}

int TCliSession::ExecutePlan()
{
    TSyncWork& sync = m_window->Sync();
    std::string planJson = SyncPlanJson(sync.Plan());
    size_t conflicts = sync.Plan().Totals(TSyncActionKind::Conflict).Count;
    bool finished = false;
    m_runStart = platform::tickCount();
    m_runBefore = m_window->LastResult(TOperation::Transfer).Sequence;
    sync.Execute([&finished] { finished = true; });
    WaitUntil([&] { return finished; });
    m_view.EndProgressLine();
    const TSyncWork::TOutcome& outcome = sync.Outcome();
    int status = kExitDone;
    for (const TItemOutcome& failure : outcome.Failures) {
        if (!failure.Name.empty() && !m_options.Json)
            std::cerr << "quillftp-cli: " << Tr("Cli", "not done: ") << EscapeControls(failure.Name) << ": "
                      << EscapeControls(failure.Reply) << "\n";
        status = kExitIncomplete;
    }
    if (!sync.Error().empty())
        status = Fail(sync.Error(), kExitIncomplete);
    if (!m_options.Quiet && !m_options.Json)
        std::cerr << "quillftp-cli: " << Count(outcome.Done, Tr("Cli", "%1 action done"), Tr("Cli", "%1 actions done"))
                  << (outcome.Failures.empty()
                          ? ""
                          : ", " + Count(outcome.Failures.size(), Tr("Cli", "%1 not done"), Tr("Cli", "%1 not done")))
                  << (outcome.StateKept ? "" : Tr("Cli", "; the state of the folders was not kept")) << "\n";
    if (conflicts > 0) {
        if (!m_options.Json)
            Fail(Count(conflicts, Tr("Cli", "%1 conflict is left for you to resolve"),
                       Tr("Cli", "%1 conflicts are left for you to resolve")),
                 kExitIncomplete);
        status = kExitIncomplete;
    }
    if (m_options.Json) {
        QJsonObject document;
        document.insert("plan", QJsonDocument::fromJson(QByteArray::fromStdString(planJson)).object());
        document.insert("done", static_cast<qint64>(outcome.Done));
        QJsonArray failures;
        for (const TItemOutcome& failure : outcome.Failures) {
            QJsonObject item{{"reason", QString::fromUtf8(failure.Reply.c_str())}};
            platform::InsertJsonName(item, "path", failure.Name);
            failures.append(item);
        }
        document.insert("failures", failures);
        document.insert("state_kept", outcome.StateKept);
        document.insert("exit", status);
        std::cout << QJsonDocument(document).toJson(QJsonDocument::Indented).toStdString();
        std::cout.flush();
    }
    return status;
}
