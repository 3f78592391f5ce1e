// quillftp-cli: QuillFtp's engine from a terminal.

#include <iostream>
#include <string>
#include <vector>

#include <QCoreApplication>

#include "app/CliOptions.h"
#include "app/CliSession.h"
#include "net/TlsSession.h"
#include "platform/Paths.h"
#include "platform/Translate.h"
#include "sftp/SshConnection.h"

namespace {

std::string CliVersion()
{
    return std::string("quillftp-cli ") + QUILL_VERSION + " (build " + QUILL_BUILD + ")\nQt " + qVersion() + ", " +
           TlsLibraryVersion() + ", libssh " + sftp::SshLibraryVersion() + "\n";
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    platform::LoadTranslations(platform::shippedFilesDirectory() + "translations");
    std::vector<std::string> arguments(argv + 1, argv + argc);
    if (arguments.empty() || arguments[0] == "-h" || arguments[0] == "--help") {
        std::cerr << platform::Tr("Cli", kCliUsage);
        return arguments.empty() ? kExitUsage : kExitDone;
    }
    if (arguments[0] == "--version") {
        std::cout << CliVersion();
        return kExitDone;
    }
    TCliOptions options;
    std::string error;
    if (!ParseCliOptions(arguments, options, error)) {
        std::cerr << "quillftp-cli: " << error << platform::Tr("Cli", " (quillftp-cli --help shows the usage)") << "\n";
        return kExitUsage;
    }
    TCliSession session(options);
    return session.Run();
}
