// Build step: writes the shipped default site book, empty but for one example class.
//   make_default_book OUTPUT

#include <iostream>

#include "config/SiteBook.h"

namespace {

class NoPrompt : public ISiteBookPrompt
{
public:
    bool InputQuery(const std::string&, const std::string&, std::string&) override { return false; }
    void ShowMessage(const std::string& text) override { std::cerr << text << "\n"; }
};

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 2) {
        std::cerr << "usage: make_default_book OUTPUT\n";
        return 2;
    }
    NoPrompt prompt;
    TSiteBook book(argv[1], prompt);
    std::string name = "My Sites";
    return book.AddClassUnique(name) && book.SaveSiteBook() ? 0 : 1;
}
