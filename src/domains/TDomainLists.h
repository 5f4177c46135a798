#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "domains/TDataFolder.h"
#include "domains/TDomainTable.h"

namespace norvale {

// Tab indexes of the page control, which decide the list a command works on.
enum TListTab : int { kTabMatch = 0, kTabFull = 1, kTabDrafts = 2 };

// The three lists and their files in the data folder.
class TDomainLists {
public:
    static constexpr const char* kFullListFile = "dlist.dat";
    static constexpr const char* kMatchListFile = "mlist.dat";
    static constexpr const char* kDraftListFile = "draft.dat";

    explicit TDomainLists(const TDataFolder& folder);

    TDomainTable kbmMain;       // the match list
    TDomainTable kbmMemTable1;  // the full list
    TDomainTable kbmDraft;      // the draft list

    // Opens the three tables (empty) and loads each list file that exists. Each list
    // is guarded on its own: a file that cannot be read or is damaged leaves its list
    // empty, is kept aside under another name (so a later save cannot destroy it), and
    // its message is returned; the other lists still load.
    std::vector<std::string> LoadDomainLists();

    // dlist.dat then mlist.dat, then compacts both. Stops at the first failure (the
    // error names the file); a failed file keeps its previous content.
    void SaveDomainLists();
    void SaveDraftList();

    TDomainTable& ForTab(int tab);
    // "Found N domains" for what the tab's table yields.
    std::string DomainCountText(int tab);
    static std::string FoundDomainsText(std::size_t count);

    const TDataFolder& Folder() const { return folder_; }

private:
    std::string LoadOne(TDomainTable& table, const char* fileName);

    TDataFolder folder_;
};

}  // namespace norvale
