#pragma once

// A notice on the desktop through the freedesktop notification service, over the session
// D-Bus. It is sent without waiting for an answer; with no session bus or no service it goes
// nowhere, and nothing else happens.

#include <QString>

void SendDesktopNotice(const QString& summary, const QString& body);
