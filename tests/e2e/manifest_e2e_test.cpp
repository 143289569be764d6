// The application manifest inside the built program (both flavours where
// the machine runs them): read as Windows reads it, resource 1 of type
// RT_MANIFEST, and checked element by element.
#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "tests/e2e/jotstack_process.h"

namespace {

// The manifest text of an executable without its comments, or empty when
// it has none.
std::string ManifestOf(const std::wstring& exe)
{
    HMODULE module = ::LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module)
        return {};
    std::string text;
    if (HRSRC res = ::FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24))) {
        if (HGLOBAL mem = ::LoadResource(module, res)) {
            const char* data = static_cast<const char*>(::LockResource(mem));
            if (data)
                text.assign(data, ::SizeofResource(module, res));
        }
    }
    ::FreeLibrary(module);
    // Comments say what the elements are for; only the elements count.
    for (size_t at = text.find("<!--"); at != std::string::npos; at = text.find("<!--", at)) {
        const size_t end = text.find("-->", at);
        text.erase(at, end == std::string::npos ? std::string::npos : end + 3 - at);
    }
    return text;
}

// Every element's text `<name ...>text</name>`, whatever its namespace prefix.
std::vector<std::string> ElementTexts(const std::string& xml, const std::string& name)
{
    std::vector<std::string> out;
    for (size_t at = xml.find("<" + name); at != std::string::npos; at = xml.find("<" + name, at + 1)) {
        const size_t open = xml.find('>', at);
        const size_t close = xml.find("</" + name + ">", at);
        if (open != std::string::npos && close != std::string::npos && open < close)
            out.push_back(xml.substr(open + 1, close - open - 1));
    }
    return out;
}

// The value of attr in every `<name ... attr="value" .../>`.
std::vector<std::string> AttributeValues(const std::string& xml, const std::string& name, const std::string& attr)
{
    std::vector<std::string> out;
    for (size_t at = xml.find("<" + name); at != std::string::npos; at = xml.find("<" + name, at + 1)) {
        const size_t end = xml.find('>', at);
        const size_t key = xml.find(" " + attr + "=\"", at);
        if (key == std::string::npos || key > end)
            continue;
        const size_t v = key + attr.size() + 3;
        out.push_back(xml.substr(v, xml.find('"', v) - v));
    }
    return out;
}

bool Contains(const std::vector<std::string>& values, const std::string& v)
{
    for (const std::string& x : values)
        if (x == v)
            return true;
    return false;
}

void CheckManifest(const std::wstring& exe)
{
    const std::string xml = ManifestOf(exe);
    ASSERT_FALSE(xml.empty()) << "no RT_MANIFEST resource 1";
    EXPECT_NE(xml.find("urn:schemas-microsoft-com:asm.v1"), std::string::npos);

    // Common controls 6.
    const std::vector<std::string> names = AttributeValues(xml, "assemblyIdentity", "name");
    EXPECT_TRUE(Contains(names, "Microsoft.Windows.Common-Controls"));
    EXPECT_TRUE(Contains(AttributeValues(xml, "assemblyIdentity", "version"), "6.0.0.0"));
    EXPECT_TRUE(Contains(AttributeValues(xml, "assemblyIdentity", "publicKeyToken"), "6595b64144ccf1df"));

    // The user's own rights, no virtualization.
    EXPECT_EQ(AttributeValues(xml, "requestedExecutionLevel", "level"), std::vector<std::string>{"asInvoker"});

    // Per-monitor DPI awareness: v2 where Windows 10 knows it, per monitor
    // (8.1) and system aware (Vista, 7) before.
    EXPECT_EQ(ElementTexts(xml, "dpiAwareness"), std::vector<std::string>{"PerMonitorV2, PerMonitor"});
    EXPECT_EQ(ElementTexts(xml, "dpiAware"), std::vector<std::string>{"true/pm"});
    EXPECT_NE(xml.find("http://schemas.microsoft.com/SMI/2016/WindowsSettings"), std::string::npos);
    EXPECT_NE(xml.find("http://schemas.microsoft.com/SMI/2005/WindowsSettings"), std::string::npos);

    // Windows Vista, 7, 8, 8.1 and 10/11.
    const std::vector<std::string> os = AttributeValues(xml, "supportedOS", "Id");
    for (const char* id : {"{e2011457-1546-43c5-a5fe-008deee3d3f0}", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
                           "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}", "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
                           "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"})
        EXPECT_TRUE(Contains(os, id)) << id;
    EXPECT_EQ(os.size(), 5u);

    // UTF-16 stays the program's text: the ANSI code page is the system's.
    EXPECT_EQ(xml.find("activeCodePage"), std::string::npos);
}

}  // namespace

TEST(ManifestE2E, TheProgramCarriesItsManifest)
{
    if (JotstackUnderTest().empty())
        GTEST_SKIP() << "JOTSTACK_EXE is not set";
    CheckManifest(JotstackUnderTest());
}

TEST(ManifestE2E, TheOtherFlavourCarriesTheSameManifest)
{
    if (JotstackX86UnderTest().empty())
        GTEST_SKIP() << "JOTSTACK_EXE_X86 is not set";
    CheckManifest(JotstackX86UnderTest());
}
