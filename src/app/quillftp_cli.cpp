// quillftp-cli: QuillFtp's engine from a terminal.

#include <cstdio>
#include <iostream>
#include <string>

#include <QCoreApplication>
#include <QUrl>

#include "ftp/FtpClient.h"

namespace {

constexpr int kExitUsage = 2;
constexpr int kExitLoginFailed = 3;

void printUsage()
{
    std::cerr << "usage: quillftp-cli login ftp://[user[:password]@]host[:port][/path]\n"
                 "  connects, logs in, shows the server's system type and directory, and quits;\n"
                 "  the dialogue with the server is printed as it happens (the password masked).\n";
}

std::string masked(const std::string& line)
{
    return line.rfind("> PASS ", 0) == 0 ? "> PASS ********" : line;
}

int login(const QUrl& url)
{
    TFtpClient client;
    client.HostName = url.host().toStdString();
    client.Port = std::to_string(url.port(21));
    client.UserName = url.userName().isEmpty() ? "anonymous" : url.userName().toStdString();
    client.PassWord = url.password().isEmpty() ? "quillftp@" : url.password().toStdString();
    client.OnDisplay = [](TCustomFtpCli*, std::string& msg) { std::cout << masked(msg) << std::endl; };
    client.OnError = [](TCustomFtpCli*, const std::string& msg) { std::cerr << msg << std::endl; };

    auto step = [&client](void (TCustomFtpCli::*request)()) {
        return client.Synchronize([&client, request] { (client.*request)(); });
    };
    if (!step(&TCustomFtpCli::Open) || !step(&TCustomFtpCli::User) ||
        (client.StatusCode() != 230 && !step(&TCustomFtpCli::Pass))) {
        std::cerr << "quillftp-cli: login to " << client.HostName << " failed: " << client.ErrorMessage() << "\n";
        return kExitLoginFailed;
    }
    step(&TCustomFtpCli::Syst);
    if (!url.path().isEmpty() && url.path() != "/") {
        client.HostDirName = url.path().toStdString();
        step(&TCustomFtpCli::Cwd);
    }
    step(&TCustomFtpCli::Pwd);
    std::cout << "Current directory: " << client.DirResult() << std::endl;
    client.QuitSync();
    return 0;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    QStringList arguments = application.arguments();
    if (arguments.size() != 3 || arguments[1] != "login") {
        printUsage();
        return kExitUsage;
    }
    QUrl url(arguments[2], QUrl::StrictMode);
    if (!url.isValid() || url.scheme() != "ftp" || url.host().isEmpty()) {
        std::cerr << "quillftp-cli: not an ftp:// address: " << arguments[2].toStdString() << "\n";
        return kExitUsage;
    }
    return login(url);
}
