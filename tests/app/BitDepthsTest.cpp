// The depth set: only the table's depths, deepest first when asked, and each
// depth's flag at its own settings byte.
#include "common/BitDepths.h"
#include "app/SettingsFile.h"

#include <gtest/gtest.h>

#include <set>

using namespace vv;

TEST(BitDepths, SetHoldsTheTablesDepthsAndNothingElse) {
    DepthSet set{16, 3, 2, 0, 32};
    EXPECT_EQ(set, (DepthSet{2, 16}));
    EXPECT_FALSE(set.contains(3));
    EXPECT_EQ(set.deepestOr(0), 16);
    set.set(16, false);
    set.set(7); // not a depth: nothing changes
    EXPECT_EQ(set.deepestOr(0), 2);
    set.set(2, false);
    EXPECT_TRUE(set.isEmpty());
    EXPECT_EQ(set.deepestOr(kFallbackBitDepth), kFallbackBitDepth);
}

TEST(BitDepths, EachDepthIsOneFlagByteOfTheSettingsFile) {
    std::set<int> offsets;
    for (const BitDepthRow& row : kBitDepthRows) {
        SCOPED_TRACE(row.bpp);
        EXPECT_TRUE(offsets.insert(row.settingsOffset).second);
        EXPECT_LT(row.settingsOffset, SettingsOffset::LanguageIndex);
        EXPECT_NE(row.settingsOffset, SettingsOffset::Compress);
        SettingsRecord record;
        record.depths = {row.bpp};
        const QByteArray bytes = encodeSettings(record);
        for (const BitDepthRow& other : kBitDepthRows)
            EXPECT_EQ(bytes[other.settingsOffset], other.bpp == row.bpp ? 1 : 0) << other.bpp;
    }
}
