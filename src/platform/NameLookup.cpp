#include "platform/NameLookup.h"

#include <map>
#include <memory>

#include <netdb.h>

#include <QHostAddress>
#include <QHostInfo>
#include <QObject>

namespace platform {
namespace {

struct PendingLookup
{
    LookupCallback callback; // emptied when the lookup is cancelled or done
    std::unique_ptr<QObject> context;
};

// Lookups by id, so that cancelLookup() can find them; only touched on the main thread.
std::map<int, std::shared_ptr<PendingLookup>>& pendingById()
{
    static std::map<int, std::shared_ptr<PendingLookup>> lookups;
    return lookups;
}

int toResolverError(QHostInfo::HostInfoError error)
{
    switch (error) {
    case QHostInfo::NoError:
        return 0;
    case QHostInfo::HostNotFound:
        return EAI_NONAME;
    default:
        return EAI_FAIL;
    }
}

LookupResult toResult(const QHostInfo& info, const QString& asked, bool reverse)
{
    LookupResult result;
    result.error = toResolverError(info.error());
    for (const QHostAddress& address : info.addresses())
        if (address.protocol() == QAbstractSocket::IPv4Protocol)
            result.addresses.push_back(address.toString().toStdString());
    if (reverse) {
        // Qt hands back the address itself when no name was found for it.
        if (result.error == 0 && (info.hostName().isEmpty() || info.hostName() == asked))
            result.error = EAI_NONAME;
        if (result.error == 0)
            result.hostName = info.hostName().toStdString();
    } else if (result.error == 0 && result.addresses.empty()) {
        result.error = EAI_NODATA; // the name exists but has no IPv4 address
    }
    return result;
}

int start(const QString& name, bool reverse, LookupCallback callback)
{
    auto lookup = std::make_shared<PendingLookup>();
    lookup->callback = std::move(callback);
    lookup->context = std::make_unique<QObject>();
    QObject* receiver = lookup->context.get();
    int id = QHostInfo::lookupHost(name, receiver, [lookup, name, reverse](const QHostInfo& info) {
        pendingById().erase(info.lookupId());
        LookupCallback callback = std::move(lookup->callback);
        lookup->callback = nullptr;
        // This lambda runs on behalf of the context object: delete it only afterwards.
        lookup->context.release()->deleteLater();
        if (callback)
            callback(toResult(info, name, reverse));
    });
    pendingById()[id] = lookup;
    return id;
}

} // namespace

int lookupHost(const std::string& hostName, LookupCallback callback)
{
    return start(QString::fromStdString(hostName), false, std::move(callback));
}

int lookupAddress(const std::string& address, LookupCallback callback)
{
    return start(QString::fromStdString(address), true, std::move(callback));
}

void cancelLookup(int id)
{
    auto found = pendingById().find(id);
    if (found == pendingById().end())
        return;
    // The resolver thread cannot be interrupted: its result still arrives, finds no callback
    // and is dropped. (Aborting the lookup, or deleting its receiver, leaks Qt's pending result.)
    found->second->callback = nullptr;
    pendingById().erase(found);
}

} // namespace platform
