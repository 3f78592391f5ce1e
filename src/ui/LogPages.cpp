#include "ui/LogPages.h"

#include <algorithm>
#include <cctype>

void TLogPages::CreateLogPages(int count)
{
    m_pages.clear();
    m_pages.resize(static_cast<size_t>(std::max(count, 0)));
}

void TLogPages::ResizeLogPages(int newCount)
{
    m_pages.resize(static_cast<size_t>(std::max(newCount, 0)));
}

void TLogPages::SetLineLimit(size_t limit)
{
    m_limit = std::max<size_t>(limit, 1);
    for (int page = 0; page < Count(); ++page)
        Trim(page);
}

TLogColour LineColour(const std::string& line)
{
    if (line[0] == '>')
        return TLogColour::Command;
    if (line[0] != '<')
        return TLogColour::Message;
    // "< 550 ...", "< 421-...": a transient or permanent refusal.
    size_t code = line.find_first_not_of(' ', 1);
    bool refused = code != std::string::npos && line.size() >= code + 3 && (line[code] == '4' || line[code] == '5') &&
                   std::isdigit(static_cast<unsigned char>(line[code + 1])) &&
                   std::isdigit(static_cast<unsigned char>(line[code + 2]));
    return refused ? TLogColour::Refusal : TLogColour::Reply;
}

bool TLogPages::ShowLogLine(int connection, const std::string& msg)
{
    // The client's "! " notes stay: they carry the reasons of failures.
    if (msg.empty() || connection < 0 || connection >= Count())
        return false;
    TLogColour colour = LineColour(msg);
    // The password never shows, whatever it is.
    std::string text = msg.rfind("> PASS", 0) == 0 ? "> PASS ********" : msg;
    Page& page = m_pages[static_cast<size_t>(connection)];
    page.Lines.push_back({std::move(text), colour});
    ++page.Appended;
    Trim(connection);
    Changed(connection);
    return true;
}

void TLogPages::Trim(int index)
{
    Page& page = m_pages[static_cast<size_t>(index)];
    while (page.Lines.size() > m_limit) {
        page.Lines.pop_front();
        // A line added and dropped before anyone was told is no news at all.
        if (page.Appended > page.Lines.size())
            --page.Appended;
        else
            ++page.Dropped;
        Changed(index);
    }
}

void TLogPages::Changed(int /*page*/)
{
    if (m_flushPosted || !OnLinesChanged)
        return;
    m_flushPosted = true;
    m_posted.post([this] { Flush(); });
}

void TLogPages::Flush()
{
    m_flushPosted = false;
    for (int index = 0; index < Count(); ++index) {
        Page& page = m_pages[static_cast<size_t>(index)];
        if (page.Dropped == 0 && page.Appended == 0)
            continue;
        size_t dropped = page.Dropped;
        size_t appended = page.Appended;
        page.Dropped = page.Appended = 0;
        if (OnLinesChanged)
            OnLinesChanged(index, dropped, appended);
    }
}

const std::deque<TLogLine>& TLogPages::Lines(int page) const
{
    static const std::deque<TLogLine> kNone;
    return page >= 0 && page < Count() ? m_pages[static_cast<size_t>(page)].Lines : kNone;
}

std::string TLogPages::AllText(int page) const
{
    std::string text;
    for (const TLogLine& line : Lines(page))
        text += line.Text + "\n";
    return text;
}

void TLogPages::Clear(int index)
{
    if (index < 0 || index >= Count())
        return;
    Page& page = m_pages[static_cast<size_t>(index)];
    // What nobody was told of goes untold; what was told goes as dropped.
    page.Dropped += page.Lines.size() - std::min(page.Appended, page.Lines.size());
    page.Appended = 0;
    page.Lines.clear();
    Changed(index);
}

void TLogPages::ClearAll()
{
    for (int page = 0; page < Count(); ++page)
        Clear(page);
}
