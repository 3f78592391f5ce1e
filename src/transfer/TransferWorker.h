#pragma once

// One connection's part in a transfer run. The worker owns everything about its connection:
// the job under way, the job sent ahead, the logins left, the file it checks. It takes a job,
// logs in when its session is not, runs the job's call, checks a file whose bytes are all in
// (its size where it disagrees with the listing, its time, the server's hash), and takes the
// next. Completions reach it bound to the call that asked; once the worker is gone they are
// dropped.

#include <cstdint>
#include <memory>
#include <string>

#include "transfer/TransferRun.h"

class TTransferWorker
{
public:
    TTransferWorker(TTransferRun& run, int connection);
    ~TTransferWorker();
    TTransferWorker(const TTransferWorker&) = delete;
    TTransferWorker& operator=(const TTransferWorker&) = delete;

    int Connection() const { return m_connection; }
    bool Idle() const { return m_state == TState::Idle; }
    // Its login was refused, or it lost its connection more often than the settings allow:
    // it takes no more work in this run.
    bool Out() const { return m_state == TState::Out; }
    // The job it works on (null when none) and the position its transfer reached.
    const TJob* Job() const { return m_job.get(); }
    int64_t Position() const { return m_position; }

    void Take(std::unique_ptr<TJob> job);
    // Logs in ahead of work to come (a walk under way finds more): the job then finds it ready.
    void LogInAhead();
    bool LoggedIn() const;
    // Stops what runs; its completion hands the job back.
    void Abort();
    // The worker goes (the connection count shrank, the run ends): its jobs go back, from
    // the offset reached.
    void Release();

private:
    enum class TState : uint8_t
    {
        Idle,
        LoggingIn,
        Working,
        Checking, // the file whose bytes are all in: its size, time or hash
        Out
    };

    ISession& Session() const;
    // A session call's completion that reaches this worker only while it lives.
    template <typename... Args, typename Call> std::function<void(Args...)> Bound(Call call);
    void LoggedIn(const TSessionResult& result);
    void Start();
    void SegmentDone(const TTransferResult& result);
    void DataEnded(int64_t reached);
    // The job to follow, its calls sent to the server now.
    void SendNextAhead();
    // A file's bytes are all in: its time, then the server's hash where that is due.
    void CheckFile(TTransferFile& file);
    void CheckHash(TTransferFile& file);
    void CheckSize(TTransferFile& file, int64_t reached);
    void UploadDone(TTransferFile& file);
    // The job ended: the one sent ahead, or idle and the run gives out work.
    void Next();
    void ConnectionLost();

    TTransferRun& m_run;
    int m_connection;
    TState m_state = TState::Idle;
    std::unique_ptr<TJob> m_job;
    std::unique_ptr<TJob> m_next; // its calls went to the server ahead
    int64_t m_position = 0;
    int m_loginsLeft = 0;
    bool m_everLoggedIn = false;
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};
