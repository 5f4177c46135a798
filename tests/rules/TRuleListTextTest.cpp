// The copy text shared by Ctrl+C in the rule list and "rules list".
#include <gtest/gtest.h>

#include "rules/TRuleListText.h"

namespace norvale {
namespace {

TEST(RuleListText, CaptionLineWithTrailingTabsThenOneLinePerRule) {
    const TRuleList rules{TRule{"*a*", {"x", "No"}, true}, TRule{"", {}, false}};
    EXPECT_EQ(RuleListText(rules),
              "contains\texclude\tno dashes\tno digits\tlength\tcom\tnet\torg\tinfo\tbiz\tca\tus\tco.uk\torg.uk\tme.uk\t"
              "\r\n*a*\tx\tNo\r\n\r\n");
}

}  // namespace
}  // namespace norvale
