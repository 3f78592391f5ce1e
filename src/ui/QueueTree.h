#pragma once

// The queue tree: a top node "<date> - Current" with the children "Download" and "Upload", one
// node per queued path under them, the "#n" mark while connection n works on a path and the
// "!!" mark on a path that was processed. Broken lists are further top nodes.

#include <functional>
#include <string>
#include <vector>

#include "transfer/BrokenLists.h"

struct TQueueNode
{
    std::string Text;
    std::vector<TQueueNode> Children;
    bool Expanded = false;
};

class TQueueTree
{
public:
    // Called after the tree changed.
    std::function<void()> OnChanged;

    explicit TQueueTree(const std::string& today);

    TQueueNode& Current() { return m_roots.front(); }
    TQueueNode& Downloads() { return m_roots.front().Children[0]; }
    TQueueNode& Uploads() { return m_roots.front().Children[1]; }
    std::vector<TQueueNode>& Roots() { return m_roots; }

    // Adds the item's path under "Download" or "Upload" unless a node has that text already.
    void AddItem(const TTransferFileInfo& item);
    // Connection n took the item: "#n" in front of its node (a "!!" goes first).
    void MarkRunning(const TTransferFileInfo& item, int connection);
    // The item left connection n: the mark goes, and a path processed gets "!!".
    void MarkLeft(const TTransferFileInfo& item, int connection);
    // Both "Download" and "Upload" lose their children.
    void ClearTransfers();
    // A broken list's node after the others: "<date> - Broken" with "hostinfo", "download" and
    // "upload" under it.
    void AddBrokenList(const TOldQuene& list);
    void RemoveRoot(size_t index);

private:
    TQueueNode* NodeOf(const TTransferFileInfo& item);
    void Changed();

    std::vector<TQueueNode> m_roots;
};
