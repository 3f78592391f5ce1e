#include "sync/SyncState.h"

#include <sys/stat.h>

#include <cinttypes>
#include <cstdio>
#include <set>
#include <sstream>

#include "platform/AtomicFile.h"
#include "sync/Compare.h"

TSyncFacts FactsOf(const TSyncTree& tree, const std::string& path)
{
    auto found = tree.Entries.find(path);
    if (found == tree.Entries.end())
        return {};
    const TSyncEntry& entry = found->second;
    return {true, entry.Directory, entry.Directory ? -1 : entry.Size, entry.Directory ? -1 : entry.Time};
}

bool Unchanged(const TSyncFacts& now, const TSyncFacts& then)
{
    if (now.Exists != then.Exists || (now.Exists && now.Directory != then.Directory))
        return false;
    return !now.Exists || now.Directory ||
           (now.Size == then.Size && (now.Time < 0 || then.Time < 0 || now.Time == then.Time));
}

void TSyncState::Update(const TSyncTree& here, const TSyncTree& there, const std::vector<std::string>& settled)
{
    std::set<std::string> moved(settled.begin(), settled.end());
    for (const TComparedName& row : CompareTrees(here, there)) {
        bool link =
            (row.Here >= 0 && here.Entries.at(row.Name).Link) || (row.There >= 0 && there.Entries.at(row.Name).Link);
        if (!link && (row.State == TCompared::Same || moved.count(row.Name) != 0))
            Paths[row.Name] = {FactsOf(here, row.Name), FactsOf(there, row.Name)};
    }
    // A path gone from both sides is forgotten.
    for (auto record = Paths.begin(); record != Paths.end();)
        if (here.Entries.count(record->first) == 0 && there.Entries.count(record->first) == 0)
            record = Paths.erase(record);
        else
            ++record;
}

namespace {

// The file's lines: a header naming the pair, then a path per line, its bytes escaped where
// they are "%", a tab, a line end or another control character.
std::string Escaped(const std::string& text)
{
    std::string out;
    for (unsigned char c : text) {
        if (c < 0x20 || c == '%' || c == 0x7f) {
            char hex[4];
            std::snprintf(hex, sizeof hex, "%%%02X", c);
            out += hex;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

std::string Unescaped(const std::string& text)
{
    std::string out;
    for (size_t k = 0; k < text.size(); ++k) {
        if (text[k] == '%' && k + 2 < text.size() && HexDigit(text[k + 1]) >= 0 && HexDigit(text[k + 2]) >= 0) {
            out += static_cast<char>(HexDigit(text[k + 1]) * 16 + HexDigit(text[k + 2]));
            k += 2;
        } else {
            out += text[k];
        }
    }
    return out;
}

std::string FactsText(const TSyncFacts& facts)
{
    if (!facts.Exists)
        return "-";
    if (facts.Directory)
        return "d";
    return "f " + std::to_string(facts.Size) + " " + std::to_string(facts.Time);
}

bool ReadFacts(std::istringstream& in, TSyncFacts& facts)
{
    std::string kind;
    if (!(in >> kind))
        return false;
    facts = {};
    if (kind == "-")
        return true;
    facts.Exists = true;
    facts.Directory = kind == "d";
    return facts.Directory || (kind == "f" && (in >> facts.Size >> facts.Time));
}

uint64_t Fnv1a(const std::string& text)
{
    uint64_t hash = 1469598103934665603ull;
    for (unsigned char c : text)
        hash = (hash ^ c) * 1099511628211ull;
    return hash;
}

const char* const kHeader = "QuillFtp synchronization state 1";

} // namespace

std::string SyncStatePath(const std::string& dataDir, const std::string& local, const std::string& remote)
{
    char name[32];
    std::snprintf(name, sizeof name, "%016" PRIx64 ".state", Fnv1a(local + '\n' + remote));
    return dataDir + "sync/" + name;
}

TSyncState LoadSyncState(const std::string& dataDir, const std::string& local, const std::string& remote)
{
    TSyncState state;
    state.Local = local;
    state.Remote = remote;
    std::string bytes;
    if (!platform::readWholeFile(SyncStatePath(dataDir, local, remote), bytes))
        return state;
    std::istringstream lines(bytes);
    std::string line;
    if (!std::getline(lines, line) || line != kHeader)
        return state;
    std::string localLine, remoteLine;
    // Another pair whose names hash alike: not this pair's state.
    if (!std::getline(lines, localLine) || !std::getline(lines, remoteLine) || Unescaped(localLine) != local ||
        Unescaped(remoteLine) != remote)
        return state;
    std::map<std::string, TSyncRecord> paths;
    while (std::getline(lines, line)) {
        size_t tab = line.find('\t');
        if (tab == std::string::npos)
            return state; // damaged: as if none was kept
        std::istringstream facts(line.substr(tab + 1));
        TSyncRecord record;
        if (!ReadFacts(facts, record.Here) || !ReadFacts(facts, record.There))
            return state;
        paths[Unescaped(line.substr(0, tab))] = record;
    }
    state.Paths = std::move(paths);
    return state;
}

bool SaveSyncState(const std::string& dataDir, const TSyncState& state)
{
    std::string text = std::string(kHeader) + "\n" + Escaped(state.Local) + "\n" + Escaped(state.Remote) + "\n";
    for (const auto& [path, record] : state.Paths)
        text += Escaped(path) + "\t" + FactsText(record.Here) + " " + FactsText(record.There) + "\n";
    ::mkdir((dataDir + "sync").c_str(), 0700);
    return platform::writeFileAtomically(SyncStatePath(dataDir, state.Local, state.Remote), text);
}
