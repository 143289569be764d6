#include "notes/jotstack_doc.h"

#include "app/main_frame.h"
#include "framework/app.h"
#include "notes/child_frame.h"
#include "notes/jotstack_view.h"
#include "notes/storage_codec.h"
#include "notes/storage_file.h"

namespace {

CMainFrame* MainFrame()
{
    CWinApp* app = AfxGetApp();
    return app ? dynamic_cast<CMainFrame*>(app->m_pMainWnd) : nullptr;
}

std::wstring ToWide(std::u16string_view s)
{
    return std::wstring(reinterpret_cast<const wchar_t*>(s.data()), s.size());
}

std::u16string_view ToU16(const std::wstring& s)
{
    return {reinterpret_cast<const char16_t*>(s.data()), s.size()};
}

}  // namespace

bool CJotstackDoc::LoadNotes()
{
    // The path is set directly, so the title stays as it is.
    m_strPathName = notesfile::StoragePath();
    std::string bytes;
    // Another program may hold the file or be rewriting it for a moment (a
    // virus scanner, a sync client): try again for about two seconds
    // before giving up.
    notesfile::ReadResult read = notesfile::ReadSettledFile(m_strPathName, bytes);
    for (int retry = 0; retry < 10 && read == notesfile::ReadResult::Failed; ++retry) {
        ::Sleep(200);
        read = notesfile::ReadSettledFile(m_strPathName, bytes);
    }
    if (read == notesfile::ReadResult::Failed)
        return false;
    std::vector<storage::Page> pages = storage::ParseFile(bytes, notesfile::SystemCodePage());
    bytes.clear();
    bytes.shrink_to_fit();
    int counter = 0;
    m_bLoading = true;
    size_t placed = 0;
    for (; placed < pages.size(); ++placed) {
        if (!AddPage(counter, ToWide(pages[placed].text), ToWide(pages[placed].name)))
            break;
    }
    m_bLoading = false;
    // A notebook with more pages than the system gives windows for keeps
    // the rest as it is, so that saving never drops them.
    for (size_t i = placed; i < pages.size(); ++i)
        m_unplaced.emplace_back(ToWide(pages[i].name), ToWide(pages[i].text));
    if (!m_unplaced.empty()) {
        CWinApp* app = AfxGetApp();
        std::wstring text = L"抱歉，记录文件中的页签太多，有 " + std::to_wstring(m_unplaced.size()) +
                            L" 个页签未能打开。它们会原样保留在记录文件中。";
        ::MessageBoxW(nullptr, text.c_str(), app ? app->m_strAppName.c_str() : L"",
                      MB_OK | MB_ICONEXCLAMATION);
    }
    return true;
}

bool CJotstackDoc::AddPage(int& counter, const std::wstring& text, const std::wstring& name)
{
    CMainFrame* main = MainFrame();
    if (!main)
        return false;
    CJotstackView* view = nullptr;
    if (counter == 0) {
        view = dynamic_cast<CJotstackView*>(GetFirstView());
    } else {
        CMDIChildWnd* frame = m_pDocTemplate ? m_pDocTemplate->CreateNewFrame(this, nullptr) : nullptr;
        if (!frame)
            return false;
        m_pDocTemplate->InitialUpdateFrame(frame, this, true);
        view = dynamic_cast<CJotstackView*>(main->GetActiveNoteView());
    }
    if (!view)
        return false;
    view->SetPageText(text, m_bLoading);
    main->SetPageName(view, ToWide(storage::NormalizePageName(ToU16(name))));
    ++counter;
    return true;
}

bool CJotstackDoc::AnyPageModified() const
{
    for (CView* view : m_viewList)
        if (auto* page = dynamic_cast<CJotstackView*>(view); page && page->GetModify())
            return true;
    return false;
}

bool CJotstackDoc::SaveNotes()
{
    if (!AnyPageModified())
        return true;
    // An empty file or one holding only the byte-order mark is not worth a
    // backup; the previous backup stays.
    m_bKeepBackup = notesfile::FileSize(m_strPathName) > 2;
    m_bExport = false;
    bool saved = OnSaveDocument(m_strPathName.c_str());
    m_bKeepBackup = false;
    return saved;
}

DWORD CJotstackDoc::WriteCopy(const std::wstring& path)
{
    return notesfile::WriteFileSafely(path, EncodeNotes(false), nullptr);
}

void CJotstackDoc::OnFileSave()
{
    // Ctrl+S and the framework's save command: the frame saves and tells the
    // user when it failed.
    if (CMainFrame* main = MainFrame())
        main->SaveNotes(SaveOccasion::Hide, true);
    else
        SaveNotes();
}

void CJotstackDoc::OnFileSaveAs()
{
    m_bExport = true;
    std::wstring remembered = m_strPathName;
    DoSave(nullptr, true);
    if (!m_strPathName.empty())
        m_strPathName = remembered;
    m_bExport = false;
}

std::string CJotstackDoc::EncodeNotes(bool exportForm) const
{
    storage::Encoder encoder(exportForm ? storage::Form::Export : storage::Form::Storage);
    CMainFrame* main = MainFrame();
    const int count = main ? main->GetTabCtrl().GetItemCount() : 0;
    for (int i = 0; i < count; ++i) {
        CChildFrame* frame = main->GetPageFrame(i);
        auto* view = frame ? dynamic_cast<CJotstackView*>(frame->GetActiveView()) : nullptr;
        if (!view)
            continue;
        std::wstring name = frame->GetWindowText();
        std::wstring text = view->GetPageText();
        encoder.AddPage(ToU16(name), ToU16(text));
    }
    for (const auto& [name, text] : m_unplaced)
        encoder.AddPage(ToU16(name), ToU16(text));
    return std::move(encoder.Bytes());
}

bool CJotstackDoc::OnSaveDocument(const wchar_t* path)
{
    CMainFrame* main = MainFrame();
    if (!main || !path || !*path) {
        m_dwLastSaveError = ERROR_INVALID_NAME;
        return false;
    }
    const std::wstring target = path;
    const std::wstring backup = notesfile::BackupPath(target);
    DWORD err = notesfile::WriteFileSafely(target, EncodeNotes(m_bExport),
                                           m_bKeepBackup ? &backup : nullptr);
    m_dwLastSaveError = err;
    if (err != 0) {
        if (m_bExport) {
            // The user chose this file just now: say at once why it failed.
            std::u16string text = u"抱歉，笔记未能导出到这个文件。\r\n\r\n";
            text += SaveFailureReason(notesfile::ClassifySaveError(err));
            CWinApp* app = AfxGetApp();
            ::MessageBoxW(main->m_hWnd, reinterpret_cast<const wchar_t*>(text.c_str()),
                          app ? app->m_strAppName.c_str() : L"", MB_OK | MB_ICONEXCLAMATION);
        }
        return false;
    }
    if (!m_bExport) {
        for (CView* view : m_viewList)
            if (auto* page = dynamic_cast<CJotstackView*>(view))
                page->SetModify(false);
        SetModifiedFlag(false);
    }
    return true;
}
