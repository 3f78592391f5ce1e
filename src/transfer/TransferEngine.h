#pragma once

// A transfer run: the queue's items handed to the transfer connections, each logging in by
// itself, taking the head of the queue, moving it, and taking the next on the same login until
// the queue is empty. Foreground (connection 0 transfers too) or background (it stays free).

#include <cstdint>
#include <memory>
#include <string>

#include "manager/FtpManager.h"
#include "transfer/SplitDownload.h"

// What a run needs of the main window.
class ITransferHost
{
public:
    virtual ~ITransferHost() = default;
    virtual TSessionState SessionState() const = 0;
    virtual void SetSessionState(TSessionState state) = 0;
    virtual void OperationDone() = 0;
    virtual bool TransfersRunning() const = 0;
    virtual void SetTransfersRunning(bool running) = 0;
    virtual const TSettings& Settings() const = 0;
    virtual void ShowMessage(const std::string& text) = 0;
    // Queue tree marks and status rows of an item that starts on, or leaves, a connection.
    virtual void ItemStarted(int connection, const TTransferFileInfo& item) = 0;
    virtual void ItemLeft(int connection, const TTransferFileInfo& item) = 0;
    virtual void ConnectionLostRow(int connection) = 0;
    virtual void PositionReported(int connection, int64_t position) = 0;
};

class TTransferEngine
{
public:
    TTransferEngine(TFtpManager& manager, ITransferHost& host);

    void StartTransfers(TTransferQueue& queue, bool resuming);
    // A completion of connection i in transfer mode.
    void TransferStep(int i, TFtpRequest rqType, int error);
    void Progress(int i, int64_t position);
    // Connection i (not 0) closed during a run.
    void ConnectionLost(int i);
    void FillIdleConnections(int count);
    std::unique_ptr<TTransferFileInfo> TakeNextItem(int i);

    int64_t TotalBytes = 0;
    int64_t DoneBytes = 0;
    bool Running() const { return m_queue != nullptr; }

private:
    int FirstConnection() const;
    bool AnyItemHeld() const;
    void StartItem(int i);
    void FinishItem(int i);
    void HandBack(int i);
    void AllFailedCheck();
    void AbortStep(int i);
    void EndRun();

    TFtpManager& m_manager;
    ITransferHost& m_host;
    TTransferQueue* m_queue = nullptr;
    TSessionState m_savedState = ssConnected;
};

// The byte count of an item: from BeginPos (or 0) to EndPos (or the file's end).
int64_t ItemByteCount(const TTransferFileInfo& item);
