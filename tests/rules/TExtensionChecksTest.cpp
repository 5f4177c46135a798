// The extension check marks in the settings store: the listing order decides.
#include <gtest/gtest.h>

#include "support/TTempDir.h"
#include "rules/TExtensionChecks.h"
#include "util/TRegistry.h"
#include "util/TSettingsStore.h"

namespace norvale {
namespace {

TEST(ExtensionChecks, SavedMarksComeBack) {
    test::TTempDir dir;
    TSettingsStore store(dir.File("registry.reg"));
    TRegistry registry(store);
    const std::array<bool, 10> marks{true, false, true, false, false, true, true, false, false, true};
    SaveExtensionChecks(registry, marks);

    TSettingsStore again(dir.File("registry.reg"));
    TRegistry reader(again);
    const TExtensionCheckLoad load = LoadExtensionChecks(reader);
    ASSERT_FALSE(load.noValues);
    for (std::size_t i = 0; i < marks.size(); ++i) EXPECT_EQ(load.marks[i], std::optional<bool>(marks[i])) << i;
    EXPECT_EQ(again.ValueNames("Software\\Norvale"),
              (std::vector<std::string>{"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"}));
}

TEST(ExtensionChecks, NoValuesMeansFirstRun) {
    test::TTempDir dir;
    TSettingsStore store(dir.File("registry.reg"));
    store.CreateKey("Software\\Norvale\\Skins");  // sub-keys are not values
    TRegistry registry(store);
    EXPECT_TRUE(LoadExtensionChecks(registry).noValues);
}

TEST(ExtensionChecks, PositionInTheListingDecidesNotTheName) {
    test::TTempDir dir;
    TSettingsStore store(dir.File("registry.reg"));
    TRegistry registry(store);
    registry.OpenKey("Software\\Norvale", true);
    registry.WriteInteger("5", 1);          // position 0: com
    registry.WriteInteger("TfrmMain", 1);   // position 1 is passed over
    registry.WriteString("x", "1");         // position 2: not a number, ignored
    registry.WriteInteger("0", 0);          // position 3: info
    registry.WriteInteger("y", 7);          // position 4: biz, not 1
    registry.CloseKey();

    const TExtensionCheckLoad load = LoadExtensionChecks(registry);
    ASSERT_FALSE(load.noValues);
    EXPECT_EQ(load.marks[0], std::optional<bool>(true));
    EXPECT_EQ(load.marks[1], std::nullopt);
    EXPECT_EQ(load.marks[2], std::nullopt);
    EXPECT_EQ(load.marks[3], std::optional<bool>(false));
    EXPECT_EQ(load.marks[4], std::optional<bool>(false));
    EXPECT_EQ(load.marks[5], std::nullopt);
}

}  // namespace
}  // namespace norvale
