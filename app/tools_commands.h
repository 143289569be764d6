// The main frame's entry for the tool commands: screen and power tools,
// auto-start, the user guide and the transparency dialog.
#pragma once

#include <string>

#include "framework/cmdtarget.h"

class CMainFrame;
class COsActions;

// Runs or updates those commands with the real system; false for others.
bool HandleToolsCommand(CMainFrame& frame, CmdRequest& req);

// Opens the user guide beside the executable (its path with ".htm"), or says
// that it is missing. A folder of that name is no guide either.
void OpenUserGuide(COsActions& os, HWND owner, const std::wstring& exePath);
