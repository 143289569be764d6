// The storage file's bytes <-> pages, including damaged and odd files.
#include <gtest/gtest.h>

#include <string>

#include "notes/storage_codec.h"
#include "tests/native/fake_code_page.h"

using storage::Page;

namespace {

const FakeGbkCodePage kAnsi;

std::string Utf16Bytes(std::u16string_view text, bool mark = true)
{
    std::string out = mark ? std::string("\xFF\xFE", 2) : std::string();
    for (char16_t c : text) {
        out += static_cast<char>(c & 0xFF);
        out += static_cast<char>(c >> 8);
    }
    return out;
}

const std::u16string kSep(storage::StorageSeparator());

std::vector<Page> Load(std::string_view bytes)
{
    return storage::ParseFile(bytes, kAnsi);
}

}  // namespace

TEST(StorageRoundTrip, PagesComeBackWithNamesOrderAndTexts)
{
    std::vector<Page> pages = {
        {u"日常", u"第一行\r\n第二行"},
        {u"读书 笔记", u""},   // inner space and empty text
        {u"工作", u"a\tb\r\n\r\n"},
        {u"空", u""},
    };
    std::string bytes = storage::Encode(pages, storage::Form::Storage);
    std::vector<Page> back = Load(bytes);
    ASSERT_EQ(back.size(), pages.size());
    for (size_t i = 0; i < pages.size(); ++i) {
        EXPECT_EQ(back[i].name, pages[i].name) << i;
        EXPECT_EQ(back[i].text, pages[i].text) << i;
    }
}

TEST(StorageRoundTrip, EncodedBytesAreExactlyTheDocumentedLayout)
{
    std::string bytes = storage::Encode({{u"A", u"x"}, {u"B", u""}}, storage::Form::Storage);
    std::string expected = Utf16Bytes(kSep + u"A\r\nx" + kSep + u"B\r\n");
    EXPECT_EQ(bytes, expected);
}

TEST(StorageRoundTrip, ExportFormRepeatsEqualsSeparatorAfterTheName)
{
    std::string bytes = storage::Encode({{u"A", u"x"}, {u"B", u"y"}}, storage::Form::Export);
    std::u16string eq = u"============";
    EXPECT_EQ(bytes, Utf16Bytes(eq + u"A" + eq + u"\r\nx" + eq + u"B" + eq + u"\r\ny"));
}

TEST(StorageRoundTrip, SurrogatesAndLoneSurrogatesSurviveUnchanged)
{
    std::u16string text = u"emoji \U0001F600 lone \xD800 end \xDC00";
    std::vector<Page> back = Load(storage::Encode({{u"p", text}}, storage::Form::Storage));
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].text, text);
}

TEST(StorageRoundTrip, ThousandsOfPagesAndLongPages)
{
    std::vector<Page> pages;
    for (int i = 0; i < 3000; ++i)
        pages.push_back({u"p" + std::u16string(1, static_cast<char16_t>(u'A' + i % 26)),
                         std::u16string(static_cast<size_t>(i % 7), u'x')});
    pages.push_back({u"big", std::u16string(1100000, u'y')});   // beyond the typing limit
    std::vector<Page> back = Load(storage::Encode(pages, storage::Form::Storage));
    ASSERT_EQ(back.size(), pages.size());
    EXPECT_EQ(back.back().text.size(), 1100000u);
    EXPECT_EQ(back[2999].text, pages[2999].text);
}

TEST(StorageLoading, EmptyFileIsOneEmptyDefaultPage)
{
    std::vector<Page> back = Load("");
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].name, u"日常");
    EXPECT_EQ(back[0].text, u"");
}

TEST(StorageLoading, ByteOrderMarkAloneIsAnEmptyPageNotGarbage)
{
    std::vector<Page> back = Load(std::string("\xFF\xFE", 2));
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].name, u"日常");
    EXPECT_EQ(back[0].text, u"");
}

TEST(StorageLoading, AnsiFileWithoutSeparatorsIsOneDefaultPage)
{
    std::vector<Page> back = Load("\xD6\xD0\xCE\xC4 notes\r\nline 2");
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].name, u"日常");
    EXPECT_EQ(back[0].text, u"中文 notes\r\nline 2");
}

TEST(StorageLoading, NamesAreTrimmedAndBlankNamesBecomeDefault)
{
    std::string bytes = Utf16Bytes(kSep + u"  padded \t\r\none" + kSep + u" \t \r\ntwo");
    std::vector<Page> back = Load(bytes);
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0].name, u"padded");
    EXPECT_EQ(back[1].name, u"日常");
    EXPECT_EQ(back[1].text, u"two");
}

TEST(StorageLoading, TextBeforeTheFirstSeparatorIsADefaultPage)
{
    std::vector<Page> back = Load(Utf16Bytes(u"loose text" + kSep + u"Named\r\nbody"));
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0].name, u"日常");
    EXPECT_EQ(back[0].text, u"loose text");
    EXPECT_EQ(back[1].name, u"Named");
    EXPECT_EQ(back[1].text, u"body");
}

TEST(StorageLoading, HeaderWithoutLineEndTakesTheRestAsName)
{
    std::vector<Page> back = Load(Utf16Bytes(kSep + u"A\r\ntext" + kSep + u"tail name"));
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[1].name, u"tail name");
    EXPECT_EQ(back[1].text, u"");
}

TEST(StorageLoading, CarriageReturnWithoutLineFeedEndsTheName)
{
    std::vector<Page> back = Load(Utf16Bytes(kSep + u"A\rtext"));
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].name, u"A");
    EXPECT_EQ(back[0].text, u"text");
}

TEST(StorageLoading, NulBecomesSpace)
{
    std::u16string body = u"a";
    body += u'\0';
    body += u"b";
    std::vector<Page> back = Load(Utf16Bytes(kSep + u"P\r\n" + body));
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].text, u"a b");
}

TEST(StorageLoading, SeparatorInsidePageTextSplitsThePage)
{
    std::string bytes =
        storage::Encode({{u"A", u"before" + kSep + u"second name\r\nafter"}}, storage::Form::Storage);
    std::vector<Page> back = Load(bytes);
    ASSERT_EQ(back.size(), 2u);
    EXPECT_EQ(back[0].text, u"before");
    EXPECT_EQ(back[1].name, u"second name");
    EXPECT_EQ(back[1].text, u"after");
}

TEST(StorageLoading, OddByteCountKeepsTheLastByteAsAUnit)
{
    std::string bytes = Utf16Bytes(kSep + u"P\r\nab");
    bytes += 'Z';
    std::vector<Page> back = Load(bytes);
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].text, u"abZ");
    // Saving it back loses nothing that was read.
    EXPECT_EQ(Load(storage::Encode(back, storage::Form::Storage))[0].text, u"abZ");
}

TEST(StorageLoading, PartialSeparatorAtTheEndIsPlainText)
{
    std::u16string partial = kSep.substr(0, 7);
    std::vector<Page> back = Load(Utf16Bytes(kSep + u"P\r\ntext" + partial));
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].text, u"text" + partial);
}

TEST(StorageLoading, LargeAnsiFileLoadsWhole)
{
    std::string bytes;
    for (int i = 0; i < 200000; ++i)
        bytes += "\xD6\xD0line\r\n";
    std::vector<Page> back = Load(bytes);
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].text.size(), 200000u * 7u);
}

TEST(StorageNames, TrimmingRemovesOnlyTheSixBlanks)
{
    EXPECT_EQ(storage::TrimBlanks(u"\v\f \t\r\nx y\n"), u"x y");
    EXPECT_EQ(storage::TrimBlanks(u"\u3000x\u3000"), u"\u3000x\u3000");   // ideographic space stays
    EXPECT_EQ(storage::NormalizePageName(u"   "), u"日常");
}
