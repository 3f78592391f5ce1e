#include "ui/LogPages.h"

void TLogPages::CreateLogPages(int count)
{
    m_pages.assign(static_cast<size_t>(std::max(count, 0)), {});
}

void TLogPages::ResizeLogPages(int newCount)
{
    m_pages.resize(static_cast<size_t>(std::max(newCount, 0)));
}

bool TLogPages::ShowLogLine(int connection, const std::string& msg)
{
    // The client's "! " notes stay: they carry the reasons of failures.
    if (msg.empty() || connection < 0 || connection >= Count())
        return false;
    TLogColour colour = msg[0] == '>' ? TLogColour::Command : msg[0] == '<' ? TLogColour::Reply : TLogColour::Message;
    // The password never shows, whatever it is.
    std::string text = msg.rfind("> PASS", 0) == 0 ? "> PASS ********" : msg;
    m_pages[static_cast<size_t>(connection)].push_back({text, colour});
    if (OnPageChanged)
        OnPageChanged(connection);
    return true;
}

const std::vector<TLogLine>& TLogPages::Lines(int page) const
{
    static const std::vector<TLogLine> kNone;
    return page >= 0 && page < Count() ? m_pages[static_cast<size_t>(page)] : kNone;
}

std::string TLogPages::AllText(int page) const
{
    std::string text;
    for (const TLogLine& line : Lines(page))
        text += line.Text + "\n";
    return text;
}

void TLogPages::Clear(int page)
{
    if (page < 0 || page >= Count())
        return;
    m_pages[static_cast<size_t>(page)].clear();
    if (OnPageChanged)
        OnPageChanged(page);
}

void TLogPages::ClearAll()
{
    for (int page = 0; page < Count(); ++page)
        Clear(page);
}
