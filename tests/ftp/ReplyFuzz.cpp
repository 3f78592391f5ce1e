// A server that logs the client in properly and then answers at random: codes in and out of
// range, replies cut, doubled or never sent, continuation lines without end, PASV and EPSV
// replies that name wrong ports, data connections that bring noise, stop or never come, and
// closes at any point. The client runs listings, downloads, uploads and commands sent ahead.
// Built with AddressSanitizer and UndefinedBehaviorSanitizer; the run fails when anything
// crashes, when a request does not end exactly once, or ends later than its timeouts allow.

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <thread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>

#include "ftp/FtpClient.h"
#include "platform/EventLoop.h"
#include "platform/Stream.h"

namespace {

constexpr int kCases = 100;
constexpr int kTimeoutSeconds = 1;
// A request ends within its reply and data timeouts (and a close's own report): more is a hang.
constexpr int64_t kLongestRequestMs = 4 * kTimeoutSeconds * 1000 + 1500;

// What the requests came to, so that a run shows it reached the paths it means to.
int g_succeeded = 0;
int g_failed = 0;
int64_t g_bytes = 0;

int listenOn(uint16_t& port)
{
    int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    int yes = 1;
    ::setsockopt(fd, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(fd, reinterpret_cast<sockaddr*>(&address), length) != 0 || ::listen(fd, 4) != 0) {
        ::close(fd);
        return -1;
    }
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    port = ntohs(address.sin_port);
    return fd;
}

// Waits at most ms for fd to become readable (or writable).
bool ready(int fd, int ms, short events = POLLIN)
{
    pollfd one{fd, events, 0};
    return ::poll(&one, 1, ms) == 1;
}

// The fuzzing server: one client, one thread, bounded waits everywhere.
class FuzzPeer
{
public:
    explicit FuzzPeer(uint32_t seed) : m_random(seed)
    {
        m_listener = listenOn(m_port);
        m_thread = std::thread([this] { Run(); });
    }
    ~FuzzPeer()
    {
        m_stop = true;
        m_thread.join();
        for (int fd : {m_listener, m_dataListener, m_data})
            if (fd >= 0)
                ::close(fd);
    }
    uint16_t Port() const { return m_port; }

private:
    int Chance(int percent) { return static_cast<int>(m_random() % 100) < percent; }
    std::string Noise(size_t size, bool printable)
    {
        std::string text(size, ' ');
        for (char& c : text)
            c = printable ? static_cast<char>(' ' + m_random() % 95) : static_cast<char>(m_random());
        return text;
    }

    void Send(const std::string& text)
    {
        size_t sent = 0;
        while (sent < text.size() && !m_stop && ready(m_control, 2000, POLLOUT)) {
            ssize_t put = ::send(m_control, text.data() + sent, text.size() - sent, MSG_NOSIGNAL);
            if (put <= 0)
                return;
            sent += static_cast<size_t>(put);
        }
    }

    bool ReadLine(std::string& line)
    {
        line.clear();
        for (int waited = 0; waited < 6000 && !m_stop;) {
            size_t end = m_buffer.find('\n');
            if (end != std::string::npos) {
                line = m_buffer.substr(0, end);
                m_buffer.erase(0, end + 1);
                if (!line.empty() && line.back() == '\r')
                    line.pop_back();
                return true;
            }
            if (!ready(m_control, 100)) {
                waited += 100;
                continue;
            }
            char chunk[4096];
            ssize_t got = ::recv(m_control, chunk, sizeof chunk, 0);
            if (got <= 0)
                return false;
            m_buffer.append(chunk, static_cast<size_t>(got));
        }
        return false;
    }

    // A final reply, or something that looks like one and is not.
    std::string Reply(int code, const std::string& text)
    {
        switch (m_random() % 14) {
        case 0:
            return std::to_string(m_random() % 1000) + " " + text + "\r\n"; // any code at all
        case 1:
            return "000 " + text + "\r\n";
        case 2:
            return std::to_string(code) + "-first\r\n" + Noise(m_random() % 200, true) + "\r\n" + std::to_string(code) +
                   " " + text + "\r\n";
        case 3:
            return Noise(m_random() % 6000, false) + "\r\n"; // garbage, maybe longer than a line may be
        case 4:
            return std::to_string(code) + " " + text + "\n" + std::to_string(400 + m_random() % 200) + " again\r\n";
        case 5:
            return std::to_string(400 + m_random() % 200) + " refused\r\n";
        default:
            return std::to_string(code) + " " + text + "\r\n";
        }
    }

    void OpenDataListener()
    {
        if (m_dataListener >= 0)
            ::close(m_dataListener);
        m_dataListener = listenOn(m_dataPort);
    }

    // The data connection of a transfer: accepted (passive) or made (active), then fed or read.
    void DataTransfer(bool upload)
    {
        if (m_data < 0 && m_dataListener >= 0 && ready(m_dataListener, 300))
            m_data = ::accept4(m_dataListener, nullptr, nullptr, SOCK_CLOEXEC);
        if (m_data < 0 && m_activePort != 0) {
            m_data = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
            sockaddr_in address{};
            address.sin_family = AF_INET;
            address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            address.sin_port = htons(m_activePort);
            if (::connect(m_data, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
                ::close(m_data);
                m_data = -1;
            }
        }
        m_activePort = 0;
        if (m_data < 0)
            return;
        if (upload) {
            char chunk[65536];
            for (int rounds = 0; rounds < 400 && ready(m_data, 500); ++rounds)
                if (::recv(m_data, chunk, sizeof chunk, 0) <= 0 || Chance(1))
                    break;
        } else {
            size_t size = Chance(10) ? m_random() % 2000000 : m_random() % 20000;
            bool listing = Chance(50);
            std::string bytes;
            while (bytes.size() < size)
                bytes += listing ? "-rw-r--r-- 1 a b " + std::to_string(m_random()) + " Jan 1 2020 " +
                                       Noise(1 + m_random() % 12, Chance(90)) + "\r\n"
                                 : Noise(std::min<size_t>(size - bytes.size(), 4096), false);
            size_t sent = 0;
            while (sent < bytes.size() && ready(m_data, 500, POLLOUT)) {
                ssize_t put = ::send(m_data, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
                if (put <= 0)
                    break;
                sent += static_cast<size_t>(put);
            }
        }
        ::close(m_data);
        m_data = -1;
    }

    void Answer(const std::string& line)
    {
        std::string command = line.substr(0, line.find(' '));
        for (char& c : command)
            c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
        if (Chance(1))
            return; // never answered: the client's reply timeout ends it
        if (Chance(2)) {
            ::shutdown(m_control, SHUT_RDWR);
            return;
        }
        if (command == "EPSV" || command == "PASV") {
            OpenDataListener();
            uint16_t port = Chance(85) ? m_dataPort : static_cast<uint16_t>(m_random());
            if (Chance(10))
                return Send(Reply(command == "EPSV" ? 229 : 227, "(" + Noise(m_random() % 30, true) + ")"));
            if (command == "EPSV")
                return Send(Reply(229, "Entering Extended Passive Mode (|||" + std::to_string(port) + "|)"));
            return Send(Reply(227, "Entering Passive Mode (127,0,0,1," + std::to_string(port / 256) + "," +
                                       std::to_string(port % 256) + ")"));
        }
        if (command == "PORT" || command == "EPRT") {
            int a = 0, b = 0, c = 0, d = 0, p1 = 0, p2 = 0;
            unsigned eprt = 0;
            if (std::sscanf(line.c_str(), "PORT %d,%d,%d,%d,%d,%d", &a, &b, &c, &d, &p1, &p2) == 6)
                m_activePort = static_cast<uint16_t>(p1 * 256 + p2);
            else if (std::sscanf(line.c_str(), "EPRT |%*d|%*[^|]|%u|", &eprt) == 1)
                m_activePort = static_cast<uint16_t>(eprt);
            return Send(Reply(200, "PORT ok"));
        }
        bool download = command == "LIST" || command == "MLSD" || command == "NLST" || command == "RETR";
        bool upload = command == "STOR" || command == "APPE";
        if (download || upload) {
            if (Chance(15))
                return Send(Reply(550, "no such file"));
            Send(Chance(80) ? "150 Opening data connection\r\n" : Reply(150, "here it comes"));
            if (Chance(10))
                Send(Reply(226, "done early")); // the final reply before the data
            DataTransfer(upload);
            if (Chance(10))
                return Send(Reply(426, "Transfer aborted"));
            return Send(Reply(226, "Transfer complete"));
        }
        if (command == "PWD")
            return Send(Reply(257, Chance(70) ? "\"/" + Noise(m_random() % 20, true) + "\" is current" : "/nowhere"));
        if (command == "SIZE")
            return Send(Reply(213, std::to_string(Chance(80) ? m_random() % 3000000 : m_random())));
        if (command == "MDTM")
            return Send(Reply(213, Chance(80) ? "20260102030405" : Noise(m_random() % 20, true)));
        if (command == "REST")
            return Send(Reply(350, "Restarting"));
        if (command == "QUIT")
            return Send("221 bye\r\n");
        Send(Reply(200, "ok"));
    }

    void Run()
    {
        if (m_listener < 0 || !ready(m_listener, 10000))
            return;
        m_control = ::accept4(m_listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (m_control < 0)
            return;
        Send("220 fuzz ready\r\n");
        std::string line;
        while (!m_stop && ReadLine(line)) {
            if (line.rfind("USER", 0) == 0)
                Send("331 send password\r\n");
            else if (line.rfind("PASS", 0) == 0)
                Send("230 logged in\r\n");
            else
                Answer(line);
        }
        ::close(m_control);
    }

    std::mt19937 m_random;
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
    int m_listener = -1;
    uint16_t m_port = 0;
    int m_control = -1;
    std::string m_buffer;
    int m_dataListener = -1;
    uint16_t m_dataPort = 0;
    int m_data = -1;
    uint16_t m_activePort = 0;
};

// Runs one request and waits for its end; false when it outlived its timeouts. A request the
// client refused to start (its connection gone) counts as ended.
bool Await(TFtpClient& client, const std::function<void()>& request, const char* what, uint32_t seed)
{
    uint64_t before = client.RequestsStarted();
    auto start = std::chrono::steady_clock::now();
    request();
    if (client.RequestsStarted() == before)
        return true;
    while (client.RequestsDone() < client.RequestsStarted()) {
        platform::pumpEvents(20);
        auto elapsed =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
        if (elapsed > kLongestRequestMs) {
            std::fprintf(stderr, "case %u: %s did not end within %lld ms\n", seed, what,
                         static_cast<long long>(kLongestRequestMs));
            return false;
        }
    }
    return true;
}

bool RunCase(uint32_t seed)
{
    std::mt19937 random(seed ^ 0x9e3779b9u);
    FuzzPeer peer(seed);
    TFtpClient client;
    client.HostName = "127.0.0.1";
    client.Port = std::to_string(peer.Port());
    client.UserName = "fuzz";
    client.PassWord = "fuzz";
    client.ReplyTimeout = kTimeoutSeconds;
    client.DataTimeout = kTimeoutSeconds;
    client.AheadTimeout = kTimeoutSeconds;
    client.SetPassive(random() % 4 != 0);
    client.OnError = [](TCustomFtpCli*, const std::string&) {}; // a refused request: no exception
    client.OnRequestDone = [](TCustomFtpCli* sender, TFtpRequest, int error) {
        ++(error == 0 ? g_succeeded : g_failed);
        g_bytes += sender->ByteCount();
    };
    bool ok = Await(
                  client, [&] { client.Open(); }, "Open", seed) &&
              Await(
                  client, [&] { client.User(); }, "USER", seed) &&
              Await(
                  client, [&] { client.Pass(); }, "PASS", seed);
    platform::TMemoryStream memory;
    for (int step = 0; ok && step < 8 && client.Connected(); ++step) {
        memory.Clear();
        client.HostFileName = "/file" + std::to_string(random() % 4);
        client.HostDirName = "/dir";
        switch (random() % 9) {
        case 0:
            client.SetLocalStream(&memory);
            client.ResumeAt = 0;
            ok = Await(
                client, [&] { client.Dir(); }, "LIST", seed);
            break;
        case 1:
        case 2:
            client.SetLocalStream(&memory);
            client.ResumeAt = random() % 3 == 0 ? static_cast<int64_t>(random() % 100000) : -1;
            client.TransferEnd = random() % 3 == 0 ? static_cast<int64_t>(random() % 200000) : -1;
            client.FileEnd = random() % 3 == 0 ? static_cast<int64_t>(random() % 200000) : -1;
            ok = Await(
                client, [&] { client.RestGet(); }, "RETR", seed);
            break;
        case 3: {
            std::string payload(random() % 300000, 'u');
            memory.Write(payload.data(), static_cast<int64_t>(payload.size()));
            memory.Seek(0);
            client.SetLocalStream(&memory);
            client.ResumeAt = 0;
            ok = Await(
                client, [&] { client.Put(); }, "STOR", seed);
            break;
        }
        case 4:
            // A download sent ahead with its EPSV, then taken by its request.
            client.EpsvKnown = true;
            client.SetLocalStream(&memory);
            client.ResumeAt = -1;
            client.TransferEnd = -1;
            client.FileEnd = -1;
            client.SendTransferAhead(true, client.HostFileName, random() % 2 ? 'I' : 'A');
            ok = Await(
                client, [&] { client.RestGet(); }, "RETR sent ahead", seed);
            break;
        case 5:
            client.SendAhead("MDTM " + client.HostFileName);
            ok = Await(
                client, [&] { client.Mdtm(); }, "MDTM sent ahead", seed);
            break;
        case 6:
            ok = Await(
                     client, [&] { client.Pwd(); }, "PWD", seed) &&
                 Await(
                     client, [&] { client.Cwd(); }, "CWD", seed);
            break;
        case 7:
            ok = Await(
                client, [&] { client.Size(); }, "SIZE", seed);
            break;
        default:
            client.SetLocalFileName("SYST");
            ok = Await(
                     client, [&] { client.Quote(); }, "SYST", seed) &&
                 Await(
                     client, [&] { client.TypeBinary(); }, "TYPE", seed);
            break;
        }
        client.SetLocalStream(nullptr);
    }
    client.Abort();
    platform::pumpEvents(0);
    if (client.RequestsDone() != client.RequestsStarted()) {
        std::fprintf(stderr, "case %u: %llu requests started, %llu ended\n", seed,
                     static_cast<unsigned long long>(client.RequestsStarted()),
                     static_cast<unsigned long long>(client.RequestsDone()));
        ok = false;
    }
    return ok;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    uint32_t first = argc > 1 ? static_cast<uint32_t>(std::strtoul(argv[1], nullptr, 10)) : 1;
    int cases = argc > 2 ? std::atoi(argv[2]) : kCases;
    int failed = 0;
    for (int n = 0; n < cases; ++n)
        failed += RunCase(first + static_cast<uint32_t>(n)) ? 0 : 1;
    std::printf("%d cases of replies after a login, %d failed; %d requests succeeded, %d failed; %lld bytes moved\n",
                cases, failed, g_succeeded, g_failed, static_cast<long long>(g_bytes));
    return failed == 0 ? 0 : 1;
}
