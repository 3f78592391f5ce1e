#include "sync/SyncPlanFile.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "platform/JsonNames.h"
#include "platform/Translate.h"

using platform::Tr;

namespace {

const char* const kFormat = "quillftp-sync-plan";

QJsonValue FactsJson(const TSyncFacts& facts)
{
    if (!facts.Exists)
        return QJsonValue::Null;
    QJsonObject object{{"kind", facts.Directory ? "directory" : "file"}};
    if (!facts.Directory) {
        object.insert("size", static_cast<qint64>(facts.Size));
        object.insert("time", static_cast<qint64>(facts.Time));
    }
    return object;
}

TSyncFacts FactsOfJson(const QJsonValue& value)
{
    TSyncFacts facts;
    if (!value.isObject())
        return facts;
    QJsonObject object = value.toObject();
    facts.Exists = true;
    facts.Directory = object.value("kind").toString() == "directory";
    facts.Size = object.value("size").toInteger(-1);
    facts.Time = object.value("time").toInteger(-1);
    return facts;
}

} // namespace

std::string SyncPlanJson(const TSyncPlan& plan)
{
    QJsonArray actions;
    for (const TSyncAction& action : plan.Actions) {
        QJsonObject object{{"action", SyncActionWord(action.Kind)},
                           {"directory", action.Directory},
                           {"why", QString::fromUtf8(action.Why.c_str())},
                           {"here", FactsJson(action.Here)},
                           {"there", FactsJson(action.There)}};
        platform::InsertJsonName(object, "path", action.Path);
        if (!action.Checked)
            object.insert("checked", false);
        actions.append(object);
    }
    QJsonObject document{{"format", kFormat},
                         {"version", 1},
                         {"direction", SyncDirectionWord(plan.Options.Direction)},
                         {"delete", plan.Options.Delete},
                         {"unchanged", static_cast<qint64>(plan.Unchanged)},
                         {"actions", actions}};
    platform::InsertJsonName(document, "local", plan.Local);
    platform::InsertJsonName(document, "remote", plan.Remote);
    if (!plan.DeletionsRefused.empty())
        document.insert("deletions_refused", QString::fromUtf8(plan.DeletionsRefused.c_str()));
    return QJsonDocument(document).toJson(QJsonDocument::Indented).toStdString();
}

bool ReadSyncPlan(const std::string& text, TSyncPlan& plan, std::string& why)
{
    QJsonParseError error;
    QJsonDocument document = QJsonDocument::fromJson(QByteArray::fromStdString(text), &error);
    if (!document.isObject()) {
        why = Tr("Sync", "not a JSON document: ") + error.errorString().toStdString();
        return false;
    }
    QJsonObject root = document.object();
    if (root.value("format").toString() != kFormat || root.value("version").toInt() != 1) {
        why = Tr("Sync", "not a synchronization plan of this program");
        return false;
    }
    plan = {};
    plan.Local = platform::JsonName(root, "local");
    plan.Remote = platform::JsonName(root, "remote");
    QString direction = root.value("direction").toString();
    plan.Options.Direction = direction == "up"     ? TSyncDirection::Up
                             : direction == "down" ? TSyncDirection::Down
                                                   : TSyncDirection::Both;
    plan.Options.Delete = root.value("delete").toBool();
    plan.Unchanged = static_cast<size_t>(root.value("unchanged").toInteger());
    plan.DeletionsRefused = root.value("deletions_refused").toString().toStdString();
    for (const QJsonValue& value : root.value("actions").toArray()) {
        QJsonObject object = value.toObject();
        TSyncAction action;
        if (!SyncActionOfWord(object.value("action").toString().toStdString(), action.Kind)) {
            why = Tr("Sync", "an action the plan cannot name: ") + object.value("action").toString().toStdString();
            return false;
        }
        action.Path = platform::JsonName(object, "path");
        // A path that climbs out of either folder is no plan this program made.
        if (action.Path.empty() || action.Path.front() == '/' ||
            ("/" + action.Path + "/").find("/../") != std::string::npos ||
            ("/" + action.Path + "/").find("/./") != std::string::npos || action.Path.find("//") != std::string::npos) {
            why = Tr("Sync", "a path that leaves the folders: ") + action.Path;
            return false;
        }
        action.Directory = object.value("directory").toBool();
        action.Why = object.value("why").toString().toStdString();
        action.Here = FactsOfJson(object.value("here"));
        action.There = FactsOfJson(object.value("there"));
        action.Checked = object.value("checked").toBool(true);
        plan.Actions.push_back(std::move(action));
    }
    if (plan.Local.empty() || plan.Remote.empty()) {
        why = Tr("Sync", "the plan names no folders");
        return false;
    }
    return true;
}
