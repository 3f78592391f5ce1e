#include "support/CliRunner.h"

#include <QElapsedTimer>

namespace testsupport {

void CliRunner::start(QProcess& process, const QStringList& arguments)
{
    process.setWorkingDirectory(QString::fromStdString(local()));
    QProcessEnvironment environment = m_environment;
    for (const char* name : {"LANGUAGE", "LC_ALL", "LC_MESSAGES"})
        environment.remove(name);
    environment.insert("LANG", m_language);
    process.setProcessEnvironment(environment);
    process.start(QUILLFTP_CLI, QStringList{"--data-dir", m_data.path()} + arguments);
}

CliResult CliRunner::run(const QStringList& arguments, int timeoutMs, std::function<void()> setup)
{
    QProcess process;
    if (setup)
        process.setChildProcessModifier(setup);
    QElapsedTimer clock;
    clock.start();
    start(process, arguments);
    process.write(m_input.data(), static_cast<qint64>(m_input.size()));
    process.closeWriteChannel();
    CliResult result;
    if (!process.waitForFinished(timeoutMs)) {
        process.kill();
        process.waitForFinished();
    }
    result.milliseconds = clock.elapsed();
    result.status = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.out = process.readAllStandardOutput().toStdString();
    result.err = process.readAllStandardError().toStdString();
    return result;
}

} // namespace testsupport
