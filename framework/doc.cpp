#include "framework/doc.h"

#include <commdlg.h>

#include <algorithm>

#include "framework/app.h"
#include "framework/strings.h"
#include "res/resource.h"

// ---- CDocument -----------------------------------------------------------------

CDocument::~CDocument()
{
    // Views that outlive their document must not call back into it.
    for (CView* view : m_viewList)
        view->m_pDocument = nullptr;
    if (m_pDocTemplate)
        m_pDocTemplate->RemoveDocument(this);
}

void CDocument::AddView(CView* view)
{
    if (std::find(m_viewList.begin(), m_viewList.end(), view) == m_viewList.end())
        m_viewList.push_back(view);
    view->m_pDocument = this;
}

void CDocument::RemoveView(CView* view)
{
    m_viewList.erase(std::remove(m_viewList.begin(), m_viewList.end(), view), m_viewList.end());
    view->m_pDocument = nullptr;
    // The last view gone: the document goes with it.
    if (m_viewList.empty() && m_bAutoDelete && !m_bClosing)
        OnCloseDocument();
}

void CDocument::SetPathName(const std::wstring& path, bool)
{
    m_strPathName = path;
    size_t slash = path.find_last_of(L"\\/");
    SetTitle(slash == std::wstring::npos ? path : path.substr(slash + 1));
}

void CDocument::SetTitle(const std::wstring& title)
{
    m_strTitle = title;
}

bool CDocument::OnNewDocument()
{
    m_strPathName.clear();
    m_bModified = false;
    return true;
}

void CDocument::OnCloseDocument()
{
    if (m_bClosing)
        return;
    m_bClosing = true;
    // Destroying a frame destroys its view, which leaves the view list.
    std::vector<CView*> views = m_viewList;
    for (CView* view : views) {
        if (auto* child = dynamic_cast<CMDIChildWnd*>(view->GetParentFrame()))
            child->MDIDestroy();   // the MDI client keeps its own list of children
        else if (view->m_hWnd)
            view->DestroyWindow();
    }
    m_viewList.clear();
    if (m_bAutoDelete)
        delete this;
    else
        m_bClosing = false;
}

bool CDocument::DoSave(const wchar_t* path, bool replace)
{
    std::wstring name = path ? path : L"";
    if (name.empty()) {
        // The framework's Save As dialog, starting at the document's path.
        std::vector<wchar_t> file(MAX_PATH * 4, L'\0');
        lstrcpynW(file.data(), m_strPathName.c_str(), static_cast<int>(file.size()));
        OPENFILENAMEW ofn{};
        ofn.lStructSize = sizeof(ofn);
        CWinApp* app = AfxGetApp();
        ofn.hwndOwner = app && app->m_pMainWnd ? app->m_pMainWnd->m_hWnd : nullptr;
        ofn.lpstrFilter = L"All Files (*.*)\0*.*\0";
        ofn.lpstrFile = file.data();
        ofn.nMaxFile = static_cast<DWORD>(file.size());
        ofn.lpstrTitle = L"Save As";
        ofn.Flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
        if (!::GetSaveFileNameW(&ofn))
            return false;
        name = file.data();
    }
    if (!OnSaveDocument(name.c_str()))
        return false;
    if (replace)
        SetPathName(name);
    return true;
}

bool CDocument::DoFileSave()
{
    DWORD attrs = m_strPathName.empty() ? INVALID_FILE_ATTRIBUTES
                                        : ::GetFileAttributesW(m_strPathName.c_str());
    if (attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_READONLY))
        return DoSave(nullptr);
    return DoSave(m_strPathName.empty() ? nullptr : m_strPathName.c_str());
}

void CDocument::ReportSaveLoadException(const wchar_t* path, DWORD error, bool saving,
                                        const wchar_t* defaultText)
{
    std::wstring name = path ? path : L"";
    std::wstring text;
    switch (error) {
    case ERROR_ACCESS_DENIED:
        text = L"Access to " + name + L" was denied.";
        break;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
        text = L"Sharing violation while accessing " + name + L".";
        break;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL:
        text = L"Disk full while accessing " + name + L".";
        break;
    case ERROR_PATH_NOT_FOUND:
        text = name + L" contains an incorrect path.";
        break;
    default:
        text = defaultText ? defaultText
                           : (saving ? L"Failed to save document." : L"Failed to open document.");
        break;
    }
    CWinApp* app = AfxGetApp();
    ::MessageBoxW(app && app->m_pMainWnd ? app->m_pMainWnd->m_hWnd : nullptr, text.c_str(),
                  app ? app->m_strAppName.c_str() : L"", MB_OK | MB_ICONEXCLAMATION);
}

bool CDocument::HandleCommand(CmdRequest& req)
{
    switch (req.id) {
    case ID_FILE_SAVE:
        return req.Run([this] { OnFileSave(); });
    case ID_FILE_SAVE_AS:
        return req.Run([this] { OnFileSaveAs(); });
    }
    return CCmdTarget::HandleCommand(req);
}

// ---- CView ---------------------------------------------------------------------

CView::~CView()
{
    if (m_pDocument)
        m_pDocument->RemoveView(this);
}

CFrameWnd* CView::GetParentFrame() const
{
    for (HWND h = m_hWnd ? ::GetParent(m_hWnd) : nullptr; h; h = ::GetParent(h))
        if (auto* frame = dynamic_cast<CFrameWnd*>(CWnd::FromHandle(h)))
            return frame;
    return nullptr;
}

bool CView::CreateViewWindow(CFrameWnd* parent, UINT id)
{
    constexpr wchar_t kViewClass[] = L"JotstackView";
    if (!CWnd::RegisterWindowClass(kViewClass, CS_DBLCLKS, nullptr,
                                   ::LoadCursorW(nullptr, IDC_ARROW),
                                   reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1)))
        return false;
    return CreateEx(WS_EX_CLIENTEDGE, kViewClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, 0, 0,
                    parent->m_hWnd, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)));
}

bool CView::CreateView(CFrameWnd* parent, UINT id, CCreateContext* context)
{
    if (!CreateViewWindow(parent, id))
        return false;
    if (context && context->m_pCurrentDoc)
        context->m_pCurrentDoc->AddView(this);
    return true;
}

void CView::OnActivateView(bool activate, CView*, CView*)
{
    if (activate && m_hWnd && ::GetFocus() != m_hWnd) {
        CFrameWnd* frame = GetParentFrame();
        // Only a frame that is really active gets its view focused.
        if (frame && (!frame->GetParent() || ::IsChild(::GetActiveWindow(), m_hWnd)))
            ::SetFocus(m_hWnd);
    }
}

bool CView::OnCmdMsg(CmdRequest& req)
{
    if (CWnd::OnCmdMsg(req))
        return true;
    return m_pDocument && m_pDocument->OnCmdMsg(req);
}

LRESULT CView::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_SETFOCUS:
        if (CFrameWnd* frame = GetParentFrame())
            frame->SetActiveView(this, false);
        break;
    case WM_DESTROY:
        if (CFrameWnd* frame = GetParentFrame(); frame && frame->GetActiveView() == this)
            frame->SetActiveView(nullptr, false);
        break;
    }
    return CWnd::WindowProc(msg, wp, lp);
}

// ---- CDocTemplate --------------------------------------------------------------

CDocTemplate::CDocTemplate(UINT idResource, DocFactory doc, FrameFactory frame, ViewFactory view)
    : m_nIDResource(idResource),
      m_newDoc(std::move(doc)),
      m_newFrame(std::move(frame)),
      m_newView(std::move(view))
{
    HINSTANCE inst = ::GetModuleHandleW(nullptr);
    m_hMenuShared = ::LoadMenuW(inst, MAKEINTRESOURCEW(idResource));
    m_hAccelTable = ::LoadAcceleratorsW(inst, MAKEINTRESOURCEW(idResource));
}

CDocTemplate::~CDocTemplate()
{
    for (CDocument* doc : m_docList)
        doc->m_pDocTemplate = nullptr;
    if (m_hMenuShared)
        ::DestroyMenu(m_hMenuShared);
}

CDocument* CDocTemplate::OpenDocumentFile(const wchar_t*)
{
    CDocument* doc = m_newDoc ? m_newDoc() : nullptr;
    if (!doc)
        return nullptr;
    doc->m_pDocTemplate = this;
    m_docList.push_back(doc);
    // The document must not go away with a frame that failed half-way.
    doc->m_bAutoDelete = false;
    CMDIChildWnd* frame = CreateNewFrame(doc, nullptr);
    doc->m_bAutoDelete = true;
    if (!frame) {
        delete doc;
        return nullptr;
    }
    if (!doc->OnNewDocument()) {
        frame->DestroyWindow();
        return nullptr;
    }
    InitialUpdateFrame(frame, doc, true);
    return doc;
}

CMDIChildWnd* CDocTemplate::CreateNewFrame(CDocument* doc, CFrameWnd*)
{
    CWinApp* app = AfxGetApp();
    if (!app || !m_newFrame)
        return nullptr;
    CCreateContext context;
    context.m_pCurrentDoc = doc;
    context.m_pNewDocTemplate = this;
    context.m_newView = m_newView;

    CMDIChildWnd* frame = m_newFrame();
    if (!frame)
        return nullptr;
    frame->m_hMenuShared = m_hMenuShared;
    frame->m_hAccelTable = m_hAccelTable;
    bool deleted = false;
    frame->m_pDeletedFlag = &deleted;
    bool ok = frame->LoadFrame(m_nIDResource, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                               app->m_pMainWnd, &context);
    if (deleted)
        return nullptr;
    frame->m_pDeletedFlag = nullptr;
    if (!ok) {
        delete frame;
        return nullptr;
    }
    return frame;
}

void CDocTemplate::InitialUpdateFrame(CMDIChildWnd* frame, CDocument*, bool makeVisible)
{
    if (!frame->GetActiveView()) {
        if (auto* view = dynamic_cast<CView*>(CWnd::FromHandle(frame->GetDlgItem(AFX_IDW_PANE_FIRST))))
            frame->SetActiveView(view, false);
    }
    if (CView* view = frame->GetActiveView())
        view->OnInitialUpdate();
    if (makeVisible) {
        frame->ActivateFrame();
        frame->OnUpdateFrameTitle(true);
    }
}

void CDocTemplate::CloseAllDocuments()
{
    std::vector<CDocument*> docs = m_docList;
    for (CDocument* doc : docs)
        doc->OnCloseDocument();
}

void CDocTemplate::RemoveDocument(CDocument* doc)
{
    m_docList.erase(std::remove(m_docList.begin(), m_docList.end(), doc), m_docList.end());
}

std::wstring CDocTemplate::GetDocString(int index) const
{
    std::wstring all = str::Load(m_nIDResource);
    size_t start = 0;
    for (int i = 0; i < index; ++i) {
        size_t lf = all.find(L'\n', start);
        if (lf == std::wstring::npos)
            return {};
        start = lf + 1;
    }
    size_t end = all.find(L'\n', start);
    return all.substr(start, end == std::wstring::npos ? std::wstring::npos : end - start);
}
