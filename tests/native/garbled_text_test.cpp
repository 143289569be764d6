// Repair of text shifted by half a double-byte character, with code page 936.
#include "notes/garbled_text.h"

#include <gtest/gtest.h>

#include "tests/native/fake_code_page.h"
#include "tests/native/iconv_code_page.h"

using garbled::Outcome;
using garbled::RepairSelection;

namespace {

const IconvGbkCodePage kGbk;

// "中文测试" in GBK is D6D0 CEC4 B2E2 CAD4. A stray B0 in front makes the
// pairs B0D6 D0CE C4B2 E2CA D441 (the 41 is the 'A' that follows).
std::u16string Garbled() { return kGbk.ToUtf16("\xB0\xD6\xD0\xCE\xC4\xB2\xE2\xCA\xD4\x41"); }

}  // namespace

TEST(GarbledRepair, ShiftedTextIsNotTheOriginal)
{
    std::u16string g = Garbled();
    EXPECT_EQ(g.size(), 5u);
    EXPECT_EQ(g.find(u"中文"), std::u16string::npos);
}

TEST(GarbledRepair, LeadByteFirstBecomesASpace)
{
    garbled::Repair r = RepairSelection(Garbled(), kGbk);
    ASSERT_EQ(r.outcome, Outcome::Repaired);
    EXPECT_TRUE(r.text == u" 中文测试A");
}

TEST(GarbledRepair, AsciiBeforeTheGarbleIsKeptAndTheLeadByteDropped)
{
    garbled::Repair r = RepairSelection(u"ab" + Garbled(), kGbk);
    ASSERT_EQ(r.outcome, Outcome::Repaired);
    EXPECT_TRUE(r.text == u"ab中文测试A");
}

TEST(GarbledRepair, PlainAsciiHasNoLeadByte)
{
    EXPECT_EQ(RepairSelection(u"hello, world", kGbk).outcome, Outcome::NoLeadByte);
}

TEST(GarbledRepair, EmptySelectionIsRefused)
{
    EXPECT_EQ(RepairSelection(u"", kGbk).outcome, Outcome::EmptySelection);
}

TEST(GarbledRepair, CharacterOutsideTheCodePageComesBackAsDefault)
{
    // U+0E01 (Thai) has no GBK form: it becomes '?', the garble after it is repaired.
    garbled::Repair r = RepairSelection(u"\u0E01" + Garbled(), kGbk);
    ASSERT_EQ(r.outcome, Outcome::Repaired);
    EXPECT_TRUE(r.text == u"?中文测试A");
}

TEST(GarbledRepair, SingleByteCodePageAlwaysSaysNoLeadByte)
{
    class Latin : public FakeGbkCodePage {
        bool IsLeadByte(unsigned char) const override { return false; }
    } latin;
    EXPECT_EQ(RepairSelection(u"中文", latin).outcome, Outcome::NoLeadByte);
}

TEST(GarbledRepair, LoneLeadByteAtTheEnd)
{
    // The selection ends in a character whose first byte is a lead byte:
    // dropping it leaves the ASCII text before.
    garbled::Repair r = RepairSelection(u"xy" + kGbk.ToUtf16("\xD6\xD0"), kGbk);
    ASSERT_EQ(r.outcome, Outcome::Repaired);
    EXPECT_TRUE(r.text == u"xy?");
}
