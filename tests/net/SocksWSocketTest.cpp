// SOCKS negotiation against a scripted SOCKS server: the replies real servers do not give on
// demand, and the exact bytes of each request.

#include <gtest/gtest.h>

#include <cstdio>

#include <sys/stat.h>

#include "net/WSocket.h"
#include "support/Exceptions.h"
#include "support/ScriptedPeer.h"
#include "support/WaitFor.h"

using namespace testsupport;

namespace {

std::string bytes(std::initializer_list<int> values)
{
    std::string text;
    for (int value : values)
        text += static_cast<char>(value);
    return text;
}

// SOCKS 5 success reply with an IPv4 bound address.
const std::string kSocks5Success = bytes({5, 0, 0, 1, 127, 0, 0, 1, 0, 21});
// SOCKS 5 connect request for ftp.example:21.
const std::string kConnectRequest = bytes({5, 1, 0, 3, 11}) + "ftp.example" + bytes({0, 21});

// A socket that connects through the scripted server and records what it is told.
struct SocksClient
{
    TWSocket socket;
    std::vector<int> connected;
    std::vector<std::pair<int, std::string>> socksErrors;
    std::vector<int> authStates;
    std::string received;
    int pendingSeen = -1;

    SocksClient(const ScriptedPeer& peer, const std::string& level)
    {
        socket.SetSocksServer("127.0.0.1");
        socket.SetSocksPort(peer.portText());
        socket.SetSocksLevel(level);
        socket.SetAddr("ftp.example");
        socket.SetPort("21");
        socket.OnSessionConnected = [this](TCustomWSocket*, int error) {
            connected.push_back(error);
            pendingSeen = socket.GetRcvdCount();
        };
        socket.OnSocksError = [this](TCustomWSocket*, int error, const std::string& msg) {
            socksErrors.emplace_back(error, msg);
        };
        socket.OnSocksAuthState = [this](TCustomWSocket*, TSocksAuthState state) { authStates.push_back(state); };
        socket.OnDataAvailable = [this](TCustomWSocket* s, int) {
            char buffer[256];
            int count = s->Receive(buffer, sizeof buffer);
            if (count > 0)
                received.append(buffer, static_cast<size_t>(count));
        };
    }

    bool connect()
    {
        socket.Connect();
        return waitFor([&] { return !connected.empty(); });
    }
};

} // namespace

TEST(SocksWSocket, Socks5HandsOverTheBytesThatCameWithTheReplyFirst)
{
    // The method reply comes one byte at a time; the target's greeting shares a read with the
    // final reply.
    ScriptedPeer peer({{PeerStep::ExpectBytes, bytes({5, 1, 0})},
                       {PeerStep::SendBytewise, bytes({5, 0})},
                       {PeerStep::ExpectBytes, kConnectRequest},
                       {PeerStep::Send, kSocks5Success + "220 greeting 20 byte"},
                       {PeerStep::Pause, "", 300}});
    SocksClient client(peer, "5");
    ASSERT_TRUE(client.connect());
    EXPECT_EQ(client.connected, std::vector<int>{0});
    EXPECT_EQ(client.pendingSeen, 20);
    ASSERT_TRUE(waitFor([&] { return client.received.size() == 20; }));
    EXPECT_EQ(client.received, "220 greeting 20 byte");
    EXPECT_TRUE(peer.finish());
    EXPECT_TRUE(peer.failures().empty()) << peer.failures().front();
}

TEST(SocksWSocket, Socks5AuthenticatesWithUserAndPassword)
{
    ScriptedPeer peer({{PeerStep::ExpectBytes, bytes({5, 1, 2})},
                       {PeerStep::Send, bytes({5, 2})},
                       {PeerStep::ExpectBytes, bytes({1, 4}) + "user" + bytes({6}) + "secret"},
                       {PeerStep::Send, bytes({1, 0})},
                       {PeerStep::ExpectBytes, kConnectRequest},
                       {PeerStep::Send, kSocks5Success},
                       {PeerStep::Pause, "", 200}});
    SocksClient client(peer, "5");
    client.socket.SocksUsercode = "user";
    client.socket.SocksPassword = "secret";
    client.socket.SocksAuthentication = socksAuthenticateUsercode;
    ASSERT_TRUE(client.connect());
    EXPECT_EQ(client.connected, std::vector<int>{0});
    EXPECT_EQ(client.authStates, (std::vector<int>{socksAuthStart, socksAuthSuccess}));
    EXPECT_EQ(client.socket.State(), wsConnected);
    EXPECT_TRUE(peer.finish());
    EXPECT_TRUE(peer.failures().empty()) << peer.failures().front();
}

TEST(SocksWSocket, Socks5ServerThatWantsNoAuthenticationIsSaidSo)
{
    ScriptedPeer peer({{PeerStep::ExpectBytes, bytes({5, 1, 2})},
                       {PeerStep::Send, bytes({5, 0})},
                       {PeerStep::ExpectBytes, kConnectRequest},
                       {PeerStep::Send, kSocks5Success},
                       {PeerStep::Pause, "", 200}});
    SocksClient client(peer, "5");
    client.socket.SocksUsercode = "user";
    client.socket.SocksAuthentication = socksAuthenticateUsercode;
    ASSERT_TRUE(client.connect());
    EXPECT_EQ(client.connected, std::vector<int>{0});
    EXPECT_EQ(client.authStates, std::vector<int>{socksAuthNotRequired});
}

TEST(SocksWSocket, Socks4AGivesTheNameToTheServer)
{
    ScriptedPeer peer(
        {{PeerStep::ExpectBytes, bytes({4, 1, 0, 21, 0, 0, 0, 1}) + "me" + bytes({0}) + "ftp.example" + bytes({0})},
         {PeerStep::Send, bytes({0, 90, 0, 0, 0, 0, 0, 0})},
         {PeerStep::Pause, "", 200}});
    SocksClient client(peer, "4A");
    client.socket.SocksUsercode = "me";
    ASSERT_TRUE(client.connect());
    EXPECT_EQ(client.connected, std::vector<int>{0});
    EXPECT_TRUE(peer.finish());
    EXPECT_TRUE(peer.failures().empty()) << peer.failures().front();
}

TEST(SocksWSocket, Socks4ResolvesTheTargetItself)
{
    ScriptedPeer peer({{PeerStep::ExpectBytes, bytes({4, 1, 0, 21, 127, 0, 0, 1, 0})},
                       {PeerStep::Send, bytes({0, 90, 0, 0, 0, 0, 0, 0})},
                       {PeerStep::Pause, "", 200}});
    SocksClient client(peer, "4");
    client.socket.SetAddr("localhost");
    ASSERT_TRUE(client.connect());
    EXPECT_EQ(client.connected, std::vector<int>{0});
    EXPECT_TRUE(peer.failures().empty()) << peer.failures().front();
}

struct RefusalCase
{
    const char* name;
    std::string level;
    std::vector<PeerStep> script;
    int code;
    std::string text;
};

void PrintTo(const RefusalCase& refusal, std::ostream* out)
{
    *out << refusal.name;
}

class SocksRefusal : public ::testing::TestWithParam<RefusalCase>
{
};

TEST_P(SocksRefusal, ReachesTheOwnerTwiceAndClosesTheSocket)
{
    const RefusalCase& refusal = GetParam();
    ScriptedPeer peer(refusal.script);
    SocksClient client(peer, refusal.level);
    if (std::string(refusal.name) == "wrong_password" || std::string(refusal.name) == "too_long_password") {
        client.socket.SocksUsercode = "user";
        client.socket.SocksPassword = std::string(refusal.name) == "wrong_password" ? "bad" : std::string(200, 'p');
        client.socket.SocksAuthentication = socksAuthenticateUsercode;
    }
    if (std::string(refusal.name) == "too_long_target")
        client.socket.SetAddr(std::string(122, 'h'));
    ASSERT_TRUE(client.connect());
    EXPECT_EQ(client.connected, std::vector<int>{refusal.code});
    ASSERT_EQ(client.socksErrors.size(), 1u);
    EXPECT_EQ(client.socksErrors[0], std::make_pair(refusal.code, refusal.text));
    EXPECT_EQ(client.socket.State(), wsClosed);
    EXPECT_TRUE(peer.finish());
    EXPECT_TRUE(peer.failures().empty()) << peer.failures().front();
}

std::vector<RefusalCase> refusals()
{
    std::vector<RefusalCase> cases;
    const char* socks5Texts[] = {"general SOCKS server failure", "connection not allowed by ruleset",
                                 "network unreachable",          "host unreachable",
                                 "connection refused",           "time to live expired",
                                 "command not supported",        "address type not supported"};
    static const char* names[] = {"reply_1", "reply_2", "reply_3", "reply_4",
                                  "reply_5", "reply_6", "reply_7", "reply_8"};
    for (int code = 1; code <= 8; ++code)
        cases.push_back({names[code - 1],
                         "5",
                         {{PeerStep::ExpectBytes, bytes({5, 1, 0})},
                          {PeerStep::Send, bytes({5, 0})},
                          {PeerStep::ExpectBytes, kConnectRequest},
                          {PeerStep::Send, bytes({5, code, 0, 1, 0, 0, 0, 0, 0, 0})},
                          {PeerStep::Pause, "", 100}},
                         20003 + code,
                         socks5Texts[code - 1]});
    cases.push_back({"reply_9",
                     "5",
                     {{PeerStep::ExpectBytes, bytes({5, 1, 0})},
                      {PeerStep::Send, bytes({5, 0})},
                      {PeerStep::ExpectBytes, kConnectRequest},
                      {PeerStep::Send, bytes({5, 9, 0, 1, 0, 0, 0, 0, 0, 0})},
                      {PeerStep::Pause, "", 100}},
                     20012,
                     "unassigned error #9"});
    cases.push_back(
        {"wrong_version",
         "5",
         {{PeerStep::ExpectBytes, bytes({5, 1, 0})}, {PeerStep::Send, bytes({4, 0})}, {PeerStep::Pause, "", 100}},
         20002,
         "socks version error"});
    cases.push_back(
        {"no_acceptable_method",
         "5",
         {{PeerStep::ExpectBytes, bytes({5, 1, 0})}, {PeerStep::Send, bytes({5, 0xff})}, {PeerStep::Pause, "", 100}},
         20003,
         "authentification method not acceptable"});
    cases.push_back({"wrong_password",
                     "5",
                     {{PeerStep::ExpectBytes, bytes({5, 1, 2})},
                      {PeerStep::Send, bytes({5, 2})},
                      {PeerStep::ExpectBytes, bytes({1, 4}) + "user" + bytes({3}) + "bad"},
                      {PeerStep::Send, bytes({1, 1})},
                      {PeerStep::Pause, "", 100}},
                     20015,
                     "socks authentication failed"});
    for (auto [reply, code, text] :
         {std::tuple{91, 20016, "request rejected or failed"}, std::tuple{92, 20008, "connection refused"},
          std::tuple{93, 20015, "authentification failed"}}) {
        static const char* socks4Names[] = {"socks4_91", "socks4_92", "socks4_93"};
        cases.push_back({socks4Names[reply - 91],
                         "4A",
                         {{PeerStep::ExpectBytes, bytes({4, 1, 0, 21, 0, 0, 0, 1, 0}) + "ftp.example" + bytes({0})},
                          {PeerStep::Send, bytes({0, reply, 0, 0, 0, 0, 0, 0})},
                          {PeerStep::Pause, "", 100}},
                         code,
                         text});
    }
    // Requests that do not fit are refused before a single byte goes out.
    cases.push_back({"too_long_target", "5", {{PeerStep::ExpectClose, ""}}, 20014, "socks request too long"});
    cases.push_back({"too_long_password", "5", {{PeerStep::ExpectClose, ""}}, 20014, "socks request too long"});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Replies, SocksRefusal, ::testing::ValuesIn(refusals()),
                         [](const ::testing::TestParamInfo<RefusalCase>& info) { return info.param.name; });

TEST(SocksWSocket, BytesThatCameWithTheReplyAlsoGoFirstStraightIntoAFile)
{
    ScriptedPeer peer({{PeerStep::ExpectBytes, bytes({5, 1, 0})},
                       {PeerStep::Send, bytes({5, 0})},
                       {PeerStep::ExpectBytes, kConnectRequest},
                       {PeerStep::Send, kSocks5Success + "first"},
                       {PeerStep::Pause, "", 100},
                       {PeerStep::Send, "second"},
                       {PeerStep::Pause, "", 200}});
    SocksClient client(peer, "5");
    FILE* file = std::tmpfile();
    ASSERT_NE(file, nullptr);
    client.socket.OnDataAvailable = [&](TCustomWSocket* s, int) { s->ReceiveToFile(fileno(file), 1024); };
    ASSERT_TRUE(client.connect());
    auto fileSize = [&] {
        struct stat info
        {
        };
        return ::fstat(fileno(file), &info) == 0 ? info.st_size : -1;
    };
    ASSERT_TRUE(waitFor([&] { return fileSize() >= 11; }));
    std::rewind(file);
    char content[32] = {};
    EXPECT_EQ(std::fread(content, 1, sizeof content - 1, file), 11u);
    EXPECT_STREQ(content, "firstsecond");
    std::fclose(file);
}
