#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "domains/TDomainTable.h"
#include "rules/TActiveRules.h"

namespace norvale {

// Records between two progress reports of a run over a list.
constexpr std::size_t kProgressStep = 3000;

// "Processing rules..." followed by the 1-based record number.
std::string ProcessingRulesText(std::size_t recordNumber);

// Apply Rules over the full list: walks every row the table yields, in its current
// order, and builds a new match list aside from the records that pass. progress, if
// given, is called after every kProgressStep records with the 1-based number of the
// record just tested. The table's cursor does not move, so views bound to it stay put.
// A matcher error leaves the run; the caller's match list is then untouched, since only
// the caller swaps the result in.
TDomainTable ApplyRules(const TDomainTable& fullList, const TActiveRules& rules,
                        const std::function<void(std::size_t)>& progress = {});

}  // namespace norvale
