#include "support/SystemUser.h"

#include <QProcess>

#include <unistd.h>

namespace testsupport {

namespace {

bool runQuietly(const QString& program, const QStringList& arguments, const QByteArray& input = {})
{
    QProcess process;
    process.start(program, arguments);
    if (!input.isEmpty())
        process.write(input);
    process.closeWriteChannel();
    return process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

} // namespace

bool SystemUser::create(const std::string& prefix, const std::string& shell, const std::string& home)
{
    if (::geteuid() != 0)
        return false;
    m_name = prefix + std::to_string(::getpid());
    m_password = "pw" + std::to_string(::getpid());
    if (!runQuietly("useradd", {"-M", "-d", QString::fromStdString(home), "-s", QString::fromStdString(shell),
                                QString::fromStdString(m_name)}))
        return false;
    m_created = true;
    return runQuietly("chpasswd", {}, QByteArray::fromStdString(m_name + ":" + m_password + "\n"));
}

void SystemUser::remove()
{
    if (m_created)
        runQuietly("userdel", {QString::fromStdString(m_name)});
    m_created = false;
}

} // namespace testsupport
