// The window under load, offscreen; run by bench/gui_bench. Not a test.
//
// 1. A remote directory of 100,000 entries from pyftpdlib: the time from the moment the listing
//    has arrived (the session settles) to the first paint of its rows, and the time from a click
//    on a column header to the first paint in the new order; the order is checked (".." first,
//    directories before files).
// 2. 255 connections each logging 100 lines a second for 10 s: the longest time the event loop
//    did not come round, the time from choosing a log page to its first paint, the lines kept
//    per page and the resident memory as it goes.
// 3. A run of 20,000 small files in 100 directories on 255 connections, once with the transfers
//    view in front and once behind the connections: the longest time the event loop did not come
//    round, and the resident memory the run adds (peak and at the end, over the connected
//    window's). The difference between the two is what the view costs.
// 4. A 2 GiB file fetched in four ranges and checked against the server's MD5: the longest time
//    the event loop did not come round while the local file was hashed, next to the time the
//    hash takes (what the loop would wait if it were read on the loop's own thread).

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <vector>

#include <QApplication>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QListView>
#include <QTabBar>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include "gui/MainForm.h"
#include "platform/FileHash.h"
#include "support/FtpServer.h"
#include "support/TestTree.h"
#include "support/WaitFor.h"

using namespace testsupport;
namespace fs = std::filesystem;

namespace {

constexpr int kEntries = 100000;
constexpr int kConnections = 255;
constexpr int kLinesPerSecond = 100;
constexpr int kLogSeconds = 10;
constexpr int kLineCap = 400; // below the 1,000 lines each page is given, so that pages drop lines

// The main window that notes when the logic tells it the session state changed: a listing
// has arrived when the session settles after a refresh, just before its rows are made.
class TTimedForm : public TMainForm
{
public:
    using TMainForm::TMainForm;
    std::function<void()> OnSessionStateChanged;

    void SessionStateChanged() override
    {
        if (OnSessionStateChanged)
            OnSessionStateChanged();
        TMainForm::SessionStateChanged();
    }
};

// Counts paints of a widget and remembers when the last one began.
class TPaintWatch : public QObject
{
public:
    explicit TPaintWatch(QWidget* widget) { widget->installEventFilter(this); }
    int Paints = 0;
    qint64 LastPaint = 0;

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            ++Paints;
            LastPaint = clock.nsecsElapsed();
        }
        return false;
    }
    static QElapsedTimer clock;
};
QElapsedTimer TPaintWatch::clock;

double ms(qint64 nanoseconds)
{
    return static_cast<double>(nanoseconds) / 1e6;
}

long residentKiB()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stol(line.substr(6));
    return -1;
}

// Waits until the watched widget has painted after `after` (ns), and gives that paint's time.
qint64 paintAfter(TPaintWatch& watch, qint64 after, int timeoutMs = 30000)
{
    waitFor([&] { return watch.LastPaint > after; }, timeoutMs);
    return watch.LastPaint;
}

bool orderHolds(const QAbstractItemModel& model)
{
    if (model.rowCount() == 0 || model.index(0, 0).data().toString() != "..")
        return false;
    bool filesBegan = false;
    for (int row = 1; row < model.rowCount(); ++row) {
        bool directory = model.index(row, 3).data().toString().startsWith('d');
        if (directory && filesBegan)
            return false;
        filesBegan = filesBegan || !directory;
    }
    return true;
}

int bigListing(const std::string& dataDir)
{
    FtpServer server;
    std::string directory = server.localWorkDir() + "/big/";
    fs::create_directories(directory);
    for (int i = 0; i < kEntries; ++i) {
        char name[64];
        if (i % 10 == 0) {
            std::snprintf(name, sizeof name, "folder-%06d", (i * 7919) % kEntries);
            fs::create_directory(directory + name);
        } else {
            std::snprintf(name, sizeof name, "file-%06d.dat", (i * 7919) % kEntries);
            std::ofstream(directory + name).close();
            fs::resize_file(directory + name, static_cast<uintmax_t>((i * 2654435761u) % 5000000));
        }
    }
    if (!server.start()) {
        std::cerr << server.error() << "\n";
        return 1;
    }
    std::ofstream(dataDir + "quillftp.ini") << "[PasvMode]\nPasvMode=1\n[General]\nShowSiteManager=0\n";
    TTimedForm window(dataDir, dataDir);
    window.OpenPath = [](const QString&) {};
    window.resize(1100, 720);
    TfmMain& logic = window.Logic();
    auto* view = window.findChild<QTreeView*>("lvHost");
    TPaintWatch watch(view->viewport());
    qint64 arrived = 0;
    window.OnSessionStateChanged = [&] {
        if (logic.SessionState() == ssConnected)
            arrived = TPaintWatch::clock.nsecsElapsed();
    };
    window.Start("ftp://" + server.user() + ":" + server.password() + "@127.0.0.1:" + server.portText() + "/big/");
    QApplication::setActiveWindow(&window);

    std::vector<double> shown;
    std::vector<double> sorted;
    bool ordered = true;
    for (int round = 0; round < 3; ++round) {
        if (round > 0) {
            arrived = 0;
            logic.RemoteRefresh();
        }
        if (!waitFor([&] { return arrived != 0 && view->model()->rowCount() == kEntries + 1; }, 120000)) {
            std::cerr << "the listing never arrived\n";
            return 1;
        }
        shown.push_back(ms(paintAfter(watch, arrived) - arrived));
        ordered = ordered && orderHolds(*view->model());

        // A click on the Size header, then on Name twice (back to ascending by name).
        for (int column : {1, 0, 0}) {
            QHeaderView* header = view->header();
            QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2, header->height() / 2);
            qint64 clicked = TPaintWatch::clock.nsecsElapsed();
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
            sorted.push_back(ms(paintAfter(watch, clicked) - clicked));
            ordered = ordered && orderHolds(*view->model());
        }
    }
    std::sort(shown.begin(), shown.end());
    std::sort(sorted.begin(), sorted.end());
    std::printf("Listing of %d entries (3 rounds): rows shown %.0f ms after arrival (median; worst %.0f ms); "
                "header sort %.0f ms (median of %zu; worst %.0f ms); \"..\" first and directories before "
                "files: %s\n",
                kEntries, shown[shown.size() / 2], shown.back(), sorted[sorted.size() / 2], sorted.size(),
                sorted.back(), ordered ? "yes" : "NO");
    window.OpenPath = nullptr;
    logic.Disconnect();
    window.close();
    server.stop();
    return ordered ? 0 : 1;
}

int busyLogs(const std::string& dataDir)
{
    std::ofstream(dataDir + "quillftp.ini")
        << "[FtpCliNum]\nFtpCliNum=" << kConnections << "\n[General]\nShowSiteManager=0\nLogLines=" << kLineCap << "\n";
    TTimedForm window(dataDir, dataDir);
    window.resize(1100, 720);
    window.Start("");
    TfmMain& logic = window.Logic();
    auto* log = window.findChild<QListView*>("reLog");
    auto* pages = window.findChild<QTabBar*>("pcDisplay");
    TPaintWatch watch(log->viewport());
    long startKiB = residentKiB();

    // Each tick writes one line for every connection: 100 ticks a second.
    QElapsedTimer run;
    run.start();
    long written = 0;
    QTimer writer;
    writer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&writer, &QTimer::timeout, [&] {
        qint64 due = run.elapsed() * kLinesPerSecond / 1000;
        while (written / kConnections < due) {
            int connection = static_cast<int>(written % kConnections);
            logic.ShowLogLine(connection, "< 226 Transfer complete, line " + std::to_string(written / kConnections) +
                                              " of connection " + std::to_string(connection) + ".");
            ++written;
        }
    });
    writer.start(1000 / kLinesPerSecond);

    // The event loop's pulse: the longest gap between two turns.
    qint64 longestGap = 0;
    qint64 lastTurn = TPaintWatch::clock.nsecsElapsed();
    std::vector<double> switches;
    std::vector<long> memory;
    int nextSwitch = 250;
    int nextSample = 1000;
    while (run.elapsed() < kLogSeconds * 1000) {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
        qint64 now = TPaintWatch::clock.nsecsElapsed();
        longestGap = std::max(longestGap, now - lastTurn);
        lastTurn = now;
        if (run.elapsed() >= nextSwitch) {
            nextSwitch += 250;
            qint64 chosen = TPaintWatch::clock.nsecsElapsed();
            pages->setCurrentIndex((pages->currentIndex() + 97) % kConnections);
            switches.push_back(ms(paintAfter(watch, chosen, 5000) - chosen));
            lastTurn = TPaintWatch::clock.nsecsElapsed();
        }
        if (run.elapsed() >= nextSample) {
            nextSample += 1000;
            memory.push_back(residentKiB());
        }
    }
    writer.stop();
    size_t longestPage = 0;
    for (int page = 0; page < logic.Logs().Count(); ++page)
        longestPage = std::max(longestPage, logic.Logs().Lines(page).size());
    std::sort(switches.begin(), switches.end());
    std::printf("%d connections x %d lines/s x %d s (%ld lines): event loop blocked at most %.1f ms; "
                "log page switch %.1f ms (median of %zu; worst %.1f ms); longest page %zu lines (cap %zu)\n",
                kConnections, kLinesPerSecond, kLogSeconds, written, ms(longestGap), switches[switches.size() / 2],
                switches.size(), switches.back(), longestPage, logic.Logs().LineLimit());
    std::printf("Resident memory: %ld MiB before, then each second:", startKiB / 1024);
    for (long kib : memory)
        std::printf(" %ld", kib / 1024);
    std::printf(" MiB\n");
    window.close();
    return longestPage <= logic.Logs().LineLimit() ? 0 : 1;
}

// The settings of a run on connections in passive mode, and its local directory (returned).
std::string prepareRun(const std::string& dataDir, int connections)
{
    std::string local = dataDir + "down/";
    fs::create_directories(local);
    std::ofstream(dataDir + "quillftp.ini")
        << "[FtpCliNum]\nFtpCliNum=" << connections << "\n[PasvMode]\nPasvMode=1\n[General]\nShowSiteManager=0\n";
    return local;
}

// Shows the window and starts it on the server's login directory with the local pane at local;
// false (and why on stderr) when no session came.
bool connectAt(TMainForm& window, const FtpServer& server, const std::string& local)
{
    window.resize(1100, 720);
    window.show();
    window.Start("ftp://" + server.user() + ":" + server.password() + "@127.0.0.1:" + server.portText() + "/");
    if (!waitFor([&] { return window.Logic().SessionState() == ssConnected; }, 30000)) {
        std::cerr << "no session\n";
        return false;
    }
    window.Logic().Local().SetPath(local);
    return true;
}

int manyFiles(const std::string& dataDir, bool viewInFront)
{
    constexpr int kDirectories = 100;
    constexpr int kFilesEach = 200;
    FtpServer server;
    for (int d = 0; d < kDirectories; ++d) {
        std::string directory = server.localWorkDir() + "/tree/d" + std::to_string(d) + "/";
        fs::create_directories(directory);
        for (int f = 0; f < kFilesEach; ++f)
            std::ofstream(directory + "f" + std::to_string(f) + ".txt") << std::string(100 + f, 'x');
    }
    if (!server.start()) {
        std::cerr << server.error() << "\n";
        return 1;
    }
    std::string local = prepareRun(dataDir, kConnections);
    TTimedForm window(dataDir, dataDir);
    TfmMain& logic = window.Logic();
    if (!connectAt(window, server, local))
        return 1;
    if (!viewInFront)
        window.findChild<QTabWidget*>("tcRun")->setCurrentIndex(1);
    pumpFor(500);
    long startKiB = residentKiB();
    long peakKiB = startKiB;
    logic.SelectRemoteNames({"tree"});
    QElapsedTimer run;
    run.start();
    logic.DownloadSelected();
    qint64 longestGap = 0;
    qint64 lastTurn = TPaintWatch::clock.nsecsElapsed();
    // The loop's thread's own time too: on two cores the server's processes take the CPU from
    // it now and then, and a turn is long for that without the window doing more.
    auto threadNs = [] {
        timespec used{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &used);
        return qint64(used.tv_sec) * 1000000000 + used.tv_nsec;
    };
    qint64 lastUsed = threadNs();
    qint64 longestGapUsed = 0;
    qint64 mostUsed = 0;
    bool started = false;
    qint64 longestAt = 0;
    size_t mostRows = 0;
    int nextSample = 250;
    while (run.elapsed() < 600000) {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
        qint64 now = TPaintWatch::clock.nsecsElapsed();
        qint64 used = threadNs();
        mostUsed = std::max(mostUsed, used - lastUsed);
        if (now - lastTurn > longestGap) {
            longestGap = now - lastTurn;
            longestGapUsed = used - lastUsed;
            longestAt = run.elapsed();
            if (std::getenv("QUILL_BENCH_GAPS")) { // to find the turn in a profile recorded with -k mono
                timespec at{};
                clock_gettime(CLOCK_MONOTONIC, &at);
                std::fprintf(stderr, "gap %.1f ms ending at monotonic %ld.%06ld s\n", ms(longestGap), long(at.tv_sec),
                             long(at.tv_nsec / 1000));
            }
        }
        lastTurn = now;
        lastUsed = used;
        started = started || logic.Run().Running();
        mostRows = std::max(mostRows, logic.TransferRows().All().size());
        if (run.elapsed() >= nextSample) {
            nextSample += 250;
            peakKiB = std::max(peakKiB, residentKiB());
        }
        if (started && !logic.Run().Running() && logic.SessionState() == ssConnected)
            break;
    }
    double seconds = static_cast<double>(run.elapsed()) / 1000.0;
    pumpFor(300);
    long endKiB = residentKiB();
    int fetched = 0;
    for (const auto& entry : fs::recursive_directory_iterator(local + "tree"))
        fetched += entry.is_regular_file() ? 1 : 0;
    std::printf(
        "%s in front: %d files in %d directories on %d connections: %.1f s; %zu rows in the transfers view; event "
        "loop blocked at most %.1f ms (ending %.1f s after the start, %.1f ms of it on the CPU; the most CPU time "
        "in one turn %.1f ms); resident memory %ld MiB connected, +%ld MiB at the peak, +%ld MiB after the run; %d "
        "files on disk\n",
        viewInFront ? "Transfers" : "Connections", kDirectories * kFilesEach, kDirectories, kConnections, seconds,
        mostRows, ms(longestGap), static_cast<double>(longestAt) / 1000.0, ms(longestGapUsed), ms(mostUsed),
        startKiB / 1024, (peakKiB - startKiB) / 1024, (endKiB - startKiB) / 1024, fetched);
    logic.Disconnect();
    window.close();
    server.stop();
    return fetched == kDirectories * kFilesEach ? 0 : 1;
}

int hashedSplitFile(const std::string& dataDir)
{
    const int64_t size = int64_t(2) << 30;
    FtpServer server;
    server.setVariant({"--hash"});
    if (!writePatternFile(server.localWorkDir() + "/big.bin", size, 3) || !server.start()) {
        std::cerr << "no server: " << server.error() << "\n";
        return 1;
    }
    std::string local = prepareRun(dataDir, 4);
    TTimedForm window(dataDir, dataDir);
    TfmMain& logic = window.Logic();
    if (!connectAt(window, server, local))
        return 1;
    logic.SelectRemoteNames({"big.bin"});
    QElapsedTimer run;
    run.start();
    logic.DownloadSelected();
    qint64 longestGap = 0;
    qint64 longestAt = 0;
    qint64 longestWhileHashing = 0;
    qint64 hashingFrom = -1;
    qint64 hashingFor = 0;
    qint64 lastTurn = TPaintWatch::clock.nsecsElapsed();
    bool started = false;
    while (run.elapsed() < 600000) {
        QApplication::processEvents(QEventLoop::AllEvents, 5);
        qint64 now = TPaintWatch::clock.nsecsElapsed();
        qint64 gap = now - lastTurn;
        lastTurn = now;
        if (gap > longestGap) {
            longestGap = gap;
            longestAt = run.elapsed();
        }
        const auto& files = logic.Run().Files();
        started = started || logic.Run().Running();
        bool hashing =
            logic.Run().Running() && !files.empty() && files[0]->State == TFileState::Checking && files[0]->AllDone();
        if (hashing && hashingFrom < 0)
            hashingFrom = now;
        if (hashingFrom >= 0 && hashingFor == 0 && now != hashingFrom)
            longestWhileHashing = std::max(longestWhileHashing, gap);
        if (hashingFrom >= 0 && hashingFor == 0 && !hashing)
            hashingFor = now - hashingFrom;
        if (started && !logic.Run().Running())
            break;
    }
    bool matched = !logic.Run().Files().empty() && logic.Run().Files()[0]->HashMatched;
    QElapsedTimer alone;
    alone.start();
    std::string digest = platform::FileDigest(local + "big.bin", "MD5");
    double onTheLoop = static_cast<double>(alone.elapsed());
    std::printf("2 GiB in 4 ranges, checked by MD5 (%s) in %.1f s in all: the check took %.0f ms, the event loop "
                "waited at most %.1f ms meanwhile (%.1f ms in the whole run, %.1f s after the start); the same hash "
                "on the loop's thread would block it %.0f ms\n",
                matched ? "matches" : "NOT CHECKED", run.elapsed() / 1000.0, ms(hashingFor), ms(longestWhileHashing),
                ms(longestGap), longestAt / 1000.0, onTheLoop);
    logic.Disconnect();
    window.close();
    server.stop();
    return matched && !digest.empty() ? 0 : 1;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    TPaintWatch::clock.start();
    std::string only = argc > 1 ? argv[1] : "";
    int failed = 0;
    if (only.empty() || only == "listing") {
        QTemporaryDir data;
        failed |= bigListing(data.path().toStdString() + "/");
    }
    if (only.empty() || only == "logs") {
        QTemporaryDir data;
        failed |= busyLogs(data.path().toStdString() + "/");
    }
    // The same run with the view in front and behind, each in a process of its own (memory
    // freed by one run is not given back to the system): what the view costs is the difference.
    if (only.empty() || only == "transfers" || only == "transfers-behind") {
        QTemporaryDir data;
        failed |= manyFiles(data.path().toStdString() + "/", only != "transfers-behind");
    }
    if (only == "hash") {
        QTemporaryDir data;
        failed |= hashedSplitFile(data.path().toStdString() + "/");
    }
    return failed;
}
