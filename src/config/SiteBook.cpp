#include "config/SiteBook.h"

#include <algorithm>
#include <functional>

#include "platform/AtomicFile.h"
#include "platform/Translate.h"

using platform::Fill;
using platform::Tr;

using Layout = TSiteBookTables;

TSiteBook::TSiteBook(std::string path, ISiteBookPrompt& prompt) : m_path(std::move(path)), m_prompt(prompt) {}

std::string TSiteBook::BackupPath() const
{
    size_t slash = m_path.rfind('/');
    std::string directory = slash == std::string::npos ? "" : m_path.substr(0, slash + 1);
    return directory + "book20_.dat";
}

// ---------------------------------------------------------------- the file

void TSiteBook::LoadSiteBook()
{
    std::string bytes;
    platform::readWholeFile(m_path, bytes); // a missing file is an empty book
    Tables.Load(bytes);
    Classes.clear();
    Selected = {};
    int record = 1;
    for (int entry = 1; entry <= Layout::kMaxClasses; ++entry) {
        std::string name = Tables.ClassName(entry);
        if (name.empty())
            break;
        ClassNode node{name, {}};
        // Records out of this order, or of a class that does not exist, are not shown.
        while (record <= Layout::kMaxSites && Tables.ClassNumber(record) == entry) {
            node.Sites.push_back(Tables.Text(record, Layout::kName));
            ++record;
        }
        Classes.push_back(std::move(node));
    }
    m_keyringKeys.clear();
    if (!Passwords)
        return;
    for (int record : SiteRecords())
        m_keyringKeys.insert(PasswordKey(record));
    // A password the file does not hold comes from the keyring.
    for (int record : SiteRecords()) {
        if (!Tables.Text(record, Layout::kPassword).empty())
            continue;
        std::string password, why;
        auto found = Passwords->Read(PasswordKey(record), password, why);
        if (found == platform::IPasswordStore::TFound::Yes) {
            Tables.SetText(record, Layout::kPassword, password);
        } else if (found == platform::IPasswordStore::TFound::Unreachable) {
            m_prompt.ShowMessage(platform::KeyringUnreachable(why) +
                                 Tr("TSiteBook", ": the site book's passwords kept there are not at hand."));
            return;
        }
    }
}

bool TSiteBook::SaveSiteBook()
{
    if (!Passwords)
        return platform::writeFileAtomically(m_path, Tables.Bytes());
    // The passwords go to the keyring and the file keeps its layout with empty password
    // fields; when the keyring cannot take them all, the file keeps them all.
    TSiteBookTables file = Tables;
    if (std::string why; !StorePasswords(file, why)) {
        m_prompt.ShowMessage(platform::KeyringUnreachable(why) +
                             Tr("TSiteBook", ": the passwords stay in the site book's file."));
        return platform::writeFileAtomically(m_path, Tables.Bytes());
    }
    if (!platform::writeFileAtomically(m_path, file.Bytes()))
        return false;
    // The entries of sites renamed or deleted since the load name nothing any more.
    std::set<std::string> kept;
    for (int record : SiteRecords())
        kept.insert(PasswordKey(record));
    for (const std::string& key : m_keyringKeys)
        if (kept.count(key) == 0) {
            std::string ignored;
            Passwords->Remove(key, ignored);
        }
    m_keyringKeys = std::move(kept);
    return true;
}

bool TSiteBook::StorePasswords(TSiteBookTables& file, std::string& why)
{
    for (int record : SiteRecords()) {
        std::string password = Tables.Text(record, Layout::kPassword);
        if (password.empty())
            continue;
        if (!Passwords->Write(PasswordKey(record), password, why))
            return false;
        file.SetText(record, Layout::kPassword, "");
    }
    return true;
}

bool TSiteBook::MovePasswords(const std::string& path, ISiteBookPrompt& prompt, platform::IPasswordStore& keyring,
                              bool intoKeyring)
{
    TSiteBook book(path, prompt);
    std::string why;
    if (intoKeyring) {
        // Every password into the keyring first: the file forgets them only once it holds them.
        book.LoadSiteBook();
        book.Passwords = &keyring;
        TSiteBookTables file = book.Tables;
        if (!book.StorePasswords(file, why)) {
            prompt.ShowMessage(platform::KeyringUnreachable(why) +
                               Tr("TSiteBook", ": the passwords stay in the site book's file."));
            return false;
        }
        return platform::writeFileAtomically(path, file.Bytes());
    }
    // Out of the keyring: into the file first, then out of the keyring.
    book.Passwords = &keyring;
    book.LoadSiteBook();
    for (int record : book.SiteRecords()) {
        std::string password;
        if (book.Tables.Text(record, Layout::kPassword).empty() &&
            keyring.Read(book.PasswordKey(record), password, why) == platform::IPasswordStore::TFound::Unreachable)
            return false; // told by LoadSiteBook; they stay in the keyring
    }
    if (!platform::writeFileAtomically(path, book.Tables.Bytes()))
        return false;
    for (int record : book.SiteRecords())
        keyring.Remove(book.PasswordKey(record), why);
    return true;
}

std::vector<int> TSiteBook::SiteRecords() const
{
    std::vector<int> records;
    for (int record = 1; record <= Layout::kMaxSites && Tables.ClassNumber(record) != 0; ++record)
        records.push_back(record);
    return records;
}

std::string TSiteBook::PasswordKey(int record) const
{
    return "site-book/" + Tables.ClassName(Tables.ClassNumber(record)) + "/" + Tables.Text(record, Layout::kName);
}

void TSiteBook::RebuildSiteTables()
{
    const Layout old = Tables;
    Tables.Clear();
    SelectedRecord = 0;
    int record = 0;
    for (size_t classIndex = 0; classIndex < Classes.size() && classIndex < Layout::kMaxClasses; ++classIndex) {
        ClassNode& node = Classes[classIndex];
        int entry = static_cast<int>(classIndex) + 1;
        Tables.SetClassName(entry, node.Name);
        for (size_t siteIndex = 0; siteIndex < node.Sites.size() && record < Layout::kMaxSites; ++siteIndex) {
            ++record;
            std::string& site = node.Sites[siteIndex];
            Tables.SetClassNumber(record, entry);
            Tables.SetText(record, Layout::kName, site);
            // The site's data: the first old record of that name in a class of the same name.
            for (int oldRecord = 1; oldRecord <= Layout::kMaxSites && old.ClassNumber(oldRecord) != 0; ++oldRecord) {
                std::string oldClass = old.ClassName(old.ClassNumber(oldRecord));
                if (old.Text(oldRecord, Layout::kName) != site || oldClass != node.Name)
                    continue;
                Tables.CopyRecord(record, old, oldRecord);
                Tables.SetClassNumber(record, entry);
                break;
            }
            if (Rename.kind == PendingRename::Kind::Site && site == Rename.oldName && node.Name == Rename.className) {
                Tables.SetText(record, Layout::kName, Rename.newName);
                site = Layout::Fit(Rename.newName, Layout::kName.width);
                Rename = {};
            }
            if (Selected.classIndex == static_cast<int>(classIndex) &&
                Selected.siteIndex == static_cast<int>(siteIndex))
                SelectedRecord = record;
        }
        if (Rename.kind == PendingRename::Kind::Class && node.Name == Rename.oldName) {
            Tables.SetClassName(entry, Rename.newName);
            node.Name = Layout::Fit(Rename.newName, Layout::kClassEntrySize);
            Rename = {};
        }
    }
}

// ---------------------------------------------------------------- finding and adding

int TSiteBook::FindClass(const std::string& name) const
{
    for (size_t i = 0; i < Classes.size(); ++i)
        if (Classes[i].Name == name)
            return static_cast<int>(i);
    return -1;
}

bool TSiteBook::FindSite(const std::string& className, const std::string& siteName) const
{
    int index = FindClass(className);
    if (index < 0)
        return false;
    const auto& sites = Classes[static_cast<size_t>(index)].Sites;
    return std::find(sites.begin(), sites.end(), siteName) != sites.end();
}

int TSiteBook::SiteCount() const
{
    int count = 0;
    for (const ClassNode& node : Classes)
        count += static_cast<int>(node.Sites.size());
    return count;
}

std::string TSiteBook::AskForFreeName(const std::string& caption, std::string name,
                                      const std::function<bool(const std::string&)>& taken, bool& cancelled)
{
    cancelled = false;
    while (taken(name)) {
        std::string answer = name;
        // Cancel gives up the addition: asking again forever would leave no way out.
        if (!m_prompt.InputQuery(caption, Tr("TSiteBook", "Old = ") + name, answer)) {
            cancelled = true;
            return name;
        }
        name = Layout::Fit(answer, Layout::kName.width);
    }
    return name;
}

bool TSiteBook::AddClassUnique(std::string& name)
{
    if (static_cast<int>(Classes.size()) >= Layout::kMaxClasses) {
        m_prompt.ShowMessage(
            Fill(Tr("TSiteBook", "The site book is full: it holds at most 50 classes. \"%1\" was not added."), {name}));
        return false;
    }
    NoteCut(Tr("TSiteBook", "Class name"), name, Layout::kClassEntrySize);
    bool cancelled = false;
    name = AskForFreeName(
        Tr("TSiteBook", "Duplicate Class Name"), Layout::Fit(name, Layout::kClassEntrySize),
        [this](const std::string& candidate) { return FindClass(candidate) >= 0; }, cancelled);
    if (cancelled)
        return false;
    Classes.push_back({name, {}});
    RebuildSiteTables();
    SaveSiteBook();
    return true;
}

bool TSiteBook::AddSiteUnique(const std::string& className, TNewSite site)
{
    int classIndex = FindClass(className);
    if (classIndex < 0)
        return false;
    if (SiteCount() >= Layout::kMaxSites) {
        m_prompt.ShowMessage(Fill(
            Tr("TSiteBook", "The site book is full: it holds at most 500 sites. \"%1\" was not added."), {site.Name}));
        return false;
    }
    NoteCut(Tr("TSiteBook", "Site name"), site.Name, Layout::kName.width);
    NoteCut(site.Name + Tr("TSiteBook", ": host"), site.Host, Layout::kHost.width);
    NoteCut(site.Name + Tr("TSiteBook", ": port"), site.Port, Layout::kPort.width);
    NoteCut(site.Name + Tr("TSiteBook", ": user"), site.User, Layout::kUser.width);
    NoteCut(site.Name + Tr("TSiteBook", ": password"), site.Pass, Layout::kPassword.width);
    NoteCut(site.Name + Tr("TSiteBook", ": description"), site.Comments, Layout::kDescription.width);
    auto& sites = Classes[static_cast<size_t>(classIndex)].Sites;
    bool cancelled = false;
    site.Name = AskForFreeName(
        Tr("TSiteBook", "Duplicate Site Name"), Layout::Fit(site.Name, Layout::kName.width),
        [&sites](const std::string& candidate) {
            return std::find(sites.begin(), sites.end(), candidate) != sites.end();
        },
        cancelled);
    if (cancelled)
        return false;
    sites.push_back(site.Name);
    Selected = {classIndex, static_cast<int>(sites.size()) - 1};
    RebuildSiteTables();
    if (SelectedRecord != 0) {
        Tables.SetText(SelectedRecord, Layout::kHost, site.Host);
        Tables.SetText(SelectedRecord, Layout::kPort, site.Port);
        Tables.SetText(SelectedRecord, Layout::kUser, site.User);
        Tables.SetText(SelectedRecord, Layout::kPassword, site.Pass);
        Tables.SetText(SelectedRecord, Layout::kDescription, site.Comments);
        SaveSiteBook();
    }
    return true;
}

// ---------------------------------------------------------------- limits

void TSiteBook::NoteCut(const std::string& what, const std::string& original, int width)
{
    if (original.size() > static_cast<size_t>(width - 1))
        m_cutNotes.push_back(Fill(Tr("TSiteBook", "%1 cut to %2 characters"), {what, std::to_string(width - 1)}));
}

std::vector<std::string> TSiteBook::TakeCutNotes()
{
    std::vector<std::string> notes;
    notes.swap(m_cutNotes);
    return notes;
}

void TSiteBook::ReportCuts()
{
    std::vector<std::string> notes = TakeCutNotes();
    if (notes.empty())
        return;
    std::string text = Tr("TSiteBook", "Some texts were too long for the site book and were cut:");
    for (size_t i = 0; i < notes.size() && i < 10; ++i)
        text += "\n" + notes[i];
    if (notes.size() > 10)
        text += "\n" + Fill(Tr("TSiteBook", "(and %1 more)"), {std::to_string(notes.size() - 10)});
    m_prompt.ShowMessage(text);
}

// ---------------------------------------------------------------- backup

void TSiteBook::BackupSiteBook()
{
    platform::copyFileAtomically(m_path, BackupPath());
}

void TSiteBook::RestoreSiteBook()
{
    platform::copyFileAtomically(BackupPath(), m_path);
    LoadSiteBook();
}
