#pragma once

// The site book: classes of FTP sites kept in book20.dat. The tables hold the file as it is;
// the tree (classes and their sites, by name) is what the site manager shows and changes.
// After every change the tables are derived again from the tree and the whole file is written.

#include <functional>
#include <set>
#include <string>
#include <vector>

#include "config/SiteBookTables.h"
#include "platform/Keyring.h"

// A site to add, from an import or from the current connection.
struct TNewSite
{
    std::string Name;
    std::string Host;
    std::string Port;
    std::string User;
    std::string Pass;
    std::string Comments;
};

// What the site book asks of the user; the GUI shows dialogs, tests script the answers.
class ISiteBookPrompt
{
public:
    virtual ~ISiteBookPrompt() = default;
    // A one-line input box: false when cancelled; value holds the initial and the final text.
    virtual bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) = 0;
    virtual void ShowMessage(const std::string& text) = 0;
};

class TSiteBook
{
public:
    struct ClassNode
    {
        std::string Name;
        std::vector<std::string> Sites;
    };
    // A node of the tree: a class, or a site of it (site -1 for the class itself).
    struct NodeRef
    {
        int classIndex = -1;
        int siteIndex = -1;
    };
    // A rename the next RebuildSiteTables applies on its way.
    struct PendingRename
    {
        enum class Kind
        {
            None,
            Site,
            Class
        };
        Kind kind = Kind::None;
        std::string oldName;
        std::string newName;
        std::string className; // the class of a renamed site
    };

    TSiteBook(std::string path, ISiteBookPrompt& prompt);

    // book20.dat and its backup book20_.dat in the same directory.
    const std::string& Path() const { return m_path; }
    std::string BackupPath() const;

    void LoadSiteBook();
    // False when the file could not be written (the old one stays).
    bool SaveSiteBook();
    // Where the passwords go instead of the file (the desktop's keyring); null: in the file,
    // as always. A keyring that cannot be reached keeps them in the file, and says so.
    platform::IPasswordStore* Passwords = nullptr;
    // Turns the keyring on or off for the book at path: the passwords move from one place to
    // the other (read from the old one, written to the new one, then taken out of the old one).
    // False, with the prompt told why, when they could not move: then they stay where they were.
    static bool MovePasswords(const std::string& path, ISiteBookPrompt& prompt, platform::IPasswordStore& keyring,
                              bool intoKeyring);
    void RebuildSiteTables();

    int FindClass(const std::string& name) const; // index in Classes, or -1
    bool FindSite(const std::string& className, const std::string& siteName) const;
    // False when the book is full or the user cancelled; name may be changed to a free one.
    bool AddClassUnique(std::string& name);
    bool AddSiteUnique(const std::string& className, TNewSite site);

    void ImportLeapFtpSites(const std::string& file);
    void ImportCuteFtpList(const std::string& file);
    void BackupSiteBook();
    void RestoreSiteBook();

    int SiteCount() const;
    // Texts cut to fit their fields since the last call, one line each.
    std::vector<std::string> TakeCutNotes();

    std::vector<ClassNode> Classes;
    NodeRef Selected;
    int SelectedRecord = 0; // record of the selected site after RebuildSiteTables, 0 if none
    PendingRename Rename;
    TSiteBookTables Tables;

private:
    std::string AskForFreeName(const std::string& caption, std::string name,
                               const std::function<bool(const std::string&)>& taken, bool& cancelled);
    void NoteCut(const std::string& what, const std::string& original, int width);
    void ReportCuts();
    // The passwords into Passwords, taken out of file (a copy of the tables); false with why when
    // the keyring did not take one.
    bool StorePasswords(TSiteBookTables& file, std::string& why);
    // The keyring's name of a record's password.
    std::string PasswordKey(int record) const;
    // The keyring's names of every site's password as loaded or last saved: a site renamed or
    // deleted since leaves its old name here, and the save takes that entry out of the keyring.
    std::set<std::string> m_keyringKeys;
    // Records holding a site, in order.
    std::vector<int> SiteRecords() const;

    std::string m_path;
    ISiteBookPrompt& m_prompt;
    std::vector<std::string> m_cutNotes;
};
