#pragma once

// What the main window's logic needs of the screen. The GUI implements it with dialogs and
// widgets, quillftp-cli on a terminal, tests with scripted answers. The questions wait for an
// answer (a dialog's nested event loop); the change notifications say exactly what changed, and
// the view reads the new state through TfmMain's const accessors.

#include <cstddef>
#include <string>

#include "config/SiteBook.h"
#include "manager/OperationResult.h"
#include "transfer/TransferRun.h"

struct TQueueNode;

enum class TPane : uint8_t
{
    Remote,
    Local
};

class IMainView : public ISiteBookPrompt
{
public:
    // A Yes/No question with a question icon; only Yes proceeds.
    virtual bool AskYesNo(const std::string& caption, const std::string& text) = 0;
    virtual void SetClipboardText(const std::string& text) = 0;
    // The desktop's services for local files: open with the default application (also a
    // directory, in the file manager), start a program, show a file's properties.
    virtual void OpenWithDefaultApplication(const std::string& /*path*/) {}
    // Edit/View: text in the desktop's text editor, anything else in its default application.
    virtual void OpenInTextEditor(const std::string& /*path*/) {}
    virtual void RunProgram(const std::string& /*path*/) {}
    virtual void ShowProperties(const std::string& /*path*/) {}

    // "This local file exists!": what to do with it (the transfer engine asks). A dialog
    // closed without an answer gives Closed, which skips the file.
    virtual TFileExistsChoice AskFileExists(const std::string& /*localPath*/) { return TFileExistsChoice::Skip; }
    // A server's certificate that nothing vouches for (site is "host:port"): connect this once,
    // trust it always, or cancel.
    virtual TCertificateChoice AskCertificate(const std::string& /*site*/, const TTlsCertificate& /*certificate*/)
    {
        return TCertificateChoice::Cancel;
    }
    // The passphrase of an SSH key file (asked once a run for each key); empty: not given.
    virtual std::string AskPassphrase(const std::string& /*keyPath*/) { return {}; }
    // An SSH host key no known_hosts file holds (type "ssh-ed25519", fingerprint "SHA256:..."):
    // connect this once, trust it always, or cancel.
    virtual TCertificateChoice AskHostKey(const std::string& /*site*/, const std::string& /*type*/,
                                          const std::string& /*fingerprint*/)
    {
        return TCertificateChoice::Cancel;
    }

    // A pane's rows were replaced (a new listing, a new order); its selection is all clear.
    virtual void PaneRowsReplaced(TPane /*pane*/) {}
    // One row of a pane changed (its selection).
    virtual void PaneRowChanged(TPane /*pane*/, size_t /*row*/) {}
    // The selection of many rows changed at once (select all, invert).
    virtual void PaneSelectionChanged(TPane /*pane*/) {}
    // A pane's path box items or summary changed.
    virtual void PanePathChanged(TPane /*pane*/) {}
    // Status row n changed; the rows were added or taken away (the connection count).
    virtual void StatusRowChanged(size_t /*row*/) {}
    virtual void StatusRowsResized() {}
    // Log page n: dropped lines went from its front (the cap, or Clear), then lines were added
    // at its end; told once per turn of the event loop, however many lines came.
    virtual void LogLinesChanged(int /*page*/, size_t /*dropped*/, size_t /*appended*/) {}
    virtual void LogPagesResized() {}
    // The queue tree: a node was added under parent at row, one is about to go and went, a
    // node's marks changed, or everything changes at once.
    virtual void QueueNodeAdded(const TQueueNode& /*parent*/, size_t /*row*/) {}
    virtual void QueueNodeRemoving(const TQueueNode& /*parent*/, size_t /*row*/) {}
    virtual void QueueNodeRemoved() {}
    virtual void QueueNodeChanged(const TQueueNode& /*node*/) {}
    virtual void QueueResetting() {}
    virtual void QueueReset() {}
    // The run's figures (status panels 1, 3 and 4, the gauge and the Count column), once a second.
    virtual void ProgressChanged() {}
    // The transfers view's rows were made anew (their number may have changed).
    virtual void TransfersChanged() {}
    // Whether the user is looking at the window (it has the focus of the desktop).
    virtual bool WindowActive() const { return true; }
    // A notice on the desktop (where a notification service runs), for news the user is not
    // looking at.
    virtual void NotifyDesktop(const std::string& /*summary*/, const std::string& /*body*/) {}
    // The session state and what shows it: the caption, status panel 0, status row 0, the cursor.
    virtual void SessionStateChanged() {}
    // A remote operation or a transfer run ended.
    virtual void OperationEnded(const TOperationResult& /*result*/) {}
};
