#include "rules/TApplyRun.h"

namespace norvale {

std::string ProcessingRulesText(std::size_t recordNumber) {
    return "Processing rules..." + std::to_string(recordNumber);
}

TDomainTable ApplyRules(const TDomainTable& fullList, const TActiveRules& rules,
                        const std::function<void(std::size_t)>& progress) {
    TDomainTable built;
    built.Open();
    const std::size_t count = fullList.RecordCount();
    std::size_t counter = 0;
    for (std::size_t row = 0; row < count; ++row) {
        const TDomainTable::TRecordId id = fullList.RecordAtRow(row);
        const std::string_view name = fullList.TextOf(id, TDomainField::Domain);
        const std::string_view dom = fullList.TextOf(id, TDomainField::Dom);
        if (rules.MatchesRules(name, dom))
            built.AppendRecord(name, dom, fullList.TextOf(id, TDomainField::ExDate), fullList.SizeOf(id));
        if (++counter == kProgressStep) {
            counter = 0;
            if (progress) progress(row + 1);
        }
    }
    return built;
}

}  // namespace norvale
