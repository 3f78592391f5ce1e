#pragma once

// The log pages of the connections, one per connection: what ShowLogLine keeps, drops and
// masks, and the copy and clear commands. The GUI shows the lines; this holds them.

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

enum class TLogColour
{
    Command, // "> ..." sent to the server: red
    Reply,   // "< ..." from the server: green
    Message  // the program's own messages: blue
};

struct TLogLine
{
    std::string Text;
    TLogColour Colour;
};

class TLogPages
{
public:
    // Called after a page's lines changed (a line appended, the page cleared).
    std::function<void(int page)> OnPageChanged;

    void CreateLogPages(int count);
    void ResizeLogPages(int newCount);
    int Count() const { return static_cast<int>(m_pages.size()); }

    // Appends a line to a connection's page: empty lines are dropped, a PASS command is masked.
    // False when nothing was appended.
    bool ShowLogLine(int connection, const std::string& msg);

    const std::vector<TLogLine>& Lines(int page) const;
    // The page's text, one line after the other, for "Copy All".
    std::string AllText(int page) const;
    void Clear(int page);
    void ClearAll();

private:
    std::vector<std::vector<TLogLine>> m_pages;
};
