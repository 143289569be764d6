// The page's find and replace without a window: search with wrap-around,
// occurrence counts, the visit count, and Replace All against a literal
// model of the replace-then-search loop.
#include "notes/find_replace.h"
#include "tests/native/replace_loop_model.h"

#include <gtest/gtest.h>

#include <random>

using namespace findtext;

namespace {

const ExactComparer kExact;
const NoCaseComparer kNoCase;

Selection Sel(size_t s, size_t e) { return Selection{s, e}; }
Selection Caret(size_t p) { return Selection{p, p}; }

}  // namespace

// ---- Counting ------------------------------------------------------------------

TEST(FindCount, AdjacentOccurrencesCountTwice)
{
    EXPECT_EQ(CountOccurrences(u"abab", u"ab", kExact), 2u);
}

TEST(FindCount, OverlappingOccurrencesDoNotOverlap)
{
    EXPECT_EQ(CountOccurrences(u"aaaa", u"aa", kExact), 2u);
    EXPECT_EQ(CountOccurrences(u"aaa", u"aa", kExact), 1u);
}

TEST(FindCount, EmptyOrTooLongFindCountsZero)
{
    EXPECT_EQ(CountOccurrences(u"abc", u"", kExact), 0u);
    EXPECT_EQ(CountOccurrences(u"abc", u"abcd", kExact), 0u);
    EXPECT_EQ(CountOccurrences(u"", u"a", kExact), 0u);
}

TEST(FindCount, CaseRuleFollowsTheComparer)
{
    EXPECT_EQ(CountOccurrences(u"Ab aB ab", u"ab", kExact), 1u);
    EXPECT_EQ(CountOccurrences(u"Ab aB ab", u"ab", kNoCase), 3u);
}

TEST(FindCount, MatchAtTheVeryEnd)
{
    EXPECT_EQ(CountOccurrences(u"xxab", u"ab", kExact), 1u);
}

// ---- Search down ---------------------------------------------------------------

TEST(FindSearchDown, FromCaretFindsTheNextMatch)
{
    EXPECT_EQ(Search(u"ab ab ab", Caret(1), u"ab", true, kExact), 3u);
}

TEST(FindSearchDown, AtACaretOnAMatchFindsThatMatch)
{
    EXPECT_EQ(Search(u"ab ab", Caret(3), u"ab", true, kExact), 3u);
}

TEST(FindSearchDown, SelectedMatchMovesOnByOne)
{
    EXPECT_EQ(Search(u"ab ab", Sel(0, 2), u"ab", true, kExact), 3u);
    // Overlapping occurrences are each visited.
    EXPECT_EQ(Search(u"aaa", Sel(0, 2), u"aa", true, kExact), 1u);
}

TEST(FindSearchDown, SelectionThatIsNotAMatchSearchesFromItsStart)
{
    EXPECT_EQ(Search(u"abab", Sel(0, 3), u"ab", true, kExact), 0u);
}

TEST(FindSearchDown, WrapsAroundOnceFromTheLastMatch)
{
    EXPECT_EQ(Search(u"ab ab ab", Sel(6, 8), u"ab", true, kExact), 0u);
}

TEST(FindSearchDown, NothingAnywhereFails)
{
    EXPECT_EQ(Search(u"abc", Caret(0), u"x", true, kExact), npos);
    EXPECT_EQ(Search(u"", Caret(0), u"x", true, kExact), npos);
}

TEST(FindSearchDown, EmptyFindNeverMatches)
{
    EXPECT_EQ(Search(u"abc", Caret(0), u"", true, kExact), npos);
}

TEST(FindSearchDown, FindLongerThanThePageFails)
{
    EXPECT_EQ(Search(u"ab", Caret(0), u"abc", true, kExact), npos);
    EXPECT_EQ(Search(u"ab", Caret(2), u"abc", false, kExact), npos);
}

TEST(FindSearchDown, CaseInsensitiveFindsOtherCase)
{
    EXPECT_EQ(Search(u"xx AB", Caret(0), u"ab", true, kNoCase), 3u);
    EXPECT_EQ(Search(u"xx AB", Caret(0), u"ab", true, kExact), npos);
}

// ---- Search up -----------------------------------------------------------------

TEST(FindSearchUp, FromPositionZeroFailsWithoutWrapping)
{
    EXPECT_EQ(Search(u"ab ab", Caret(0), u"ab", false, kExact), npos);
    EXPECT_EQ(Search(u"ab ab", Sel(0, 2), u"ab", false, kExact), npos);
}

TEST(FindSearchUp, FindsThePreviousMatch)
{
    EXPECT_EQ(Search(u"ab ab ab", Sel(6, 8), u"ab", false, kExact), 3u);
    EXPECT_EQ(Search(u"ab ab ab", Caret(8), u"ab", false, kExact), 6u);
}

TEST(FindSearchUp, StartNearTheEndMovesBackToWhereItFits)
{
    EXPECT_EQ(Search(u"xxab", Caret(4), u"ab", false, kExact), 2u);
}

TEST(FindSearchUp, WrapsToTheEnd)
{
    EXPECT_EQ(Search(u"xab ab", Caret(1), u"ab", false, kExact), 4u);
}

// ---- Visit count ---------------------------------------------------------------

TEST(FindSession, ThreeOccurrencesCompleteOnTheFourthFind)
{
    std::u16string text = u"ab ab ab";
    FindSession s;
    s.Restart();
    ASSERT_TRUE(s.NeedsCount(false, false));
    s.SetMatchCount(CountOccurrences(text, u"ab", kExact));
    Selection sel = Caret(0);
    std::vector<size_t> found;
    std::vector<bool> completed;
    for (int i = 0; i < 4; ++i) {
        size_t pos = Search(text, sel, u"ab", true, kExact);
        ASSERT_NE(pos, npos);
        sel = Sel(pos, pos + 2);
        found.push_back(pos);
        completed.push_back(s.Visit());
    }
    EXPECT_EQ(found, (std::vector<size_t>{0, 3, 6, 0}));
    EXPECT_EQ(completed, (std::vector<bool>{false, false, false, true}));
    EXPECT_EQ(s.VisitCount(), 0);
}

TEST(FindSession, CaseChangeRecountsDirectionChangeRestartsVisits)
{
    FindSession s;
    s.Restart();
    s.SetMatchCount(2);
    EXPECT_FALSE(s.NeedsCount(true, true));
    EXPECT_TRUE(s.NeedsCount(false, true));
    s.Visit();
    EXPECT_EQ(s.VisitCount(), 1);
    s.DirectionAsked(true, true);
    EXPECT_EQ(s.VisitCount(), 1);
    s.DirectionAsked(false, true);
    EXPECT_EQ(s.VisitCount(), 0);
}

TEST(FindSession, RestartForgetsFoundOnce)
{
    FindSession s;
    s.SetFoundOnce();
    EXPECT_TRUE(s.FoundOnce());
    s.Restart();
    EXPECT_FALSE(s.FoundOnce());
    EXPECT_EQ(s.MatchCount(), FindSession::kNotCounted);
}

// ---- Replace All ---------------------------------------------------------------

namespace {

void ExpectSame(const ReplaceAllResult& a, const ReplaceAllResult& b)
{
    EXPECT_EQ(a.found, b.found);
    EXPECT_TRUE(a.text == b.text);
    EXPECT_EQ(a.selection, b.selection);
    EXPECT_EQ(a.replacements, b.replacements);
    EXPECT_EQ(a.searches, b.searches);
}

}  // namespace

TEST(FindReplaceAll, ReplacementContainingTheFindStringReplacesEachOnce)
{
    ReplaceAllResult r = ReplaceAll(u"a-a-a", Caret(0), u"a", u"aa", kExact);
    EXPECT_TRUE(r.text == u"aa-aa-aa");
    EXPECT_EQ(r.replacements, 3u);
}

TEST(FindReplaceAll, StartInTheMiddleWrapsAround)
{
    ReplaceAllResult r = ReplaceAll(u"x1 x2 x3", Caret(4), u"x", u"yy", kExact);
    EXPECT_TRUE(r.text == u"yy1 yy2 yy3");
    // Round the end to the first, then on to the one before the start.
    EXPECT_EQ(r.selection, Caret(6));
}

TEST(FindReplaceAll, NothingFoundLeavesTheTextAndSelection)
{
    ReplaceAllResult r = ReplaceAll(u"abc", Sel(1, 2), u"x", u"y", kExact);
    EXPECT_FALSE(r.found);
    EXPECT_TRUE(r.text == u"abc");
    EXPECT_EQ(r.selection, Sel(1, 2));
}

TEST(FindReplaceAll, ReplaceByNothingRemovesEveryOccurrence)
{
    ReplaceAllResult r = ReplaceAll(u"a,b,,c", Caret(0), u",", u"", kExact);
    EXPECT_TRUE(r.text == u"abc");
}

TEST(FindReplaceAll, SelectionHoldingTheFindStringIsReplacedFirst)
{
    ReplaceAllResult r = ReplaceAll(u"ab ab", Sel(3, 5), u"ab", u"X", kExact);
    EXPECT_TRUE(r.text == u"X X");
    EXPECT_EQ(r.searches, 1u);
}

TEST(FindReplaceAll, NewOccurrencesFormedByReplacementFollowTheLoop)
{
    // "aab" -> replacing "ab" by "b" forms a new "ab" that the wrap finds.
    const std::u16string text = u"aab aab";
    ExpectSame(ReplaceAll(text, Caret(0), u"ab", u"b", kExact),
               LiteralReplaceAll(text, Caret(0), u"ab", u"b", kExact));
}

TEST(FindReplaceAll, MatchesTheLiteralLoopOnRandomTexts)
{
    std::mt19937 rng(20261210);
    const std::u16string alphabet = u"aAb-";
    auto randomString = [&](size_t maxLen, size_t minLen) {
        std::uniform_int_distribution<size_t> lenDist(minLen, maxLen);
        std::uniform_int_distribution<size_t> chDist(0, alphabet.size() - 1);
        std::u16string s(lenDist(rng), u' ');
        for (auto& c : s)
            c = alphabet[chDist(rng)];
        return s;
    };
    int replaced = 0;
    for (int round = 0; round < 20000; ++round) {
        std::u16string text = randomString(24, 0);
        std::u16string find = randomString(3, 1);
        std::u16string repl = randomString(5, 0);
        std::uniform_int_distribution<size_t> posDist(0, text.size());
        size_t a = posDist(rng), b = posDist(rng);
        Selection sel = Sel(std::min(a, b), std::max(a, b));
        // Selections that hold the find string exercise the direct start.
        if (round % 4 == 0) {
            size_t pos = text.find(find);
            if (pos != std::u16string::npos)
                sel = Sel(pos, pos + find.size());
        }
        const TextComparer& cmp = (round % 2) ? static_cast<const TextComparer&>(kNoCase) : kExact;
        ReplaceAllResult fast = ReplaceAll(text, sel, find, repl, cmp);
        ReplaceAllResult slow = LiteralReplaceAll(text, sel, find, repl, cmp);
        SCOPED_TRACE(::testing::Message() << "round " << round);
        ExpectSame(fast, slow);
        if (::testing::Test::HasFailure())
            break;
        replaced += fast.replacements > 0;
    }
    EXPECT_GT(replaced, 5000);
}

TEST(FindReplaceAll, BigPageInOnePass)
{
    // 50,000 occurrences in a 1,000,000-character page.
    std::u16string text;
    text.reserve(1000000);
    while (text.size() < 1000000)
        text += u"foo0123456789abcdefg";
    ReplaceAllResult r = ReplaceAll(text, Caret(0), u"foo", u"barbaz", kExact);
    EXPECT_EQ(r.replacements, 50000u);
    EXPECT_EQ(r.text.size(), 1000000u + 3u * 50000u);
}
