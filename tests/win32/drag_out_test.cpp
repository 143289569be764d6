// What a page offers when its selection is dragged out to another program:
// plain Unicode text, the same bytes from the 32-bit and the 64-bit program
// (both run these tests), whatever the reader asks for.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>

#include "notes/ole_data_source.h"

namespace {

std::string Bytes(HGLOBAL global)
{
    const size_t size = ::GlobalSize(global);
    const char* p = static_cast<const char*>(::GlobalLock(global));
    std::string bytes(p, p + size);
    ::GlobalUnlock(global);
    return bytes;
}

}  // namespace

TEST(DragOut, TextIsUtf16WithItsNulAndNothingElse)
{
    CDataSourcePtr source;
    source->AddUnicodeText(L"页a\r\n");
    FORMATETC format{CF_UNICODETEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    ASSERT_EQ(source->QueryGetData(&format), S_OK);
    STGMEDIUM medium{};
    ASSERT_EQ(source->GetData(&format, &medium), S_OK);
    ASSERT_EQ(medium.tymed, static_cast<DWORD>(TYMED_HGLOBAL));
    EXPECT_EQ(Bytes(medium.hGlobal), std::string("\x75\x98" "a\0\r\0\n\0\0\0", 10));
    ::ReleaseStgMedium(&medium);

    // One format only: no ANSI text a reader could take in another code page.
    IEnumFORMATETC* formats = nullptr;
    ASSERT_EQ(source->EnumFormatEtc(DATADIR_GET, &formats), S_OK);
    FORMATETC got[4]{};
    ULONG count = 0;
    formats->Next(4, got, &count);
    formats->Release();
    ASSERT_EQ(count, 1u);
    EXPECT_EQ(got[0].cfFormat, CF_UNICODETEXT);
    FORMATETC ansi{CF_TEXT, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
    EXPECT_NE(source->QueryGetData(&ansi), S_OK);
}
