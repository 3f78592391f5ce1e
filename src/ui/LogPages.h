#pragma once

// The log pages of the connections, one per connection: what ShowLogLine keeps and masks, at
// most a set number of lines per page (the oldest go), and the copy and clear commands. The
// GUI shows the lines; this holds them.

#include <cstddef>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/EventLoop.h"

enum class TLogColour
{
    Command, // "> ..." sent to the server: red
    Reply,   // "< ..." from the server: green
    Refusal, // "< 4xx/5xx ...": the error colour, bold
    Message  // the program's own messages and notes: blue
};

struct TLogLine
{
    std::string Text;
    TLogColour Colour;
};

// The colour of a log line, by what it is.
TLogColour LineColour(const std::string& line);

class TLogPages
{
public:
    static constexpr size_t kDefaultLineLimit = 5000;

    // Called once per turn of the event loop for a page that changed: the lines dropped from its
    // front, then the lines appended at its end.
    std::function<void(int page, size_t dropped, size_t appended)> OnLinesChanged;

    explicit TLogPages(size_t lineLimit = kDefaultLineLimit) : m_limit(lineLimit) {}

    void CreateLogPages(int count);
    void ResizeLogPages(int newCount);
    int Count() const { return static_cast<int>(m_pages.size()); }
    // At most this many lines per page (at least 1); longer pages lose their oldest lines now.
    void SetLineLimit(size_t limit);
    size_t LineLimit() const { return m_limit; }

    // Appends a line to a connection's page: empty lines are dropped, a PASS command is masked.
    // False when nothing was appended.
    bool ShowLogLine(int connection, const std::string& msg);

    const std::deque<TLogLine>& Lines(int page) const;
    // The page's text, one line after the other, for "Copy All".
    std::string AllText(int page) const;
    void Clear(int page);
    void ClearAll();

private:
    struct Page
    {
        std::deque<TLogLine> Lines;
        size_t Dropped = 0; // not told yet
        size_t Appended = 0;
    };
    void Trim(int page);
    void Changed(int page);
    void Flush();

    std::vector<Page> m_pages;
    size_t m_limit;
    bool m_flushPosted = false;
    platform::PostTarget m_posted;
};
