#include <gtest/gtest.h>

#include <string>

#include "support/TTempDir.h"
#include "support/TZipBuilder.h"
#include "update/TListArchive.h"

namespace norvale {
namespace {

using test::TTempDir;
using test::TZipBuilder;

const std::string kList = "example.com,05/31/2008\r\nexample.net,05/31/2008\r\n";

std::string ErrorOf(const std::string& path, std::uint64_t cap = kMaxListMemberBytes) {
    try {
        ReadListMember(path, cap);
    } catch (const EListArchiveError& e) {
        return e.what();
    }
    return "no error";
}

TEST(ListArchive, ReadsTheMemberAmongOthers) {
    TTempDir dir;
    TZipBuilder().Add("readme.txt", "hello").Add(kListMemberName, kList).WriteTo(dir.File("a.zip"));
    EXPECT_EQ(ReadListMember(dir.File("a.zip")).View(), kList);
    TZipBuilder().Add(kListMemberName, kList, /*stored=*/true).WriteTo(dir.File("b.zip"));
    EXPECT_EQ(ReadListMember(dir.File("b.zip")).View(), kList);
}

TEST(ListArchive, MissingMemberIsAnError) {
    TTempDir dir;
    TZipBuilder()
        .Add("PoolDeletingDomainsList.csv", kList)
        .Add("pooldeletingdomainslist.txt", kList)
        .WriteTo(dir.File("a.zip"));
    EXPECT_EQ(ErrorOf(dir.File("a.zip")),
              "The archive \"" + dir.File("a.zip") + "\" holds no PoolDeletingDomainsList.txt.");
    TZipBuilder().WriteTo(dir.File("empty.zip"));
    EXPECT_NE(ErrorOf(dir.File("empty.zip")).find("holds no"), std::string::npos);
}

TEST(ListArchive, DamagedArchivesAreRefused) {
    TTempDir dir;
    const std::string good = TZipBuilder().Add(kListMemberName, kList).Bytes();
    dir.Write("html.zip", "<html>Not Found</html>");
    dir.Write("cut.zip", good.substr(0, good.size() - 30));
    dir.Write("none.zip", "");
    for (const char* name : {"html.zip", "cut.zip", "none.zip", "missing.zip"}) {
        const std::string message = ErrorOf(dir.File(name));
        EXPECT_EQ(message.rfind("\"" + dir.File(name) + "\" is not a readable zip archive: ", 0),
                  0u)
            << message;
    }
}

TEST(ListArchive, CrcErrorIsRefused) {
    TTempDir dir;
    const std::string content(5000, 'x');
    std::string bytes = TZipBuilder().Add(kListMemberName, content, /*stored=*/true).Bytes();
    const std::size_t at = bytes.find(content);
    ASSERT_NE(at, std::string::npos);
    bytes[at + 2500] = 'y';
    dir.Write("crc.zip", bytes);
    const std::string message = ErrorOf(dir.File("crc.zip"));
    EXPECT_NE(message.find("is damaged: CRC error"), std::string::npos) << message;
}

TEST(ListArchive, MemberOverTheCapIsRefused) {
    TTempDir dir;
    TZipBuilder().Add(kListMemberName, std::string(4096, 'a')).WriteTo(dir.File("big.zip"));
    EXPECT_EQ(ErrorOf(dir.File("big.zip"), 4095),
              "PoolDeletingDomainsList.txt in \"" + dir.File("big.zip") +
                  "\" is larger than 4095 bytes; the list was not imported.");
    EXPECT_EQ(ReadListMember(dir.File("big.zip"), 4096).size(), 4096u);
}

TEST(ListArchive, MemberLargerThanDeclaredIsCutAtTheCap) {
    // The archive declares 100 bytes, the data inflates to 300 000: the cap must hold
    // on what arrives, not on what the header says.
    TTempDir dir;
    const std::string content(300000, 'a');
    std::string bytes = TZipBuilder().Add(kListMemberName, content).Bytes();
    const std::uint32_t real = 300000;
    const std::string realLe{char(real & 0xff), char((real >> 8) & 0xff), char((real >> 16) & 0xff),
                             char(real >> 24)};
    const std::string fake{char(100), 0, 0, 0};
    for (std::size_t at = bytes.find(realLe); at != std::string::npos;
         at = bytes.find(realLe, at + 4))
        bytes.replace(at, 4, fake);
    dir.Write("liar.zip", bytes);
    const std::string message = ErrorOf(dir.File("liar.zip"), 200000);
    EXPECT_NE(message.find("is larger than 200000 bytes"), std::string::npos) << message;
}

TEST(ListArchive, ListFileIsAZipOrTheTextItself) {
    TTempDir dir;
    dir.Write("list.txt", kList);
    TZipBuilder().Add(kListMemberName, kList).WriteTo(dir.File("list.zip"));
    EXPECT_EQ(ReadListFile(dir.File("list.txt")).View(), kList);
    EXPECT_EQ(ReadListFile(dir.File("list.zip")).View(), kList);
    dir.Write("empty.txt", "");
    EXPECT_EQ(ReadListFile(dir.File("empty.txt")).View(), "");
    dir.Write("big.txt", std::string(5000, 'a'));
    EXPECT_THROW(ReadListFile(dir.File("big.txt"), 4999), EFileError);
    EXPECT_EQ(ReadListFile(dir.File("big.txt"), 5000).size(), 5000u);
    EXPECT_THROW(ReadListFile(dir.File("nothing.txt")), EFileError);
}

}  // namespace
}  // namespace norvale
