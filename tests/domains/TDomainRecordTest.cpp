#include "domains/TDomainRecord.h"

#include <gtest/gtest.h>

#include "domains/TDomainTable.h"
#include "util/ENorvaleError.h"

namespace norvale {
namespace {

using namespace std::string_literals;

TEST(TDomainRecordTest, StoredTextsAreCutToTheirWidthAndEndAtAZeroByte) {
    struct TCase {
        TDomainField field;
        std::string given;
        std::string kept;
    };
    const std::string longName = std::string(255, 'n') + std::string(45, 'x');
    const TCase cases[] = {
        {TDomainField::Domain, longName, std::string(255, 'n')},
        {TDomainField::Domain, std::string(255, 'n'), std::string(255, 'n')},
        {TDomainField::Dom, "abcdefghijkl", "abcdefghij"},
        {TDomainField::Dom, "co.uk", "co.uk"},
        {TDomainField::ExDate, "05/31/2008 extra text", "05/31/2008 e"},
        {TDomainField::ExDate, "123456789012", "123456789012"},
        {TDomainField::Domain, "ab\0cd"s, "ab"},
        {TDomainField::Dom, "\0com"s, ""},
        {TDomainField::ExDate, "", ""},
        {TDomainField::Domain, "caf\xe9\xff", "caf\xe9\xff"},  // every other byte is kept
    };
    for (const auto& c : cases) {
        // Through the setters of a pending record and through AppendRecord alike.
        TDomainTable table;
        table.Open();
        table.Append();
        table.SetText(c.field, c.given);
        table.Post();
        TDomainRecord record;
        (c.field == TDomainField::Domain ? record.Domain
         : c.field == TDomainField::Dom  ? record.Dom
                                         : record.ExDate) = c.given;
        table.AppendRecord(record);
        table.First();
        EXPECT_EQ(table.Text(c.field), c.kept) << DomainFieldName(c.field) << " " << c.given.size();
        table.Next();
        EXPECT_EQ(table.Text(c.field), c.kept) << DomainFieldName(c.field) << " " << c.given.size();
    }
}

TEST(TDomainRecordTest, FieldsAreFoundByNameIgnoringCase) {
    struct TCase {
        const char* name;
        std::optional<TDomainField> field;
    };
    const TCase cases[] = {
        {"Domain", TDomainField::Domain},
        {"domain", TDomainField::Domain},
        {"DOMAIN", TDomainField::Domain},
        {"dOM", TDomainField::Dom},
        {"exdate", TDomainField::ExDate},
        {"SIZE", TDomainField::Size},
        {"Dom ", std::nullopt},
        {"Domains", std::nullopt},
        {"", std::nullopt},
        {"Ex Date", std::nullopt},
    };
    for (const auto& c : cases) EXPECT_EQ(FindDomainField(c.name), c.field) << c.name;
}

TEST(TDomainRecordTest, FieldsAreSetAndReadByName) {
    TDomainTable table;
    table.Open();
    table.Append();
    table.SetFieldText("domain", "example");
    table.SetFieldText("DOM", "co.uk");
    table.SetFieldText("ExDate", "05/31/2008");
    table.SetFieldText("size", "7");
    table.Post();
    EXPECT_EQ(table.CurrentRecord(), (TDomainRecord{"example", "co.uk", "05/31/2008", 7}));
    EXPECT_EQ(table.FieldText("EXDATE"), "05/31/2008");

    table.Append();
    EXPECT_THROW(table.SetFieldText("Name", "x"), ENorvaleError);
    try {
        table.SetFieldText("Size", "12a");
        ADD_FAILURE() << "no error";
    } catch (const ENorvaleError& e) {
        EXPECT_STREQ(e.what(), "'12a' is not a valid integer value");
    }
    EXPECT_THROW(table.SetText(TDomainField::Size, "99999999999"), ENorvaleError);
    table.SetText(TDomainField::Size, "-2147483648");
    table.Post();
    EXPECT_EQ(table.Size(), INT32_MIN);
    EXPECT_THROW(table.FieldText("nope"), ENorvaleError);
}

}  // namespace
}  // namespace norvale
