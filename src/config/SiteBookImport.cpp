#include "config/SiteBook.h"

// Site lists of two other FTP clients: an ini-style file of groups and sites, and a text list
// of labelled lines.

#include "config/IniFile.h"
#include "config/Settings.h"
#include "platform/AtomicFile.h"
#include "platform/TextLines.h"

void TSiteBook::ImportLeapFtpSites(const std::string& file)
{
    IniFile ini(file);
    for (int group = 1;; ++group) {
        std::string groupName = ini.ReadString("_Groups_", "g" + std::to_string(group), "");
        if (groupName.empty())
            break;
        std::string className = groupName;
        if (!AddClassUnique(className))
            continue; // the book is full, or the user gave up this group
        // The group's sites are listed under the name the file gives it.
        std::string groupSection = "_" + groupName + "_";
        for (int number = 1;; ++number) {
            std::string siteKey = ini.ReadString(groupSection, "s" + std::to_string(number), "");
            if (siteKey.empty())
                break;
            TNewSite site;
            site.Name = siteKey;
            site.Host = ini.ReadString(siteKey, "IP", "");
            site.Port = ini.ReadString(siteKey, "Port", "21");
            site.User = ini.ReadString(siteKey, "User", "anonymous");
            site.Pass = ini.ReadString(siteKey, "Pass", TSettings::kDefaultAnonymousEmail);
            for (int line = 1;; ++line) {
                std::string comment = ini.ReadString(siteKey, "n" + std::to_string(line), "");
                if (comment.empty())
                    break;
                site.Comments += '\r' + comment;
            }
            AddSiteUnique(className, site);
        }
    }
    ReportCuts();
}

void TSiteBook::ImportCuteFtpList(const std::string& file)
{
    std::string className;
    if (!m_prompt.InputQuery("New class name", "name = ", className))
        return;
    if (!AddClassUnique(className))
        return;
    std::string text;
    platform::readWholeFile(file, text);

    TNewSite current;
    auto fresh = [](const std::string& name) {
        return TNewSite{name, "", "21", "anonymous", TSettings::kDefaultAnonymousEmail, ""};
    };
    auto afterLabel = [](const std::string& line, const std::string& label, std::string& value) {
        if (line.find(label) == std::string::npos)
            return false;
        // Taken from the position after the label's length: the label starts the line there.
        value = line.size() > label.size() ? line.substr(label.size()) : "";
        return true;
    };
    for (const std::string& line : platform::SplitLines(text)) {
        std::string value;
        if (afterLabel(line, "Site Label: ", value)) {
            if (!current.Name.empty())
                AddSiteUnique(className, current);
            current = fresh(value);
        }
        if (afterLabel(line, "HostName: ", value))
            current.Host = value;
        if (afterLabel(line, "User Name: ", value))
            current.User = value;
        if (afterLabel(line, "Password: ", value))
            current.Pass = value;
        if (afterLabel(line, "Port: ", value))
            current.Port = value;
        if (afterLabel(line, "Comments: ", value))
            current.Comments = value;
    }
    if (!current.Name.empty())
        AddSiteUnique(className, current);
    ReportCuts();
}
