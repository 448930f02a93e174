// The dot font: every printable character has a glyph of its own, and the rest share the block.
#include "notices/LedFont.h"

#include <gtest/gtest.h>
#include <set>

using namespace xr;

TEST(LedFont, PrintableCharactersHaveDistinctVisibleGlyphs)
{
    std::set<LedGlyph> seen;
    for (int code = 33; code <= 126; ++code) {
        const LedGlyph& glyph = ledGlyph(static_cast<unsigned char>(code));
        EXPECT_TRUE(seen.insert(glyph).second) << "same glyph as another character: " << code;
        EXPECT_NE(glyph, ledGlyph(' ')) << code;
        EXPECT_NE(glyph, ledGlyph(kLedBlockCode)) << code;
        for (const std::uint8_t column : glyph)
            EXPECT_EQ(column & 1, 0) << "bit 0 is not a row: " << code;
    }
}

TEST(LedFont, CodesOutsideThePrintableRangeShowTheBlock)
{
    const LedGlyph block{0x00, 0x7C, 0x7C, 0x7C, 0x00};
    for (const int code : {0, 9, 31, 127, 128, 0xD6, 255})
        EXPECT_EQ(ledGlyph(static_cast<unsigned char>(code)), block) << code;
}
