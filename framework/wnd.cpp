#include "framework/wnd.h"

#include <functional>

namespace {

// The object whose window is being created on this thread. A CBT hook sees
// the window before its first message and attaches it to this object, so
// even system controls (EDIT, the toolbar) pass WM_NCCREATE and WM_CREATE
// through our WindowProc. MDI children and dialogs are caught the same way.
thread_local CWnd* t_creating = nullptr;

LRESULT CALLBACK CreationHook(int code, WPARAM wp, LPARAM lp)
{
    if (code == HCBT_CREATEWND && t_creating) {
        CWnd* wnd = t_creating;
        t_creating = nullptr;
        wnd->SubclassWindow(reinterpret_cast<HWND>(wp));
    }
    return ::CallNextHookEx(nullptr, code, wp, lp);
}

// Installs the creation hook for one CreateWindowEx/CreateDialog call.
class CreationScope {
public:
    explicit CreationScope(CWnd* wnd)
        : m_previous(t_creating),
          m_hook(::SetWindowsHookExW(WH_CBT, CreationHook, nullptr, ::GetCurrentThreadId()))
    {
        t_creating = wnd;
    }
    ~CreationScope()
    {
        if (m_hook)
            ::UnhookWindowsHookEx(m_hook);
        t_creating = m_previous;
    }
    CreationScope(const CreationScope&) = delete;
    CreationScope& operator=(const CreationScope&) = delete;

private:
    CWnd* m_previous;
    HHOOK m_hook;
};

}  // namespace

void CWnd::BeginCreation(CWnd* wnd, std::function<void()> create)
{
    CreationScope scope(wnd);
    create();
}

CWnd::~CWnd()
{
    if (m_hWnd && ::IsWindow(m_hWnd)) {
        // The object goes first; destroying the window must not call back
        // into a half-destroyed object.
        HWND hwnd = m_hWnd;
        if (m_pfnSuper)
            UnsubclassWindow();
        else
            Detach();
        ::DestroyWindow(hwnd);
    }
}

CWnd* CWnd::FromHandle(HWND hwnd)
{
    if (!hwnd)
        return nullptr;
    return static_cast<CWnd*>(::GetPropW(hwnd, kPropWindowObject));
}

bool CWnd::RegisterWindowClass(const wchar_t* className, UINT style, HICON icon, HCURSOR cursor,
                         HBRUSH background)
{
    HINSTANCE inst = ::GetModuleHandleW(nullptr);
    WNDCLASSW existing{};
    if (::GetClassInfoW(inst, className, &existing))
        return true;
    WNDCLASSW wc{};
    wc.style = style;
    wc.hInstance = inst;
    wc.hIcon = icon;
    wc.hCursor = cursor;
    wc.hbrBackground = background;
    wc.lpszClassName = className;
    wc.lpfnWndProc = &CWnd::StdWndProc;
    return ::RegisterClassW(&wc) != 0;
}

bool CWnd::CreateEx(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style,
                    int x, int y, int width, int height, HWND parent, HMENU menuOrId, void* param)
{
    CREATESTRUCTW cs{};
    cs.dwExStyle = exStyle;
    cs.lpszClass = className;
    cs.lpszName = title;
    cs.style = static_cast<LONG>(style);
    cs.x = x;
    cs.y = y;
    cs.cx = width;
    cs.cy = height;
    cs.hwndParent = parent;
    cs.hMenu = menuOrId;
    cs.hInstance = ::GetModuleHandleW(nullptr);
    cs.lpCreateParams = param;
    if (!PreCreateWindow(cs))
        return false;

    HWND hwnd = nullptr;
    {
        CreationScope scope(this);
        hwnd = ::CreateWindowExW(cs.dwExStyle, cs.lpszClass, cs.lpszName,
                                 static_cast<DWORD>(cs.style), cs.x, cs.y, cs.cx, cs.cy,
                                 cs.hwndParent, cs.hMenu, cs.hInstance, cs.lpCreateParams);
    }
    if (!hwnd)
        return false;
    if (!m_hWnd)
        SubclassWindow(hwnd);
    return m_hWnd == hwnd;
}

bool CWnd::CreateControl(DWORD exStyle, const wchar_t* className, const wchar_t* title,
                         DWORD style, const RECT& rect, HWND parent, UINT id)
{
    return CreateEx(exStyle, className, title, style, rect.left, rect.top,
                    rect.right - rect.left, rect.bottom - rect.top, parent,
                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)));
}

void CWnd::Attach(HWND hwnd)
{
    m_hWnd = hwnd;
    ::SetPropW(hwnd, kPropWindowObject, this);
}

void CWnd::Detach()
{
    if (m_hWnd)
        ::RemovePropW(m_hWnd, kPropWindowObject);
    m_hWnd = nullptr;
}

bool CWnd::SubclassWindow(HWND hwnd)
{
    if (!hwnd || m_hWnd || FromHandle(hwnd))
        return false;
    Attach(hwnd);
    auto old = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(hwnd, GWLP_WNDPROC));
    if (old != &CWnd::StdWndProc) {
        m_pfnSuper = old;
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CWnd::StdWndProc));
    }
    return true;
}

HWND CWnd::UnsubclassWindow()
{
    HWND hwnd = m_hWnd;
    if (hwnd && m_pfnSuper)
        ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    m_pfnSuper = nullptr;
    Detach();
    return hwnd;
}

bool CWnd::DestroyWindow()
{
    return m_hWnd && ::DestroyWindow(m_hWnd) != FALSE;
}

LRESULT CALLBACK CWnd::StdWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp)
{
    CWnd* wnd = FromHandle(hwnd);
    if (!wnd)
        return ::DefWindowProcW(hwnd, msg, wp, lp);

    MSG saved = wnd->m_currentMsg;
    wnd->m_currentMsg = MSG{hwnd, msg, wp, lp, 0, {}};
    LRESULT result = wnd->WindowProc(msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        // Last message: give the window back its procedure and let the object
        // go (it may delete itself in PostNcDestroy).
        WNDPROC super = wnd->m_pfnSuper;
        if (super)
            ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(super));
        wnd->m_pfnSuper = nullptr;
        wnd->Detach();
        wnd->PostNcDestroy();
        return result;
    }
    wnd->m_currentMsg = saved;
    return result;
}

LRESULT CWnd::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_COMMAND:
        if (OnCommand(LOWORD(wp), HIWORD(wp), reinterpret_cast<HWND>(lp)))
            return 0;
        break;
    case WM_NOTIFY: {
        LRESULT result = 0;
        if (OnNotify(reinterpret_cast<NMHDR*>(lp), &result))
            return result;
        break;
    }
    }
    return DefWindowProc(msg, wp, lp);
}

LRESULT CWnd::DefWindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    if (m_pfnSuper)
        return ::CallWindowProcW(m_pfnSuper, m_hWnd, msg, wp, lp);
    return ::DefWindowProcW(m_hWnd, msg, wp, lp);
}

LRESULT CWnd::Default()
{
    return DefWindowProc(m_currentMsg.message, m_currentMsg.wParam, m_currentMsg.lParam);
}

RECT CWnd::GetClientRect() const
{
    RECT rc{};
    ::GetClientRect(m_hWnd, &rc);
    return rc;
}

RECT CWnd::GetWindowRect() const
{
    RECT rc{};
    ::GetWindowRect(m_hWnd, &rc);
    return rc;
}

void CWnd::MoveWindow(const RECT& rc, bool repaint) const
{
    ::MoveWindow(m_hWnd, rc.left, rc.top, rc.right - rc.left, rc.bottom - rc.top, repaint);
}

void CWnd::ModifyStyle(DWORD remove, DWORD add) const
{
    DWORD style = GetStyle();
    DWORD changed = (style & ~remove) | add;
    if (changed != style)
        ::SetWindowLongW(m_hWnd, GWL_STYLE, static_cast<LONG>(changed));
}

std::wstring CWnd::GetWindowText() const
{
    int len = ::GetWindowTextLengthW(m_hWnd);
    std::wstring text(static_cast<size_t>(len) + 1, L'\0');
    int got = ::GetWindowTextW(m_hWnd, text.data(), len + 1);
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return text;
}

int CWnd::MessageBox(const wchar_t* text, const wchar_t* caption, UINT type) const
{
    if (!caption)
        caption = L"Jotstack";
    return ::MessageBoxW(m_hWnd, text, caption, type);
}
