#include "app/TerminalText.h"

#include <cstdio>

namespace {

std::string escaped(const std::string& text, bool keepLineBreaks)
{
    std::string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        char code[8];
        if (c == '\n' && keepLineBreaks) {
            out += '\n';
        } else if (c == '\\') {
            out += "\\\\";
        } else if (c < 0x20 || c == 0x7f) {
            std::snprintf(code, sizeof code, "\\x%02x", c);
            out += code;
        } else if (c == 0xc2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
                   static_cast<unsigned char>(text[i + 1]) <= 0x9f) {
            std::snprintf(code, sizeof code, "\\u%04x", static_cast<unsigned char>(text[++i]));
            out += code;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

} // namespace

std::string EscapeControls(const std::string& text)
{
    return escaped(text, false);
}

std::string TerminalText(const std::string& text)
{
    std::string lines = text;
    for (char& c : lines)
        if (c == '\r')
            c = '\n';
    return escaped(lines, true);
}

std::string AddressWithoutPassword(const std::string& address)
{
    size_t scheme = address.find("://");
    size_t start = scheme == std::string::npos ? 0 : scheme + 3;
    size_t pathStart = address.find('/', start);
    size_t at = address.rfind('@', pathStart == std::string::npos ? std::string::npos : pathStart);
    if (at == std::string::npos || at < start)
        return address;
    size_t colon = address.find(':', start);
    if (colon == std::string::npos || colon > at)
        return address;
    return address.substr(0, colon) + address.substr(at);
}
