#pragma once

// Rows of the main window's panes by name, for tests: a name that is not there fails the test
// instead of selecting nothing (or indexing past the rows).

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ui/MainWindow.h"

namespace testsupport {

// The remote row with this name; -1 when there is none.
inline int remoteRow(const TfmMain& window, const std::string& name)
{
    const auto& rows = window.RemoteEntries();
    for (size_t i = 0; i < rows.size(); ++i)
        if (rows[i].Name == name)
            return static_cast<int>(i);
    return -1;
}

// Selects these remote rows and nothing else; a name that is not there fails the test.
inline void selectRemote(TfmMain& window, const std::vector<std::string>& names)
{
    for (const std::string& name : names)
        if (remoteRow(window, name) < 0)
            ADD_FAILURE() << "no remote row " << name;
    window.SelectRemoteNames(names);
}

// Selects these local rows and nothing else.
inline void selectLocal(TfmMain& window, const std::vector<std::string>& names)
{
    window.Local().Refresh();
    for (const std::string& name : names) {
        bool found = false;
        for (const TlvFileInfo& row : window.Local().Entries())
            found = found || row.Name == name;
        if (!found)
            ADD_FAILURE() << "no local row " << name;
    }
    window.Local().SelectNames(names);
}

} // namespace testsupport
