#include "app/tools_commands.h"

#include "app/auto_start.h"
#include "app/jotstack_app.h"
#include "app/main_frame.h"
#include "app/os_actions.h"
#include "app/para_block.h"
#include "app/power_tools.h"
#include "app/shell_paths.h"
#include "app/transparency_dlg.h"
#include "res/resource.h"

namespace {

// The notes (with the window and page states) are written before anything
// that may end the logon. This is the one place the tools do it.
bool SaveNotesBeforeLogonEnds(CMainFrame& frame)
{
    // A failed save tells the user why, and the logon stays alive so that
    // nothing typed is lost. The window and page states follow the notes.
    if (!frame.SaveNotes(SaveOccasion::PowerCommand, true))
        return false;
    return frame.SaveState();
}

bool HasLayeredWindows()
{
    auto* app = dynamic_cast<CJotstackApp*>(AfxGetApp());
    return app && app->m_pfnSetLayeredWindowAttributes;
}

}  // namespace

void OpenUserGuide(COsActions& os, HWND owner, const std::wstring& exePath)
{
    // The guide is the executable's path with ".htm" in place of ".exe",
    // so a renamed program looks for a guide of its new name.
    std::wstring guide = shellpaths::GuidePath(exePath);
    DWORD attr = ::GetFileAttributesW(guide.c_str());
    if (attr == INVALID_FILE_ATTRIBUTES || (attr & FILE_ATTRIBUTE_DIRECTORY)) {
        os.MessageBox(owner, L"抱歉，找不到帮助文件。\n请下载完整的ZIP文件。", MB_OK);
        return;
    }
    std::wstring folder = shellpaths::FolderOf(guide);
    os.ShellOpen(owner, guide.c_str(), folder.c_str(), SW_SHOWMAXIMIZED);
}

bool HandleToolsCommand(CMainFrame& frame, CmdRequest& req)
{
    switch (req.id) {
    case ID_AUTO_START:
        return req.Run([&frame] { ToggleAutoStart(DefaultAutoStartPlace(frame.m_hWnd)); },
                       [&frame](CCmdUI& ui) {
                           ui.SetCheck(IsAutoStartOn(DefaultAutoStartPlace(frame.m_hWnd)) ? 1 : 0);
                       });
    case ID_USER_GUIDE:
        return req.Run([&frame] { OpenUserGuide(RealOsActions(), frame.m_hWnd, ModulePath()); });
    case ID_TRANSPARENCY:
        return req.Run(
            [&frame] {
                CTransparencyDlg dlg(&frame);
                if (dlg.DoModal() == IDOK)
                    frame.ApplyTransparency();
            },
            [](CCmdUI& ui) { ui.Enable(HasLayeredWindows()); });
    }
    CPowerTools tools(RealOsActions(), &frame, [&frame] { return SaveNotesBeforeLogonEnds(frame); });
    return tools.HandleCommand(req);
}
