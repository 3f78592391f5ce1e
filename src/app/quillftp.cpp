// quillftp: the desktop program. An FTP address on the command line connects at once.

#include <QApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QProcess>
#include <QUrl>

#include "gui/MainForm.h"
#include "platform/Paths.h"

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    QApplication::setApplicationName("QuillFTP");
    QApplication::setApplicationVersion("2.3");
    QApplication::setDesktopFileName("quillftp");
    QStringList arguments = QApplication::arguments();
    std::string address = arguments.size() > 1 ? arguments[1].toStdString() : std::string();

    TMainForm window(platform::dataDirectory(), platform::programDirectory());
    window.OnShellCommand = [&window](const QString& command) {
        if (command == "NewSession") {
            QProcess::startDetached(QApplication::applicationFilePath(), {});
            return;
        }
        QMessageBox::information(&window, "QuillFTP", command + " opens in a later version of QuillFTP.");
    };
    window.Start(address);
    return application.exec();
}
