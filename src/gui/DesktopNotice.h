#pragma once

// A notice on the desktop through the freedesktop notification service, over the session
// D-Bus. It is sent without waiting for an answer; with no session bus or no service it goes
// nowhere, and nothing else happens.

#include <QString>

void SendDesktopNotice(const QString& summary, const QString& body);

// The run's progress (0 to 1) on the program's dock or task-bar entry, where the desktop shows
// one (the launcher-entry signal that docks and task managers listen for); hidden when visible
// is false.
void ShowLauncherProgress(bool visible, double progress);
