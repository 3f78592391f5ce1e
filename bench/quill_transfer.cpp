// One download or upload over one FTP connection, for the transfer benchmark:
//   quill-transfer get|put HOST PORT USER PASSWORD REMOTE-PATH LOCAL-PATH
// Exit status 0 when the transfer succeeded.

#include <iostream>

#include <QCoreApplication>

#include "ftp/FtpClient.h"
#include "platform/EventLoop.h"

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    if (argc != 8) {
        std::cerr << "usage: quill-transfer get|put HOST PORT USER PASSWORD REMOTE-PATH LOCAL-PATH\n";
        return 2;
    }
    std::string direction = argv[1];
    TFtpClient client;
    client.HostName = argv[2];
    client.Port = argv[3];
    client.UserName = argv[4];
    client.PassWord = argv[5];
    client.HostFileName = argv[6];
    client.SetLocalFileName(argv[7]);
    client.SetPassive(true);
    client.Timeout = 120;

    if (getenv("QUILL_BENCH_LOG"))
        client.OnDisplay = [](TCustomFtpCli*, std::string& msg) { std::cerr << msg << "\n"; };
    int result = -1;
    client.OnRequestDone = [&](TCustomFtpCli*, TFtpRequest, int error) { result = error; };
    auto runToEnd = [&](void (TCustomFtpCli::*request)()) {
        // A synchronous call's completion still comes through the loop: let it pass first.
        while (client.RequestsDone() != client.RequestsStarted())
            platform::pumpEvents(1000);
        result = -1;
        (client.*request)();
        while (result < 0)
            platform::pumpEvents(1000);
        return result == 0;
    };
    if (!runToEnd(&TCustomFtpCli::Connect) || !client.TypeBinarySync()) {
        std::cerr << "login failed: " << client.ErrorMessage() << "\n";
        return 1;
    }
    bool ok = runToEnd(direction == "get" ? &TCustomFtpCli::Get : &TCustomFtpCli::Put);
    if (!ok)
        std::cerr << direction << " failed: " << client.ErrorMessage() << "\n";
    client.QuitSync();
    return ok ? 0 : 1;
}
