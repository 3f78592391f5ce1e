#include "platform/Keyring.h"
#include "platform/Translate.h"

using platform::Fill;
using platform::Tr;

#include <QEventLoop>
#include <qt6keychain/keychain.h>

namespace platform {

namespace {

const char* const kService = "QuillFtp";

// Starts a job and waits for it to finish.
void Run(QKeychain::Job& job, const std::string& key)
{
    job.setAutoDelete(false);
    job.setInsecureFallback(false); // never a plain-text file in its place
    job.setKey(QString::fromStdString(key));
    QEventLoop loop;
    QObject::connect(&job, &QKeychain::Job::finished, &loop, &QEventLoop::quit);
    job.start();
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

std::string Why(const QKeychain::Job& job)
{
    std::string text = job.errorString().toStdString();
    return text.empty() ? Tr("Keyring", "the keyring refused it") : text;
}

class TDesktopKeyring : public IPasswordStore
{
public:
    TFound Read(const std::string& key, std::string& password, std::string& why) override
    {
        QKeychain::ReadPasswordJob job(kService);
        Run(job, key);
        if (job.error() == QKeychain::NoError) {
            password = job.textData().toStdString();
            return TFound::Yes;
        }
        if (job.error() == QKeychain::EntryNotFound)
            return TFound::No;
        why = Why(job);
        return TFound::Unreachable;
    }

    bool Write(const std::string& key, const std::string& password, std::string& why) override
    {
        QKeychain::WritePasswordJob job(kService);
        job.setTextData(QString::fromStdString(password));
        Run(job, key);
        if (job.error() == QKeychain::NoError)
            return true;
        why = Why(job);
        return false;
    }

    bool Remove(const std::string& key, std::string& why) override
    {
        QKeychain::DeletePasswordJob job(kService);
        Run(job, key);
        if (job.error() == QKeychain::NoError || job.error() == QKeychain::EntryNotFound)
            return true;
        why = Why(job);
        return false;
    }
};

} // namespace

std::string KeyringUnreachable(const std::string& why)
{
    return Fill(Tr("Keyring", "The desktop's keyring cannot be reached (%1)"), {why});
}

std::unique_ptr<IPasswordStore> DesktopKeyring()
{
    return std::make_unique<TDesktopKeyring>();
}

} // namespace platform
