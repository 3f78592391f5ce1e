#include "ui/QueueTree.h"

#include <algorithm>
#include <string_view>

#include "platform/Translate.h"

using platform::Tr;

std::string TQueueNode::Text() const
{
    if (Secret) {
        size_t equals = Label.find(" = ");
        return equals == std::string::npos ? "********" : Label.substr(0, equals + 3) + "********";
    }
    std::string marks;
    for (int connection : Running)
        marks += "#" + std::to_string(connection);
    if (marks.empty() && Processed)
        marks = "!!";
    // The tree's own labels are shown in the user's language; paths and values as they are.
    static const char* const kOwnLabels[] = {
        QT_TRANSLATE_NOOP("TQueueTree", "Download"), QT_TRANSLATE_NOOP("TQueueTree", "Upload"),
        QT_TRANSLATE_NOOP("TQueueTree", "download"), QT_TRANSLATE_NOOP("TQueueTree", "upload"),
        QT_TRANSLATE_NOOP("TQueueTree", "hostinfo")};
    bool belowTop = Parent && Parent->Parent && !Parent->Parent->Parent; // where those labels stand
    for (const char* own : kOwnLabels)
        if (belowTop && Label == own)
            return marks + Tr("TQueueTree", own);
    static const char* const kOwnEndings[] = {QT_TRANSLATE_NOOP("TQueueTree", " - Current"),
                                              QT_TRANSLATE_NOOP("TQueueTree", " - Broken")};
    for (const char* ending : kOwnEndings) {
        std::string_view end(ending);
        if (Parent && !Parent->Parent && Label.size() > end.size() &&
            Label.compare(Label.size() - end.size(), end.size(), end) == 0)
            return marks + Label.substr(0, Label.size() - end.size()) + Tr("TQueueTree", ending);
    }
    return marks + Label;
}

TQueueTree::TQueueTree(const std::string& today)
{
    TQueueNode& current = Add(m_root, today + " - Current", false);
    current.Expanded = true;
    Add(current, "Download", false);
    Add(current, "Upload", false);
}

TQueueNode& TQueueTree::Add(TQueueNode& parent, std::string label, bool tell)
{
    auto node = std::make_unique<TQueueNode>();
    node->Label = std::move(label);
    node->Parent = &parent;
    node->Row = parent.Children.size();
    parent.Children.push_back(std::move(node));
    if (tell && OnNodeAdded)
        OnNodeAdded(parent, parent.Children.size() - 1);
    return *parent.Children.back();
}

void TQueueTree::AddItem(const TTransferFileInfo& item)
{
    TQueueNode& parent = item.IsDownload ? DownloadsNode() : UploadsNode();
    auto& index = item.IsDownload ? m_downloads : m_uploads;
    if (index.count(item.HostPath) == 0)
        index[item.HostPath] = &Add(parent, item.HostPath);
    for (TQueueNode* folder : {&DownloadsNode(), &UploadsNode()}) {
        if (!folder->Expanded) {
            folder->Expanded = true;
            if (OnNodeChanged)
                OnNodeChanged(*folder);
        }
    }
}

TQueueNode* TQueueTree::NodeOf(const TTransferFileInfo& item)
{
    auto& index = item.IsDownload ? m_downloads : m_uploads;
    auto found = index.find(item.HostPath);
    return found == index.end() ? nullptr : found->second;
}

void TQueueTree::MarkRunning(const TTransferFileInfo& item, int connection)
{
    TQueueNode* node = NodeOf(item);
    if (!node)
        return;
    node->Running.insert(node->Running.begin(), connection);
    if (OnNodeChanged)
        OnNodeChanged(*node);
}

void TQueueTree::MarkLeft(const TTransferFileInfo& item, int connection)
{
    TQueueNode* node = NodeOf(item);
    if (!node)
        return;
    auto mark = std::find(node->Running.begin(), node->Running.end(), connection);
    if (mark != node->Running.end())
        node->Running.erase(mark);
    node->Processed = true;
    if (OnNodeChanged)
        OnNodeChanged(*node);
}

void TQueueTree::ClearTransfers()
{
    if (OnResetting)
        OnResetting();
    DownloadsNode().Children.clear();
    UploadsNode().Children.clear();
    m_downloads.clear();
    m_uploads.clear();
    if (OnReset)
        OnReset();
}

void TQueueTree::AddBrokenList(const TOldQuene& list)
{
    auto root = std::make_unique<TQueueNode>();
    root->Label = list.DateTime + " - Broken";
    root->Expanded = true;
    TQueueNode& hostInfo = Add(*root, "hostinfo", false);
    Add(hostInfo, "HostName = " + list.HostName, false);
    Add(hostInfo, "HostPort = " + list.HostPort, false);
    Add(hostInfo, "UserName = " + list.UserName, false);
    Add(hostInfo, "PassWord = " + list.PassWord, false).Secret = true;
    TQueueNode& downloads = Add(*root, "download", false);
    TQueueNode& uploads = Add(*root, "upload", false);
    std::unordered_map<std::string, bool> seen[2];
    for (const auto& item : list.Items) {
        if (seen[item->IsDownload ? 0 : 1].emplace(item->HostPath, true).second)
            Add(item->IsDownload ? downloads : uploads, item->HostPath, false);
    }
    root->Parent = &m_root;
    root->Row = m_root.Children.size();
    m_root.Children.push_back(std::move(root));
    if (OnNodeAdded)
        OnNodeAdded(m_root, m_root.Children.size() - 1);
}

void TQueueTree::RemoveRoot(size_t index)
{
    if (index == 0 || index >= m_root.Children.size())
        return; // the "Current" node stays
    if (OnNodeRemoving)
        OnNodeRemoving(m_root, index);
    m_root.Children.erase(m_root.Children.begin() + static_cast<long>(index));
    for (size_t row = index; row < m_root.Children.size(); ++row)
        m_root.Children[row]->Row = row;
    if (OnNodeRemoved)
        OnNodeRemoved();
}
