// Line mode and the synchronous wait, fed by a scripted peer that sends in pieces.

#include <gtest/gtest.h>

#include "net/WSocket.h"
#include "support/ScriptedPeer.h"
#include "support/WaitFor.h"

using namespace testsupport;

namespace {

// A line-mode socket that records what each OnDataAvailable hands it.
struct LineClient
{
    TWSocket socket;
    std::vector<std::string> deliveries;
    std::vector<std::string> events; // "data" and "closed", in order
    bool connected = false;

    explicit LineClient(const ScriptedPeer& peer)
    {
        socket.SetAddr("127.0.0.1");
        socket.SetPort(peer.portText());
        socket.SetLineMode(true);
        socket.OnSessionConnected = [this](TCustomWSocket*, int error) { connected = error == 0; };
        socket.OnDataAvailable = [this](TCustomWSocket* s, int) {
            std::string piece = s->ReceiveStr();
            if (!piece.empty()) {
                deliveries.push_back(piece);
                events.push_back("data");
            }
        };
        socket.OnSessionClosed = [this](TCustomWSocket*, int) { events.push_back("closed"); };
    }

    bool run()
    {
        socket.Connect();
        return waitFor([&] { return !events.empty() && events.back() == "closed"; });
    }
};

} // namespace

TEST(LineMode, OneDeliveryPerLineWhateverTheReadsAre)
{
    ScriptedPeer peer({{PeerStep::Send, "AB"},
                       {PeerStep::Pause, "", 100},
                       {PeerStep::Send, "C\r\nD\r\n"},
                       {PeerStep::Pause, "", 100},
                       {PeerStep::Send, "X\r"}, // a terminator split across two reads
                       {PeerStep::Pause, "", 100},
                       {PeerStep::Send, "\nlast line"},
                       {PeerStep::Pause, "", 100}});
    LineClient client(peer);
    ASSERT_TRUE(client.run());
    EXPECT_EQ(client.deliveries, (std::vector<std::string>{"ABC\r\n", "D\r\n", "X\r\n", "last line"}));
    // The unterminated rest comes once, before the close.
    EXPECT_EQ(client.events.back(), "closed");
    EXPECT_EQ(std::count(client.events.begin(), client.events.end(), "closed"), 1);
}

TEST(LineMode, SwitchingTheModeHandsBufferedBytesOverAgainFromTheLoop)
{
    ScriptedPeer peer({{PeerStep::Send, "one\r\ntwo\r\nthree"}, {PeerStep::Pause, "", 300}});
    LineClient client(peer);
    bool insideSetter = false;
    bool deliveredInsideSetter = false;
    client.socket.OnDataAvailable = [&](TCustomWSocket* s, int) {
        deliveredInsideSetter |= insideSetter;
        std::string piece = s->ReceiveStr();
        if (piece.empty())
            return;
        client.deliveries.push_back(piece);
        if (piece == "one\r\n") {
            insideSetter = true;
            client.socket.SetLineMode(false); // the rest now comes as it is
            insideSetter = false;
        }
    };
    client.socket.Connect();
    ASSERT_TRUE(waitFor([&] { return client.deliveries.size() >= 2; }));
    EXPECT_EQ(client.deliveries[0], "one\r\n");
    EXPECT_EQ(client.deliveries[1], "two\r\nthree");
    EXPECT_FALSE(deliveredInsideSetter);
}

TEST(LineMode, ALineThatNeverEndsIsReportedAndHandedOverBounded)
{
    const size_t size = TCustomLineWSocket::kMaxLineLength + 4096;
    ScriptedPeer peer({{PeerStep::Send, std::string(size, 'x')}, {PeerStep::Pause, "", 300}});
    LineClient client(peer);
    int tooLong = 0;
    client.socket.OnLineTooLong = [&](TCustomWSocket*) { ++tooLong; };
    ASSERT_TRUE(client.run());
    EXPECT_GE(tooLong, 1);
    size_t total = 0;
    for (const std::string& piece : client.deliveries) {
        EXPECT_LE(piece.size(), TCustomLineWSocket::kMaxLineLength + 64 * 1024);
        total += piece.size();
    }
    EXPECT_EQ(total, size); // nothing lost
}

TEST(LineMode, EditingAppliesBackspaceAndTabAndEchoesThem)
{
    ScriptedPeer peer(
        {{PeerStep::Send, "ab\bc\td\r\n"}, {PeerStep::ExpectBytes, "ab\b \bc      d\r\n"}, {PeerStep::Pause, "", 100}});
    LineClient client(peer);
    client.socket.LineEdit = true;
    client.socket.LineEcho = true;
    ASSERT_TRUE(client.run());
    EXPECT_EQ(client.deliveries, std::vector<std::string>{"ac      d\r\n"});
    EXPECT_TRUE(peer.failures().empty()) << peer.failures().front();
}

TEST(SyncSocket, WaitsForTheFlagOrGivesUp)
{
    ScriptedPeer peer({{PeerStep::Send, "hello\r\n"}, {PeerStep::Pause, "", 300}});
    TWSocket socket;
    socket.SetAddr("127.0.0.1");
    socket.SetPort(peer.portText());
    bool connected = false;
    socket.OnSessionConnected = [&](TCustomWSocket*, int) { connected = true; };
    socket.Timeout = 5000;
    EXPECT_EQ(socket.Synchronize([&] { socket.Connect(); }, connected), 0);
    EXPECT_EQ(socket.State(), wsConnected);

    bool never = false;
    socket.Timeout = 100;
    EXPECT_EQ(socket.WaitUntilReady(never), TCustomSyncWSocket::kWaitFailed);
}
