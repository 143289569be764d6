// jot_drag_helper: drags data onto a screen point from its own process,
// through OLE drag and drop, as a browser or the shell would.
//
//   jot_drag_helper html X Y FILE      "HTML Format" (FILE's bytes), its text as
//                                      CF_UNICODETEXT and "UniformResourceLocator"
//   jot_drag_helper text X Y UTF8TEXT  CF_UNICODETEXT only
//   jot_drag_helper ansi X Y TEXT      CF_TEXT only (system code page)
//   jot_drag_helper files X Y PATH...  a file list (CF_HDROP)
//
// The pointer is put on (X, Y) while the drag runs, rests there a moment
// (drag enter and over), and the drop follows. Prints the outcome; exit 0
// when the target took the drop.

#include <windows.h>
#include <ole2.h>
#include <shellapi.h>
#include <shlobj.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "notes/ole_data_source.h"

namespace {

std::string ToAnsi(const std::wstring& w)
{
    const int n = ::WideCharToMultiByte(CP_ACP, 0, w.data(), static_cast<int>(w.size()), nullptr, 0, nullptr, nullptr);
    std::string s(static_cast<size_t>(n), '\0');
    ::WideCharToMultiByte(CP_ACP, 0, w.data(), static_cast<int>(w.size()), s.data(), n, nullptr, nullptr);
    return s;
}

// Moves the pointer onto the target, lets a few drag-over ticks pass, then drops.
class ScriptedDropSource final : public IDropSource {
public:
    ScriptedDropSource(POINT target) : m_target(target) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override
    {
        if (riid == IID_IUnknown || riid == IID_IDropSource) {
            *object = static_cast<IDropSource*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL, DWORD) override
    {
        ++m_ticks;
        if (m_ticks < 4) {
            ::SetCursorPos(m_target.x, m_target.y);
            return S_OK;
        }
        if (m_ticks > 2000) return DRAGDROP_S_CANCEL;
        if (::GetTickCount() - m_start < 700) return S_OK;
        ::QueryPerformanceCounter(&m_dropAt);
        return DRAGDROP_S_DROP;
    }
    // When the drop was released (the target's Drop runs after this).
    LARGE_INTEGER DropTime() const { return m_dropAt; }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD) override { return DRAGDROP_S_USEDEFAULTCURSORS; }

private:
    POINT m_target;
    int m_ticks = 0;
    DWORD m_start = ::GetTickCount();
    LARGE_INTEGER m_dropAt{};
};

bool ReadFile(const wchar_t* path, std::string& out)
{
    std::FILE* f = _wfopen(path, L"rb");
    if (!f) return false;
    char buf[65536];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
    std::fclose(f);
    return true;
}

}  // namespace

int main()
{
    // Wide arguments: the command line carries text in any script.
    int argc = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (argc < 5) {
        std::fprintf(stderr, "usage: jot_drag_helper html|text|ansi|files X Y DATA...\n");
        return 2;
    }
    const std::wstring mode = argv[1];
    const POINT target{_wtoi(argv[2]), _wtoi(argv[3])};
    ::OleInitialize(nullptr);
    CDataSourcePtr data;
    if (mode == L"html") {
        std::string bytes;
        if (!ReadFile(argv[4], bytes)) {
            std::fprintf(stderr, "cannot read the payload file\n");
            return 2;
        }
        bytes.push_back('\0');
        data->Add(static_cast<CLIPFORMAT>(::RegisterClipboardFormatW(L"HTML Format")), bytes);
        data->AddUnicodeText(L"Link text from the page");
        std::string url = "http://example.com/\0";
        data->Add(static_cast<CLIPFORMAT>(::RegisterClipboardFormatW(L"UniformResourceLocator")), url);
    } else if (mode == L"text") {
        data->AddUnicodeText(argv[4]);
    } else if (mode == L"ansi") {
        data->Add(CF_TEXT, ToAnsi(argv[4]) + '\0');
    } else if (mode == L"files") {
        std::wstring list;
        for (int i = 4; i < argc; ++i) {
            list += argv[i];
            list.push_back(L'\0');
        }
        list.push_back(L'\0');
        DROPFILES header{};
        header.pFiles = sizeof(DROPFILES);
        header.fWide = TRUE;
        std::string bytes(reinterpret_cast<const char*>(&header), sizeof header);
        bytes.append(reinterpret_cast<const char*>(list.data()), list.size() * sizeof(wchar_t));
        data->Add(CF_HDROP, bytes);
    } else {
        std::fprintf(stderr, "unknown mode\n");
        return 2;
    }
    ScriptedDropSource source(target);
    DWORD effect = DROPEFFECT_NONE;
    const HRESULT hr = ::DoDragDrop(data.Get(), &source, DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK, &effect);
    LARGE_INTEGER done{}, frequency{};
    ::QueryPerformanceCounter(&done);
    ::QueryPerformanceFrequency(&frequency);
    const double dropMs = source.DropTime().QuadPart == 0
        ? 0.0 : 1000.0 * static_cast<double>(done.QuadPart - source.DropTime().QuadPart) / static_cast<double>(frequency.QuadPart);
    // drop_ms: from the release until the target's Drop has returned (the
    // text is in the page by then).
    std::printf("result=%s effect=%lu drop_ms=%.1f\n", hr == DRAGDROP_S_DROP ? "drop" : hr == DRAGDROP_S_CANCEL ? "cancel" : "error",
                static_cast<unsigned long>(effect), dropMs);
    ::OleUninitialize();
    return hr == DRAGDROP_S_DROP && effect != DROPEFFECT_NONE ? 0 : 1;
}
