#include "rules/TRule.h"

namespace norvale {

const std::array<const char*, kRuleColumnCount> kRuleColumnCaptions = {
    "contains", "exclude", "no dashes", "no digits", "length", "com",    "net",   "org",
    "info",     "biz",     "ca",        "us",        "co.uk",  "org.uk", "me.uk"};

const std::array<const char*, 10> kExtensionList = {"com", "net", "org",   "info",   "biz",
                                                    "ca",  "us",  "co.uk", "org.uk", "me.uk"};

}  // namespace norvale
