// Each file under data/ftp describes one case as data: what a scripted server sends and
// expects, the requests the client makes one after another, and what must come of them.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "ftp/FtpClient.h"
#include "support/ScriptedPeer.h"
#include "support/WaitFor.h"

using namespace testsupport;

namespace {

struct ScriptCase
{
    std::string name;
    std::vector<std::string> errors; // lines of the case file no keyword matched
    std::vector<PeerStep> server;
    std::vector<std::pair<std::string, std::string>> client; // action, argument
    std::vector<std::pair<std::string, std::string>> expect; // what, text
};

// "word rest of line" -> {word, rest}
std::pair<std::string, std::string> splitWord(const std::string& line)
{
    size_t space = line.find(' ');
    if (space == std::string::npos)
        return {line, ""};
    return {line.substr(0, space), line.substr(space + 1)};
}

ScriptCase loadCase(const std::filesystem::path& path)
{
    ScriptCase script;
    script.name = path.stem().string();
    for (char& c : script.name)
        if (c == '-')
            c = '_';
    std::ifstream file(path);
    std::string line;
    while (std::getline(file, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        auto [side, rest] = splitWord(line);
        auto [what, text] = splitWord(rest);
        if (side == "server") {
            if (what == "send")
                script.server.push_back({PeerStep::Send, unescape(text)});
            else if (what == "bytewise")
                script.server.push_back({PeerStep::SendBytewise, unescape(text)});
            else if (what == "expect")
                script.server.push_back({PeerStep::Expect, text});
            else if (what == "pause")
                script.server.push_back({PeerStep::Pause, "", std::stoi(text)});
            else if (what == "close")
                script.server.push_back({PeerStep::Close, ""});
            else if (what == "pasv")
                script.server.push_back({PeerStep::Pasv, unescape(text)});
            else if (what == "pasvclosed")
                script.server.push_back({PeerStep::PasvClosed, ""});
            else if (what == "accept")
                script.server.push_back({PeerStep::Accept, ""});
            else if (what == "data")
                script.server.push_back({PeerStep::SendData, "", std::stoi(text)});
            else if (what == "closedata")
                script.server.push_back({PeerStep::CloseData, ""});
            else if (what == "long") {
                auto [prefix, count] = splitWord(text);
                script.server.push_back({PeerStep::Send, prefix + " " + std::string(std::stoul(count), 'x') + "\r\n"});
            } else
                script.errors.push_back(line);
        } else if (side == "client") {
            script.client.emplace_back(what, text);
        } else if (side == "expect") {
            script.expect.emplace_back(what, unescape(text));
        } else {
            script.errors.push_back(line);
        }
    }
    return script;
}

std::vector<ScriptCase> allCases()
{
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(QUILL_TEST_DATA "/ftp"))
        if (entry.path().extension() == ".txt")
            files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    std::vector<ScriptCase> cases;
    for (const auto& file : files)
        cases.push_back(loadCase(file));
    return cases;
}

// The requests a case names in "expect done NAME ERROR".
TFtpRequest requestNamed(const std::string& name)
{
    static const std::map<std::string, TFtpRequest> kNames = {
        {"Open", ftpOpenAsync},       {"User", ftpUserAsync},       {"Pass", ftpPassAsync}, {"Cwd", ftpCwdAsync},
        {"Connect", ftpConnectAsync}, {"Get", ftpGetAsync},         {"Quit", ftpQuitAsync}, {"Pwd", ftpPwdAsync},
        {"Quote", ftpQuoteAsync},     {"RestGet", ftpRestGetAsync}, {"Dir", ftpDirAsync}};
    auto found = kNames.find(name);
    return found == kNames.end() ? ftpNoRequest : found->second;
}

void PrintTo(const ScriptCase& script, std::ostream* out)
{
    *out << script.name;
}

class FtpScript : public ::testing::TestWithParam<ScriptCase>
{
};

TEST_P(FtpScript, Plays)
{
    const ScriptCase& script = GetParam();
    for (const std::string& line : script.errors)
        ADD_FAILURE() << "no such keyword: " << line;
    ScriptedPeer peer(script.server);
    TFtpClient client;
    client.HostName = "127.0.0.1";
    client.Port = peer.portText();
    std::vector<std::string> log;
    std::vector<std::pair<int, int>> done;
    client.OnDisplay = [&](TCustomFtpCli*, std::string& msg) { log.push_back(msg); };
    client.OnRequestDone = [&](TCustomFtpCli*, TFtpRequest rq, int error) { done.emplace_back(rq, error); };
    client.SetPassive(true);
    platform::TMemoryStream received;
    int64_t abortAt = -1;
    client.OnProgress = [&](TCustomFtpCli*, int64_t count, bool& abort) { abort = abortAt >= 0 && count >= abortAt; };

    for (const auto& [action, argument] : script.client) {
        if (action == "acceptlf") {
            client.Options = argument == "off" ? 0u : unsigned(ftpAcceptLF);
            continue;
        }
        if (action == "abortat") {
            abortAt = std::stoll(argument);
            continue;
        }
        if (action == "transferend") {
            client.TransferEnd = std::stoll(argument);
            continue;
        }
        size_t before = done.size();
        if (action == "open")
            client.Open();
        else if (action == "quote")
            client.SetLocalFileName(argument), client.Quote();
        else if (action == "user")
            client.UserName = argument, client.User();
        else if (action == "pass")
            client.PassWord = argument, client.Pass();
        else if (action == "cwd")
            client.HostDirName = argument, client.Cwd();
        else if (action == "pwd")
            client.Pwd();
        else if (action == "quit")
            client.Quit();
        else if (action == "connect")
            client.UserName = "joe", client.PassWord = "secret", client.Connect();
        else if (action == "restget")
            received.Clear(), client.SetLocalStream(&received),
                client.HostFileName = "file.bin", client.ResumeAt = std::stoll(argument), client.RestGet();
        else if (action == "get")
            received.Clear(), client.SetLocalStream(&received), client.HostFileName = argument, client.Get();
        else
            FAIL() << "unknown client action " << action;
        ASSERT_TRUE(waitFor([&] { return done.size() > before; })) << "no completion for " << action;
    }
    pumpFor(50);

    std::vector<std::pair<int, int>> expectedDone;
    size_t logPosition = 0;
    for (const auto& [what, text] : script.expect) {
        if (what == "done") {
            auto [rq, error] = splitWord(text);
            TFtpRequest request = requestNamed(rq);
            EXPECT_NE(request, ftpNoRequest) << "no such request: " << rq;
            expectedDone.emplace_back(request, std::stoi(error));
        } else if (what == "errormessage") {
            EXPECT_EQ(client.ErrorMessage(), text);
        } else if (what == "lastresponse") {
            EXPECT_EQ(client.LastResponse(), text);
        } else if (what == "dirresult") {
            EXPECT_EQ(client.DirResult(), text);
        } else if (what == "received") {
            EXPECT_EQ(received.Size(), std::stoll(text));
            EXPECT_TRUE(received.Data() == peerPattern(received.Data().size())) << "received bytes differ";
        } else if (what == "connected") {
            EXPECT_EQ(client.Connected(), text == "yes");
        } else if (what == "log") {
            auto found = std::find(log.begin() + static_cast<long>(logPosition), log.end(), text);
            EXPECT_NE(found, log.end()) << "log line missing or out of order: " << text;
            if (found != log.end())
                logPosition = static_cast<size_t>(found - log.begin()) + 1;
        } else if (what == "nolog") {
            EXPECT_EQ(std::find(log.begin(), log.end(), text), log.end()) << "unexpected log line: " << text;
        } else {
            ADD_FAILURE() << "no such expectation: " << what;
        }
    }
    EXPECT_EQ(done, expectedDone);
    EXPECT_EQ(client.RequestsDone(), client.RequestsStarted());
    EXPECT_EQ(client.State(), ftpReady);
    client.Abort();
    EXPECT_TRUE(peer.finish());
    EXPECT_TRUE(peer.failures().empty()) << peer.failures().front();
}

INSTANTIATE_TEST_SUITE_P(Data, FtpScript, ::testing::ValuesIn(allCases()),
                         [](const ::testing::TestParamInfo<ScriptCase>& info) { return info.param.name; });

} // namespace
