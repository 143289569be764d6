// The notebook model: pages that come and go, editors that hold a page's
// text while it is on screen, what a save writes, and which view states the
// INI file must get.
#include <gtest/gtest.h>

#include "notes/notebook.h"
#include "tests/native/fake_code_page.h"

using notebook::Notebook;
using notebook::PageEditor;
using notebook::ViewState;

namespace {

// An edit control as far as the notebook sees it; counts the reads.
class FakeEditor : public PageEditor {
public:
    explicit FakeEditor(std::u16string text) : text(std::move(text)) {}
    bool IsModified() const override { return modified; }
    std::u16string Text() const override
    {
        ++reads;
        return text;
    }
    size_t TextLength() const override { return text.size(); }
    ViewState State() const override { return state; }
    void ClearModified() override { modified = false; }

    void Type(const std::u16string& s)
    {
        text += s;
        modified = true;
    }

    std::u16string text;
    bool modified = false;
    ViewState state;
    mutable int reads = 0;
};

Notebook Loaded(std::vector<storage::Page> pages, std::vector<ViewState> views = {})
{
    Notebook book;
    book.Assign(std::move(pages), views);
    return book;
}

std::vector<storage::Page> Parsed(const std::string& bytes)
{
    return storage::ParseFile(bytes, FakeGbkCodePage());
}

}  // namespace

TEST(NotebookLoading, NoPagesGiveOneEmptyDefaultPage)
{
    Notebook book = Loaded({});
    ASSERT_EQ(book.Count(), 1);
    EXPECT_EQ(book.At(0).name, u"日常");
    EXPECT_EQ(book.At(0).text, u"");
    EXPECT_FALSE(book.AnyModified());
}

TEST(NotebookLoading, NamesAreNormalisedAndIdsStayWithTheirPages)
{
    Notebook book = Loaded({{u"  A ", u"a"}, {u" \t", u"b"}, {u"C", u""}});
    EXPECT_EQ(book.At(0).name, u"A");
    EXPECT_EQ(book.At(1).name, u"日常");
    const notebook::PageId c = book.At(2).id;
    book.Swap(0, 2);
    EXPECT_EQ(book.IndexOf(c), 0);
    EXPECT_EQ(book.IndexOf(notebook::kNoPage), -1);
}

TEST(NotebookSaving, PagesNeverShownAreWrittenByteForByteAsLoaded)
{
    // Odd content on purpose: an empty page, NULs turned spaces, lone
    // surrogates, a name with inner blanks.
    std::vector<storage::Page> pages = {
        {u"日常", u"买菜\r\n交电费"}, {u"空", u""}, {u"读书 笔记", std::u16string(u"\xDC00x\xD800", 3)}};
    const std::string bytes = storage::Encode(pages, storage::Form::Storage);
    Notebook book = Loaded(Parsed(bytes));
    EXPECT_EQ(book.Encode(storage::Form::Storage), bytes);
}

TEST(NotebookSaving, NothingToSaveUntilAPageOrItsEditorChanges)
{
    Notebook book = Loaded({{u"A", u"a"}, {u"B", u"b"}});
    FakeEditor editor(u"a");
    book.Attach(0, &editor);
    EXPECT_FALSE(book.AnyModified());
    editor.Type(u"!");
    EXPECT_TRUE(book.AnyModified());
    editor.ClearModified();
    book.MarkModified(1);
    EXPECT_TRUE(book.AnyModified());
}

TEST(NotebookSaving, OnlyModifiedEditorsAreReadAndTheSaveClearsEveryMark)
{
    Notebook book = Loaded({{u"A", u"a"}, {u"B", u"b"}, {u"C", u"c"}});
    FakeEditor shownA(u"a"), shownB(u"b");
    book.Attach(0, &shownA);
    book.Attach(1, &shownB);
    shownB.Type(u"+");
    book.CollectEditors();
    EXPECT_EQ(shownA.reads, 0) << "an unchanged page is never read back from its window";
    EXPECT_EQ(shownB.reads, 1);
    EXPECT_EQ(book.Encode(storage::Form::Storage),
              storage::Encode({{u"A", u"a"}, {u"B", u"b+"}, {u"C", u"c"}}, storage::Form::Storage));
    book.MarkSaved();
    EXPECT_FALSE(book.AnyModified());
    EXPECT_FALSE(shownB.modified);
}

TEST(NotebookSaving, ExportFormHoldsTheSameEditedPages)
{
    Notebook book = Loaded({{u"A", u"a"}});
    FakeEditor editor(u"a");
    book.Attach(0, &editor);
    editor.Type(u"b");
    book.CollectEditors();
    EXPECT_EQ(book.Encode(storage::Form::Export), storage::Encode({{u"A", u"ab"}}, storage::Form::Export));
    // An export is no save: the page is still to be written.
    EXPECT_TRUE(book.AnyModified());
}

TEST(NotebookEditors, AWindowGoneKeepsItsTextAndState)
{
    Notebook book = Loaded({{u"A", u"a"}, {u"B", u"b"}});
    {
        FakeEditor editor(u"b");
        book.Attach(1, &editor);
        editor.Type(u" more");
        editor.state = {3, 5, 1};
        book.Detach(1);
    }
    EXPECT_EQ(book.At(1).editor, nullptr);
    EXPECT_EQ(book.TextOf(1), u"b more");
    EXPECT_EQ(book.At(1).view, (ViewState{3, 5, 1}));
    EXPECT_TRUE(book.AnyModified()) << "the change still has to be saved";
}

TEST(NotebookManager, AppendRemoveRenameAndMoves)
{
    Notebook book = Loaded({{u"A", u""}, {u"B", u"b"}});
    EXPECT_EQ(book.Append(u" New "), 2);
    EXPECT_EQ(book.At(2).name, u"New");
    EXPECT_TRUE(book.At(2).modified);
    book.Rename(0, u"A2");
    EXPECT_EQ(book.At(0).name, u"A2");
    book.Swap(0, 2);
    EXPECT_EQ(book.At(0).name, u"New");
    EXPECT_EQ(book.At(2).name, u"A2");
    EXPECT_TRUE(book.Remove(0));
    EXPECT_TRUE(book.Remove(0));
    EXPECT_FALSE(book.Remove(0)) << "the last page stays";
    EXPECT_EQ(book.Count(), 1);
    EXPECT_EQ(book.Encode(storage::Form::Storage), storage::Encode({{u"A2", u""}}, storage::Form::Storage));
}

TEST(NotebookViewStates, PagesNeverShownKeepTheStatesTheFileGave)
{
    Notebook book = Loaded({{u"A", u"aaaa"}, {u"B", u"bbbb"}, {u"C", u""}}, {{1, 2, 0}, {3, 4, 1}});
    EXPECT_EQ(book.At(1).view, (ViewState{3, 4, 1}));
    EXPECT_EQ(book.At(2).view, ViewState{}) << "no section: the start of the page";
    EXPECT_TRUE(book.ViewStatesToWrite().empty()) << "nothing changed, nothing to write";
}

TEST(NotebookViewStates, OnlyChangedOrMovedPagesAreWrittenAgain)
{
    Notebook book = Loaded({{u"A", u""}, {u"B", u""}, {u"C", u""}, {u"D", u""}}, {{1, 1, 0}, {2, 2, 0}});
    FakeEditor editor(u"");
    book.Attach(3, &editor);
    editor.state = {0, 0, 7};
    using Writes = std::vector<std::pair<int, ViewState>>;
    EXPECT_EQ(book.ViewStatesToWrite(), (Writes{{3, {0, 0, 7}}}));
    book.MarkViewStatesWritten();
    EXPECT_TRUE(book.ViewStatesToWrite().empty());

    // A and C change places: both sections are written at their new index.
    book.Swap(0, 2);
    EXPECT_EQ(book.ViewStatesToWrite(), (Writes{{0, {0, 0, 0}}, {2, {1, 1, 0}}}));
    book.MarkViewStatesWritten();

    // Removing the first page moves every later one up by one.
    book.Remove(0);
    EXPECT_EQ(book.ViewStatesToWrite(), (Writes{{0, {2, 2, 0}}, {1, {1, 1, 0}}, {2, {0, 0, 7}}}));
}

TEST(NotebookScale, TenThousandPagesRoundTrip)
{
    std::vector<storage::Page> pages;
    for (int i = 0; i < 10000; ++i)
        pages.push_back({u"页" + std::u16string(1, static_cast<char16_t>(u'0' + i % 10)),
                         std::u16string(static_cast<size_t>(i % 50), u'字')});
    const std::string bytes = storage::Encode(pages, storage::Form::Storage);
    Notebook book = Loaded(Parsed(bytes));
    ASSERT_EQ(book.Count(), 10000);
    FakeEditor last(book.At(9999).text);
    book.Attach(9999, &last);
    last.Type(u"改");
    book.CollectEditors();
    pages[9999].text += u"改";
    EXPECT_EQ(book.Encode(storage::Form::Storage), storage::Encode(pages, storage::Form::Storage));
}

TEST(NotebookSaving, PiecesMakeTheSameBytesAndNeverSplitAPage)
{
    std::vector<storage::Page> pages;
    for (int i = 0; i < 200; ++i)
        pages.push_back({u"P" + std::u16string(1, static_cast<char16_t>(u'a' + i % 26)),
                         std::u16string(static_cast<size_t>(i * 7 % 300), u'x')});
    Notebook book = Loaded(pages);
    const std::string whole = book.Encode(storage::Form::Storage);
    std::string joined;
    int pieces = 0;
    book.Encode(storage::Form::Storage, 1000, [&](std::string_view piece) {
        joined += piece;
        ++pieces;
        return true;
    });
    EXPECT_EQ(joined, whole);
    EXPECT_GT(pieces, 10);
    // A refused piece stops the writing there.
    int calls = 0;
    book.Encode(storage::Form::Storage, 1000, [&](std::string_view) { return ++calls < 3; });
    EXPECT_EQ(calls, 3);
}
