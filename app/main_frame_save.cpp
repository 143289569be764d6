// CMainFrame: the save paths. Close, Esc, minimise, "退出", Ctrl+S and the
// end of the logon all come here; none of them may lose a note when the
// storage file cannot be written.
#include "app/main_frame.h"

#include "app/emergency_copy.h"
#include "app/para_block.h"
#include "app/position_record.h"
#include "framework/app.h"
#include "framework/strings.h"
#include "notes/child_frame.h"
#include "notes/jotstack_doc.h"
#include "notes/jotstack_view.h"
#include "notes/storage_file.h"

namespace {

using PFN_ShutdownBlockReasonCreate = BOOL(WINAPI*)(HWND, LPCWSTR);
using PFN_ShutdownBlockReasonDestroy = BOOL(WINAPI*)(HWND);

// Shutdown-block reasons exist from Windows Vista on; looked up by name.
template <typename Fn>
Fn User32Function(const char* name)
{
    HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    return user32 ? reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(user32, name)))
                  : nullptr;
}

std::wstring FromU16(std::u16string_view s)
{
    return std::wstring(reinterpret_cast<const wchar_t*>(s.data()), s.size());
}

}  // namespace

bool CMainFrame::SaveNotes(SaveOccasion occasion, bool userAsked)
{
    CJotstackDoc* doc = GetNotesDoc();
    if (!doc)
        return true;
    if (doc->SaveNotes()) {
        m_saveFailures.Succeeded();
        return true;
    }
    TellSaveFailure(occasion, userAsked);
    return false;
}

void CMainFrame::TellSaveFailure(SaveOccasion occasion, bool userAsked)
{
    if (!m_saveFailures.Failed(userAsked))
        return;
    CJotstackDoc* doc = GetNotesDoc();
    const SaveFailure why = notesfile::ClassifySaveError(doc ? doc->LastSaveError() : 0);
    const std::wstring path = notesfile::StoragePath();
    const std::u16string text = SaveFailureMessage(
        why, occasion, std::u16string_view(reinterpret_cast<const char16_t*>(path.data()), path.size()));
    CWinApp* app = AfxGetApp();
    // The frame may be hidden in the tray: the box must come up on top by
    // itself.
    ::MessageBoxW(m_hWnd, FromU16(text).c_str(), app ? app->m_strAppName.c_str() : L"Jotstack",
                  MB_OK | MB_ICONSTOP | MB_SETFOREGROUND | MB_TOPMOST);
}

bool CMainFrame::SaveState()
{
    WINDOWPLACEMENT wp{};
    wp.length = sizeof(wp);
    if (::GetWindowPlacement(m_hWnd, &wp)) {
        PositionRecord r;
        r.flags = IsZoomed() ? WPF_RESTORETOMAXIMIZED : 0;
        r.showCmd = wp.showCmd;
        r.minX = wp.ptMinPosition.x;
        r.minY = wp.ptMinPosition.y;
        r.maxX = wp.ptMaxPosition.x;
        r.maxY = wp.ptMaxPosition.y;
        r.left = wp.rcNormalPosition.left;
        r.top = wp.rcNormalPosition.top;
        r.right = wp.rcNormalPosition.right;
        r.bottom = wp.rcNormalPosition.bottom;
        const std::wstring pos = str::FromUtf8(FormatPositionRecord(r));
        if (pos != m_strWrittenPos) {
            IniWriteString(L"Position", L"WindowPos", pos);
            m_strWrittenPos = pos;
        }
    }
    bool saved = true;
    if (CJotstackDoc* doc = GetNotesDoc()) {
        saved = doc->SaveNotes();
        if (saved)
            m_saveFailures.Succeeded();
        doc->SaveViewStates();
        // Every settings write rewrites the whole INI file, which holds a
        // section per page: only a change is worth one.
        const int current = doc->CurrentPage();
        if (current != g_paraBlock.GetPara(PARA_CUR_VIEW))
            g_paraBlock.SetPara(PARA_CUR_VIEW, current);
    }
    return saved;
}

LRESULT CMainFrame::OnQueryEndSession()
{
    if (SaveState())
        return TRUE;
    // The logon ends whatever we do; the notes must survive somewhere the
    // user can write to, and the next start says where.
    CJotstackDoc* doc = GetNotesDoc();
    const std::wstring storage = notesfile::StoragePath();
    if (doc && !emergency::WriteCopy(*doc, storage).empty())
        return TRUE;
    // Not even that worked: ask Windows to wait and say why.
    if (auto create = User32Function<PFN_ShutdownBlockReasonCreate>("ShutdownBlockReasonCreate")) {
        create(m_hWnd, FromU16(EndSessionBlockReason()).c_str());
        m_bBlockingShutdown = true;
    }
    // Once the logoff is called off the user learns what to do.
    m_saveFailures.Failed(false);
    return FALSE;
}

void CMainFrame::OnEndSession(bool ending)
{
    if (!ending && m_bBlockingShutdown) {
        if (auto destroy = User32Function<PFN_ShutdownBlockReasonDestroy>("ShutdownBlockReasonDestroy"))
            destroy(m_hWnd);
        m_bBlockingShutdown = false;
        TellSaveFailure(SaveOccasion::Hide, true);
    }
}
