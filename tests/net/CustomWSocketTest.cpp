#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>

#include "net/WSocket.h"
#include "support/Exceptions.h"
#include "support/WaitFor.h"

using testsupport::pumpFor;
using testsupport::waitFor;

namespace {

// A socket whose network sends can be held back or cut short, to watch the send queue.
class ThrottledSocket : public TWSocket
{
public:
    int limit = -1; // bytes a send may hand over: -1 any, 0 none

protected:
    int RealSend(const void* data, int len) override
    {
        if (limit == 0)
            return 0;
        return TWSocket::RealSend(data, limit > 0 ? std::min(len, limit) : len);
    }
};

std::string pattern(size_t size)
{
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7 + i / 251) & 0xff);
    return bytes;
}

// Two connected sockets on loopback, made with Listen, Accept and Dup.
struct SocketPair
{
    TWSocket listener;
    TWSocket server;
    ThrottledSocket client;
    std::string serverReceived;
    int clientConnectError = -1;

    bool open()
    {
        listener.SetAddr("127.0.0.1");
        listener.SetPort("0");
        listener.OnSessionAvailable = [this](TCustomWSocket*, int) {
            TSocket accepted = listener.Accept();
            listener.Close();
            server.Dup(accepted);
        };
        listener.Listen();
        server.OnDataAvailable = [this](TCustomWSocket* socket, int) {
            char buffer[4096];
            int received = socket->Receive(buffer, sizeof buffer);
            if (received > 0)
                serverReceived.append(buffer, static_cast<size_t>(received));
        };
        client.SetAddr("127.0.0.1");
        client.SetPort(listener.GetBoundPort());
        client.OnSessionConnected = [this](TCustomWSocket*, int error) { clientConnectError = error; };
        client.Connect();
        return waitFor([&] { return clientConnectError == 0 && server.State() == wsConnected; });
    }
};

} // namespace

TEST(TWSocket, SendQueuesBlocksAndResumesAPartialSendFromTheRemainder)
{
    SocketPair pair;
    ASSERT_TRUE(pair.open());
    int dataSent = 0;
    bool insideSend = false;
    bool sentInsideSend = false;
    pair.client.OnDataSent = [&](TCustomWSocket*, int) {
        ++dataSent;
        sentInsideSend |= insideSend;
    };

    pair.client.limit = 100;
    std::string data = pattern(4000);
    insideSend = true;
    EXPECT_EQ(pair.client.Send(data.data(), 4000), 4000);
    insideSend = false;
    const auto& queue = pair.client.SendQueue();
    // 100 bytes went out directly, only the rest was copied into the queue, and 100 more left it.
    ASSERT_EQ(queue.size(), 3u);
    EXPECT_EQ(queue[0]->WrCount(), 1514);
    EXPECT_EQ(queue[0]->RdCount(), 100);
    EXPECT_EQ(queue[1]->WrCount(), 1514);
    EXPECT_EQ(queue[2]->WrCount(), 872);
    EXPECT_FALSE(pair.client.AllSent());

    pair.client.limit = -1;
    ASSERT_TRUE(waitFor([&] { return pair.serverReceived.size() == 4000 && dataSent > 0; }));
    EXPECT_EQ(pair.serverReceived, data);
    pumpFor(50);
    EXPECT_EQ(dataSent, 1);
    EXPECT_FALSE(sentInsideSend);
    EXPECT_EQ(queue.size(), 1u); // the emptied last block is kept for reuse
}

TEST(TWSocket, SendingNothingStillReportsDataSentOnceFromTheLoop)
{
    SocketPair pair;
    ASSERT_TRUE(pair.open());
    int dataSent = 0;
    pair.client.OnDataSent = [&](TCustomWSocket*, int) { ++dataSent; };
    EXPECT_EQ(pair.client.Send("", 0), 0);
    EXPECT_EQ(dataSent, 0);
    EXPECT_TRUE(waitFor([&] { return dataSent > 0; }));
    pumpFor(50);
    EXPECT_EQ(dataSent, 1);
}

TEST(TWSocket, SendWhenNotConnectedFails)
{
    TWSocket socket;
    EXPECT_EQ(testsupport::exceptionMessage([&] { socket.Send("x", 1); }),
              "Error 10057 in function Send\r\nSocket is not connected");
    int errors = 0;
    socket.OnError = [&](TCustomWSocket*) { ++errors; };
    EXPECT_EQ(socket.Send("x", 1), -1);
    EXPECT_EQ(errors, 1);
    EXPECT_EQ(socket.LastError(), 10057);
}

TEST(TWSocket, AddressesChangeOnlyWhileClosedAndMustBeGivenAgainAfterClose)
{
    SocketPair pair;
    ASSERT_TRUE(pair.open());
    EXPECT_EQ(testsupport::exceptionMessage([&] { pair.client.SetPort("21"); }), "Cannot change Port if not closed");
    EXPECT_EQ(testsupport::exceptionMessage([&] { pair.client.SetAddr("127.0.0.2"); }),
              "Cannot change Addr if not closed");
    EXPECT_EQ(pair.client.GetPeerAddr(), "127.0.0.1");
    EXPECT_EQ(pair.client.GetPeerPort(), pair.server.GetBoundPort());
    EXPECT_EQ(pair.client.GetBoundPort(), pair.server.GetPeerPort());

    pair.client.Close();
    EXPECT_EQ(pair.client.State(), wsClosed);
    EXPECT_EQ(pair.client.GetPeerAddr(), "error");
    EXPECT_EQ(pair.client.Addr(), "127.0.0.1"); // the text stays, the assignment does not
    EXPECT_EQ(testsupport::exceptionMessage([&] { pair.client.Connect(); }), "Connect: No Port Specified");
    pair.client.SetPort("1");
    EXPECT_EQ(testsupport::exceptionMessage([&] { pair.client.Connect(); }), "Connect: No IP Address Specified");
}

TEST(TWSocket, DottedLookupCompletesInsideTheCallAndNamesLater)
{
    TWSocket socket;
    std::vector<int> done;
    socket.OnDnsLookupDone = [&](TCustomWSocket*, int error) { done.push_back(error); };
    socket.DnsLookup("10.0.0.1");
    ASSERT_EQ(done, std::vector<int>{0});
    EXPECT_EQ(socket.DnsResult(), "10.0.0.1");
    EXPECT_TRUE(socket.DnsResultList().empty());

    done.clear();
    socket.DnsLookup("localhost");
    EXPECT_TRUE(done.empty());
    ASSERT_TRUE(waitFor([&] { return !done.empty(); }));
    EXPECT_EQ(done, std::vector<int>{0});
    EXPECT_EQ(socket.DnsResult(), "127.0.0.1");

    done.clear();
    socket.DnsLookup("localhost");
    socket.CancelDnsLookup();
    EXPECT_EQ(done, std::vector<int>{10004});
    pumpFor(300);
    EXPECT_EQ(done, std::vector<int>{10004});

    done.clear();
    socket.DnsLookup("no-such-host..invalid");
    ASSERT_TRUE(waitFor([&] { return !done.empty(); }));
    EXPECT_EQ(done, std::vector<int>{11001});
}

TEST(TWSocket, ConnectingToAClosedPortReportsRefusal)
{
    TWSocket socket;
    int connected = -1;
    int closed = 0;
    socket.OnSessionConnected = [&](TCustomWSocket*, int error) { connected = error; };
    socket.OnSessionClosed = [&](TCustomWSocket*, int) { ++closed; };
    socket.SetAddr("127.0.0.1");
    int listenerPort = 0;
    {
        TWSocket probe; // a port that was free a moment ago
        probe.SetAddr("127.0.0.1");
        probe.SetPort("0");
        probe.Listen();
        listenerPort = std::stoi(probe.GetBoundPort());
    }
    socket.SetPort(std::to_string(listenerPort));
    socket.Connect();
    EXPECT_EQ(connected, -1); // never inside Connect
    ASSERT_TRUE(waitFor([&] { return connected != -1; }));
    EXPECT_EQ(connected, 10061);
    EXPECT_EQ(socket.State(), wsClosed);
    pumpFor(50);
    EXPECT_LE(closed, 1);
}

TEST(TWSocket, APeerCloseEndsTheSessionExactlyOnceAfterTheLastBytes)
{
    SocketPair pair;
    ASSERT_TRUE(pair.open());
    std::string received;
    int closed = 0;
    pair.client.OnDataAvailable = [&](TCustomWSocket* socket, int) {
        char buffer[16];
        int count = socket->Receive(buffer, sizeof buffer);
        if (count > 0)
            received.append(buffer, static_cast<size_t>(count));
        else if (count == 0)
            socket->Close(); // the handler closes first; the close notification must not repeat the event
    };
    pair.client.OnSessionClosed = [&](TCustomWSocket*, int) { ++closed; };
    std::string farewell = pattern(100);
    pair.server.SendStr(farewell);
    pair.server.Close();
    ASSERT_TRUE(waitFor([&] { return closed > 0; }));
    pumpFor(100);
    EXPECT_EQ(received, farewell);
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(pair.client.State(), wsClosed);
}

TEST(TWSocket, WithoutADataHandlerIncomingBytesAreReadAndDropped)
{
    SocketPair pair;
    ASSERT_TRUE(pair.open());
    int closed = 0;
    pair.client.OnSessionClosed = [&](TCustomWSocket*, int) { ++closed; };
    pair.server.SendStr(pattern(5000));
    pumpFor(200);
    EXPECT_EQ(pair.client.GetRcvdCount(), 0);
    EXPECT_EQ(pair.client.State(), wsConnected);
    pair.server.Close();
    ASSERT_TRUE(waitFor([&] { return closed > 0; }));
    pumpFor(50);
    EXPECT_EQ(closed, 1);
}

TEST(TWSocket, TheReceiveLoopDrainsALargeTransferInOrder)
{
    SocketPair pair;
    ASSERT_TRUE(pair.open());
    std::string received;
    pair.client.OnDataAvailable = [&](TCustomWSocket* socket, int) {
        char buffer[1000];
        int count = socket->Receive(buffer, sizeof buffer);
        if (count > 0)
            received.append(buffer, static_cast<size_t>(count));
    };
    std::string data = pattern(3 * 1024 * 1024);
    pair.server.Send(data.data(), static_cast<int>(data.size()));
    ASSERT_TRUE(waitFor([&] { return received.size() == data.size(); }));
    EXPECT_TRUE(received == data);
    EXPECT_EQ(pair.client.ReadCount(), static_cast<int64_t>(data.size()));
}

TEST(TWSocket, AGracefulCloseDeliversWhatWasAlreadySent)
{
    SocketPair pair;
    ASSERT_TRUE(pair.open());
    std::string data = pattern(8 * 1024 * 1024);
    pair.client.Send(data.data(), static_cast<int>(data.size()));
    pair.client.Flush(); // every byte is with the kernel now, some still unsent
    pair.client.Close();
    ASSERT_TRUE(waitFor([&] { return pair.serverReceived.size() >= data.size() || pair.server.State() == wsClosed; }));
    waitFor([&] { return pair.serverReceived.size() >= data.size(); }, 2000);
    EXPECT_EQ(pair.serverReceived.size(), data.size());
    EXPECT_TRUE(pair.serverReceived == data);
}

TEST(TWSocket, AbortClosesAtOnceAndEndsTheSessionOnce)
{
    SocketPair pair;
    ASSERT_TRUE(pair.open());
    int closed = 0;
    pair.client.OnSessionClosed = [&](TCustomWSocket*, int) { ++closed; };
    pair.client.Abort();
    EXPECT_EQ(pair.client.State(), wsClosed);
    EXPECT_EQ(closed, 1);
    ASSERT_TRUE(waitFor([&] { return pair.server.State() == wsClosed; }));
    pumpFor(50);
    EXPECT_EQ(closed, 1);
}

TEST(TWSocket, AnExceptionFromAHandlerGoesToTheBackgroundHandlerAndAbortsTheSocket)
{
    SocketPair pair;
    ASSERT_TRUE(pair.open());
    std::string caught;
    pair.client.OnDataAvailable = [](TCustomWSocket*, int) { throw std::runtime_error("handler failed"); };
    pair.client.OnBgException = [&](TCustomWSocket*, const std::exception& e, bool& canClose) {
        caught = e.what();
        EXPECT_TRUE(canClose);
    };
    pair.server.SendStr("boom");
    ASSERT_TRUE(waitFor([&] { return !caught.empty(); }));
    EXPECT_EQ(caught, "handler failed");
    EXPECT_EQ(pair.client.State(), wsClosed);
}
