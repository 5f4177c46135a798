#pragma once

#include "domains/TDataFolder.h"
#include "domains/TDomainLists.h"
#include "domains/TDomainTable.h"
#include "update/TListImport.h"

namespace norvale {

// Writes the full list to dlist.dat and the match list to mlist.dat as one step:
// afterwards either both files hold the new lists or, when anything failed, both hold
// exactly what they held before. Both new files are written completely under other
// names first; only then are they renamed into place, with the previous full list kept
// under a second name until the match list is in place too.
void CommitListFiles(const TDataFolder& folder, const TDomainTable& full,
                     const TDomainTable& match);

// A finished import replaces the lists: the files first (CommitListFiles), then the
// tables in memory, each keeping its sort and filter, compacted and on its first
// record. A cancelled result or a failed write leaves lists and files as they were.
void ReplaceDomainLists(TDomainLists& lists, TImportResult&& result);

}  // namespace norvale
