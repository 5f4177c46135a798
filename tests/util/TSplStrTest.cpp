#include "util/TSplStr.h"

#include <gtest/gtest.h>

namespace norvale {
namespace {

struct TSplitCase {
    std::string text;
    std::vector<std::string> fields;
};

TEST(TSplStrTest, SplitKeepsEveryField) {
    const std::vector<TSplitCase> cases = {
        {"a,,b", {"a", "", "b"}},
        {"a,b,", {"a", "b", ""}},
        {"", {""}},
        {"abc", {"abc"}},
        {",", {"", ""}},
        {"\"x,y\",z", {"\"x", "y\"", "z"}},  // quotes are ordinary characters
        {"example.com,05/31/2008,x,y", {"example.com", "05/31/2008", "x", "y"}},
    };
    for (const auto& c : cases) {
        std::vector<std::string> target;
        TSplStr::Split(',', c.text, target);
        EXPECT_EQ(target, c.fields) << "text: " << c.text;
    }
}

TEST(TSplStrTest, SplitAppendsWithoutClearing) {
    std::vector<std::string> target{"kept"};
    TSplStr::Split(',', "a,b", target);
    EXPECT_EQ(target, (std::vector<std::string>{"kept", "a", "b"}));
}

TEST(TSplStrTest, ReplaceAllLeftToRightWithoutRescanning) {
    struct TCase {
        std::string text, pattern, replacement, expected;
    };
    const std::vector<TCase> cases = {
        {"&find && seek", "&", "", "find  seek"},
        {"aaa", "aa", "b", "ba"},    // no overlaps
        {"abc", "b", "bb", "abbc"},  // the replacement is not searched again
        {"abc", "x", "y", "abc"},
        {"", "a", "b", ""},
        {"ABC", "b", "x", "ABC"},     // case-sensitive
        {"abc", "", "x", "abc"},      // an empty pattern would match forever: nothing replaced
        {"a&&", "&", "&&", "a&&&&"},  // a replacement holding the pattern
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TSplStr::ReplaceAll(c.text, c.pattern, c.replacement), c.expected) << c.text;
    }
}

}  // namespace
}  // namespace norvale
