#include "ui/QueueTree.h"

TQueueTree::TQueueTree(const std::string& today)
{
    TQueueNode current{today + " - Current", {{"Download", {}, false}, {"Upload", {}, false}}, true};
    m_roots.push_back(std::move(current));
}

void TQueueTree::Changed()
{
    if (OnChanged)
        OnChanged();
}

void TQueueTree::AddItem(const TTransferFileInfo& item)
{
    TQueueNode& parent = item.IsDownload ? Downloads() : Uploads();
    bool present = false;
    for (const TQueueNode& child : parent.Children)
        present |= child.Text == item.HostPath;
    if (!present)
        parent.Children.push_back({item.HostPath, {}, false});
    Downloads().Expanded = true;
    Uploads().Expanded = true;
    Changed();
}

TQueueNode* TQueueTree::NodeOf(const TTransferFileInfo& item)
{
    TQueueNode& parent = item.IsDownload ? Downloads() : Uploads();
    for (TQueueNode& child : parent.Children)
        if (child.Text.find(item.HostPath) != std::string::npos)
            return &child;
    return nullptr;
}

void TQueueTree::MarkRunning(const TTransferFileInfo& item, int connection)
{
    TQueueNode* node = NodeOf(item);
    if (!node)
        return;
    if (node->Text.rfind("!!", 0) == 0)
        node->Text.erase(0, 2);
    node->Text = "#" + std::to_string(connection) + node->Text;
    Changed();
}

void TQueueTree::MarkLeft(const TTransferFileInfo& item, int connection)
{
    TQueueNode* node = NodeOf(item);
    if (!node)
        return;
    std::string mark = "#" + std::to_string(connection);
    size_t at = node->Text.find(mark);
    if (at != std::string::npos)
        node->Text.erase(at, mark.size());
    size_t first = node->Text.find_first_not_of(' ');
    size_t last = node->Text.find_last_not_of(' ');
    node->Text = first == std::string::npos ? std::string() : node->Text.substr(first, last - first + 1);
    if (node->Text == item.HostPath)
        node->Text = "!!" + node->Text;
    Changed();
}

void TQueueTree::ClearTransfers()
{
    Downloads().Children.clear();
    Uploads().Children.clear();
    Changed();
}

void TQueueTree::AddBrokenList(const TOldQuene& list)
{
    TQueueNode root{list.DateTime + " - Broken", {}, true};
    TQueueNode hostInfo{"hostinfo",
                        {{"HostName = " + list.HostName, {}, false},
                         {"HostPort = " + list.HostPort, {}, false},
                         {"UserName = " + list.UserName, {}, false},
                         {"PassWord = " + list.PassWord, {}, false}},
                        false};
    TQueueNode downloads{"download", {}, false};
    TQueueNode uploads{"upload", {}, false};
    for (const auto& item : list.Items) {
        TQueueNode& parent = item->IsDownload ? downloads : uploads;
        bool present = false;
        for (const TQueueNode& child : parent.Children)
            present |= child.Text == item->HostPath;
        if (!present)
            parent.Children.push_back({item->HostPath, {}, false});
    }
    root.Children = {std::move(hostInfo), std::move(downloads), std::move(uploads)};
    m_roots.push_back(std::move(root));
    Changed();
}

void TQueueTree::RemoveRoot(size_t index)
{
    if (index == 0 || index >= m_roots.size())
        return; // the "Current" node stays
    m_roots.erase(m_roots.begin() + static_cast<long>(index));
    Changed();
}
