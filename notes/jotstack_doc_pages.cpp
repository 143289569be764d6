// CJotstackDoc: the pages on screen. A page gets its child frame and view
// when it is first shown; the tab strip mirrors the notebook, one tab per
// page with the page's id as its data.
#include "notes/jotstack_doc.h"

#include <algorithm>

#include "framework/frame.h"
#include "notes/child_frame.h"
#include "notes/jotstack_view.h"
#include "notes/notes_host.h"
#include "res/resource.h"
#include "tabstrip/custom_tab_ctrl.h"

namespace {

std::wstring ToWide(std::u16string_view s)
{
    return std::wstring(reinterpret_cast<const wchar_t*>(s.data()), s.size());
}

std::u16string ToU16(const std::wstring& s)
{
    return std::u16string(reinterpret_cast<const char16_t*>(s.data()), s.size());
}

}  // namespace

void CJotstackDoc::AttachHost(CNotesHost* host)
{
    m_pHost = host;
    m_pFrame = host ? &host->PagesFrame() : nullptr;
    m_pTabs = host ? &host->PageTabs() : nullptr;
    if (m_pTabs && !m_pTabs->GetSafeHwnd())
        m_pTabs = nullptr;   // the pages still work from the page manager
}

void CJotstackDoc::FillTabs()
{
    if (!m_pTabs)
        return;
    m_pTabs->SetRedraw(false);
    while (m_pTabs->GetItemCount() > 0)
        m_pTabs->DeleteItem(m_pTabs->GetItemCount() - 1);
    std::vector<std::pair<std::wstring, DWORD_PTR>> items;
    items.reserve(static_cast<size_t>(m_notebook.Count()));
    for (int i = 0; i < m_notebook.Count(); ++i)
        items.emplace_back(ToWide(m_notebook.At(i).name), static_cast<DWORD_PTR>(m_notebook.At(i).id));
    m_pTabs->AppendItems(items);
    m_pTabs->SetRedraw(true);
    m_pTabs->Invalidate(false);
}

std::wstring CJotstackDoc::PageName(int index) const
{
    return m_notebook.IsValid(index) ? ToWide(m_notebook.At(index).name) : std::wstring();
}

size_t CJotstackDoc::PageLength(int index) const
{
    return m_notebook.IsValid(index) ? m_notebook.TextLengthOf(index) : 0;
}

int CJotstackDoc::CurrentPage() const
{
    return m_notebook.IndexOf(m_currentPage);
}

int CJotstackDoc::PageOfView(const CJotstackView* view) const
{
    return view ? m_notebook.IndexOf(view->PageId()) : -1;
}

CJotstackView* CJotstackDoc::FindView(notebook::PageId id) const
{
    if (id == notebook::kNoPage)
        return nullptr;
    for (CView* v : m_viewList)
        if (auto* view = dynamic_cast<CJotstackView*>(v); view && view->PageId() == id)
            return view;
    return nullptr;
}

void CJotstackDoc::UpdateViewsForDpi(int oldDpi, int newDpi)
{
    for (CView* v : m_viewList)
        if (auto* view = dynamic_cast<CJotstackView*>(v))
            view->UpdateForDpi(oldDpi, newDpi);
}

CJotstackView* CJotstackDoc::ShowPage(int index)
{
    if (index < 0) {
        if (CurrentPage() >= 0)
            return FindView(m_currentPage);
        index = 0;
    }
    if (!m_notebook.IsValid(index))
        return nullptr;
    m_currentPage = m_notebook.At(index).id;
    if (m_pTabs && m_pTabs->GetCurSel() != index)
        m_pTabs->SetCurSel(index);
    bool needsText = false;
    CJotstackView* view = ViewForPage(index, needsText);
    if (!view)
        return nullptr;
    view->m_nLastShown = ++m_nShowCounter;
    CFrameWnd* frame = view->GetParentFrame();
    if (m_pFrame && frame && m_pFrame->MDIGetActive() != frame)
        m_pFrame->MDIActivate(frame);
    if (needsText) {
        // On screen first, so that a long page can show its first lines at once.
        const notebook::Page& page = m_notebook.At(index);
        view->ShowPageText(page.text, page.view);
        m_notebook.Attach(index, view);
    }
    ReleaseIdleWindows(view);
    return view;
}

CJotstackView* CJotstackDoc::ViewForPage(int index, bool& needsText)
{
    const notebook::Page& page = m_notebook.At(index);
    needsText = false;
    if (CJotstackView* view = FindView(page.id))
        return view;
    needsText = true;
    // The view made with the document shows no page until the first one is
    // shown in it; then the window of the page not looked at for longest,
    // when the kept windows are all taken; then a new frame.
    CJotstackView* view = nullptr;
    for (CView* v : m_viewList) {
        auto* candidate = dynamic_cast<CJotstackView*>(v);
        if (candidate && candidate->PageId() == notebook::kNoPage && candidate->m_hWnd) {
            view = candidate;
            break;
        }
    }
    // A window made with other settings than pages get now is not used for
    // another page: a page gets the settings of the moment it is made.
    if (CJotstackView* idle = view ? nullptr : IdleView(kKeptPageWindows); idle && idle->HasCurrentSettings()) {
        const int was = PageOfView(idle);
        if (was >= 0)
            m_notebook.Detach(was);
        idle->ForgetPage();
        view = idle;
    }
    if (!view) {
        CMDIChildWnd* frame = m_pDocTemplate ? m_pDocTemplate->CreateNewFrame(this, nullptr) : nullptr;
        if (!frame)
            return nullptr;
        // The page is known before the frame becomes active, so that its tab
        // follows the activation.
        view = dynamic_cast<CJotstackView*>(frame->GetActiveView());
        if (!view && frame->GetDlgItem(AFX_IDW_PANE_FIRST))
            view = dynamic_cast<CJotstackView*>(CWnd::FromHandle(frame->GetDlgItem(AFX_IDW_PANE_FIRST)));
        if (view) {
            view->BindPage(page.id);
            frame->SetWindowText(ToWide(page.name));
        }
        m_pDocTemplate->InitialUpdateFrame(frame, this, true);
        view = dynamic_cast<CJotstackView*>(frame->GetActiveView());
        if (!view) {
            if (auto* child = dynamic_cast<CChildFrame*>(frame))
                child->ClosePage();
            return nullptr;
        }
    }
    view->BindPage(page.id);
    if (CFrameWnd* frame = view->GetParentFrame())
        frame->SetWindowText(ToWide(page.name));
    return view;
}

CJotstackView* CJotstackDoc::IdleView(size_t keep) const
{
    size_t shown = 0;
    CJotstackView* oldest = nullptr;
    const notebook::PageId onScreen = m_currentPage;
    for (CView* v : m_viewList) {
        auto* view = dynamic_cast<CJotstackView*>(v);
        if (!view || view->PageId() == notebook::kNoPage)
            continue;
        ++shown;
        // A changed page keeps its window, and with it its undo.
        if (view->PageId() == onScreen || view->IsModified() || !view->m_hWnd)
            continue;
        if (!oldest || view->m_nLastShown < oldest->m_nLastShown)
            oldest = view;
    }
    return shown >= keep ? oldest : nullptr;
}

void CJotstackDoc::ReleaseIdleWindows(const CJotstackView*)
{
    while (CJotstackView* oldest = IdleView(kKeptPageWindows + 1))
        CloseView(oldest);
}

void CJotstackDoc::CloseView(CJotstackView* view)
{
    const int index = PageOfView(view);
    if (index >= 0)
        m_notebook.Detach(index);
    view->ForgetPage();
    if (auto* frame = dynamic_cast<CChildFrame*>(view->GetParentFrame()))
        frame->ClosePage();
}

void CJotstackDoc::OnPageActivated(CJotstackView* view)
{
    const int index = PageOfView(view);
    if (index < 0)
        return;
    m_currentPage = view->PageId();
    view->m_nLastShown = ++m_nShowCounter;
    if (m_pTabs && m_pTabs->GetCurSel() != index)
        m_pTabs->SetCurSel(index);
}

void CJotstackDoc::OnViewDestroying(CJotstackView* view)
{
    const int index = PageOfView(view);
    if (index >= 0)
        m_notebook.Detach(index);
    view->ForgetPage();
}

int CJotstackDoc::AppendPage(const std::wstring& name)
{
    const int index = m_notebook.Append(ToU16(name));
    if (m_pTabs)
        m_pTabs->InsertItem(index, ToWide(m_notebook.At(index).name).c_str(),
                            static_cast<DWORD_PTR>(m_notebook.At(index).id));
    return index;
}

bool CJotstackDoc::DeletePage(int index)
{
    if (!m_notebook.IsValid(index) || m_notebook.Count() < 2)
        return false;
    if (CJotstackView* view = FindView(m_notebook.At(index).id)) {
        // Another page comes on screen first: the document must never be
        // left without a window, and the deleted page's must not be active.
        ShowPage(index + 1 < m_notebook.Count() ? index + 1 : index - 1);
        CloseView(view);
    }
    m_notebook.Remove(index);
    if (m_pTabs)
        m_pTabs->DeleteItem(index);
    return true;
}

void CJotstackDoc::RenamePage(int index, const std::wstring& name)
{
    if (!m_notebook.IsValid(index))
        return;
    m_notebook.Rename(index, ToU16(name));
    const std::wstring stored = ToWide(m_notebook.At(index).name);
    if (m_pTabs)
        m_pTabs->SetItemText(index, stored.c_str());
    if (CJotstackView* view = FindView(m_notebook.At(index).id))
        if (CFrameWnd* frame = view->GetParentFrame())
            frame->SetWindowText(stored);
}

void CJotstackDoc::SwapPages(int a, int b)
{
    if (!m_notebook.IsValid(a) || !m_notebook.IsValid(b) || a == b)
        return;
    m_notebook.Swap(a, b);
    if (!m_pTabs)
        return;
    m_pTabs->SetRedraw(false);
    for (int i : {a, b}) {
        m_pTabs->DeleteItem(i);
        m_pTabs->InsertItem(i, ToWide(m_notebook.At(i).name).c_str(), static_cast<DWORD_PTR>(m_notebook.At(i).id));
    }
    m_pTabs->SetRedraw(true);
    m_pTabs->Invalidate(false);
}

void CJotstackDoc::MarkPageModified(int index)
{
    m_notebook.MarkModified(index);
}
