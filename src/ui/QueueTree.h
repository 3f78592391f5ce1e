#pragma once

// The queue tree: a top node "<date> - Current" with the children "Download" and "Upload", one
// node per queued path under them, marked "#n" while connection n works on the path and "!!"
// once it was processed. Broken lists are further top nodes. Nodes keep their marks as values;
// Text() makes the text the tree shows.

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "transfer/BrokenLists.h"

struct TQueueNode
{
    std::string Label;
    std::vector<int> Running; // the connections working on it, the latest first
    bool Processed = false;   // a connection finished with it (shown when none works on it)
    bool Secret = false;      // a password: shown masked
    bool Expanded = false;
    TQueueNode* Parent = nullptr;
    size_t Row = 0; // among its parent's children
    std::vector<std::unique_ptr<TQueueNode>> Children;

    // "#2#1/pub/file.zip", "!!/pub/file.zip", "PassWord = ********".
    std::string Text() const;
};

class TQueueTree
{
public:
    // What changed: a node added under parent at row; one about to go, and gone; a node's marks;
    // everything (before and after).
    std::function<void(const TQueueNode& parent, size_t row)> OnNodeAdded;
    std::function<void(const TQueueNode& parent, size_t row)> OnNodeRemoving;
    std::function<void()> OnNodeRemoved;
    std::function<void(const TQueueNode& node)> OnNodeChanged;
    std::function<void()> OnResetting;
    std::function<void()> OnReset;

    explicit TQueueTree(const std::string& today);

    // The invisible root: its children are the top nodes.
    const TQueueNode& Root() const { return m_root; }
    const TQueueNode& Current() const { return *m_root.Children.front(); }
    const TQueueNode& Downloads() const { return *Current().Children[0]; }
    const TQueueNode& Uploads() const { return *Current().Children[1]; }

    // Adds the item's path under "Download" or "Upload" unless it has a node already.
    void AddItem(const TTransferFileInfo& item);
    // Connection n took the item: "#n" in front of its node.
    void MarkRunning(const TTransferFileInfo& item, int connection);
    // The item left connection n: the mark goes, and the path counts as processed.
    void MarkLeft(const TTransferFileInfo& item, int connection);
    // Both "Download" and "Upload" lose their children.
    void ClearTransfers();
    // A broken list's node after the others: "<date> - Broken" with "hostinfo", "download" and
    // "upload" under it.
    void AddBrokenList(const TOldQuene& list);
    // Top node index (0 is "Current", which stays).
    void RemoveRoot(size_t index);

private:
    TQueueNode& Add(TQueueNode& parent, std::string label, bool tell = true);
    TQueueNode* NodeOf(const TTransferFileInfo& item);
    TQueueNode& DownloadsNode() { return *m_root.Children.front()->Children[0]; }
    TQueueNode& UploadsNode() { return *m_root.Children.front()->Children[1]; }

    TQueueNode m_root;
    // The path nodes under "Download" and "Upload", by path.
    std::unordered_map<std::string, TQueueNode*> m_downloads;
    std::unordered_map<std::string, TQueueNode*> m_uploads;
};
