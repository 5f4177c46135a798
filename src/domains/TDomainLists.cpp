#include "domains/TDomainLists.h"

#include "domains/TDomainListFile.h"
#include "util/TFileIO.h"

namespace norvale {

TDomainLists::TDomainLists(const TDataFolder& folder) : folder_(folder) {}

std::string TDomainLists::LoadOne(TDomainTable& table, const char* fileName) {
    table.Open();
    const std::string path = folder_.FilePath(fileName);
    if (!FileExists(path)) return {};
    try {
        TDomainListFile::Load(table, path);
    } catch (const EDamagedListFile& e) {
        const std::string aside = KeepAside(path);
        std::string message = e.what();
        if (!aside.empty()) message += " It was kept as \"" + aside + "\".";
        return message + " The list starts empty.";
    } catch (const ENorvaleError& e) {
        return std::string(e.what()) + " The list starts empty.";
    }
    return {};
}

std::vector<std::string> TDomainLists::LoadDomainLists() {
    std::vector<std::string> problems;
    for (auto [table, file] : {std::pair{&kbmMemTable1, kFullListFile}, std::pair{&kbmMain, kMatchListFile},
                               std::pair{&kbmDraft, kDraftListFile}}) {
        std::string problem = LoadOne(*table, file);
        if (!problem.empty()) problems.push_back(std::move(problem));
    }
    return problems;
}

void TDomainLists::SaveDomainLists() {
    TDomainListFile::Save(kbmMemTable1, folder_.FilePath(kFullListFile));
    TDomainListFile::Save(kbmMain, folder_.FilePath(kMatchListFile));
    kbmMemTable1.Compact();
    kbmMain.Compact();
}

void TDomainLists::SaveDraftList() { TDomainListFile::Save(kbmDraft, folder_.FilePath(kDraftListFile)); }

TDomainTable& TDomainLists::ForTab(int tab) {
    switch (tab) {
        case kTabFull: return kbmMemTable1;
        case kTabDrafts: return kbmDraft;
        default: return kbmMain;
    }
}

std::string TDomainLists::DomainCountText(int tab) { return FoundDomainsText(ForTab(tab).RecordCount()); }

std::string TDomainLists::FoundDomainsText(std::size_t count) {
    return "Found " + std::to_string(count) + " domains";
}

}  // namespace norvale
