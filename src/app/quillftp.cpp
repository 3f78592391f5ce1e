// quillftp: the desktop program. An FTP address on the command line connects at once.

#include <csignal>

#include <sys/socket.h>
#include <unistd.h>

#include <QApplication>
#include <QSocketNotifier>

#include "gui/MainForm.h"
#include "gui/dialogs/AboutDialog.h"
#include "gui/dialogs/SplashWindow.h"
#include "platform/Paths.h"
#include "platform/Translate.h"

namespace {

int g_signalPipe[2] = {-1, -1};

void onSignal(int)
{
    char byte = 1;
    [[maybe_unused]] ssize_t written = ::write(g_signalPipe[1], &byte, 1);
}

// SIGTERM and SIGINT (a session that logs out, a terminal's Ctrl+C) end the program as closing
// its window does, without the question: the settings and the unfinished transfers are kept.
void endCleanlyOnSignals(TMainForm& window)
{
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, g_signalPipe) != 0)
        return;
    auto* notifier = new QSocketNotifier(g_signalPipe[0], QSocketNotifier::Read, &window);
    QObject::connect(notifier, &QSocketNotifier::activated, &window, [&window] {
        char byte;
        [[maybe_unused]] ssize_t got = ::read(g_signalPipe[0], &byte, 1);
        window.CloseWithoutQuestion();
    });
    struct sigaction action = {};
    action.sa_handler = onSignal;
    ::sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName(kProgramName);
    QApplication::setApplicationVersion(kProgramVersion);
    QApplication::setDesktopFileName("org.quillftp.QuillFtp");
    platform::LoadTranslations(platform::shippedFilesDirectory() + "translations");
    QStringList arguments = QApplication::arguments();
    std::string address = arguments.size() > 1 ? arguments[1].toStdString() : std::string();

    TMainForm window(platform::dataDirectory(), platform::shippedFilesDirectory());
    endCleanlyOnSignals(window);
    StartWithSplash(window, address);
    return application.exec();
}
