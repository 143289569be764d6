// CWinApp: the one application object. The framework's WinMain calls its
// InitInstance and then runs the message loop with accelerators and idle
// command-state updates until the main window is gone.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "framework/cmdtarget.h"

class CWnd;
class CDocTemplate;

class CWinApp : public CCmdTarget {
public:
    CWinApp();
    ~CWinApp() override;

    HINSTANCE m_hInstance = nullptr;
    CWnd* m_pMainWnd = nullptr;
    std::wstring m_strAppName;       // string 57344, "Jotstack"
    std::wstring m_strRegistryKey;   // SetRegistryKey

    virtual bool InitInstance() { return true; }
    virtual int ExitInstance() { return m_nExitCode; }
    virtual int Run();
    // Accelerators and dialog keys of the main window; true when consumed.
    virtual bool PreTranslateMessage(MSG* msg);
    // Called while the queue is empty; returns true to be called again.
    virtual bool OnIdle(long count);

    void AddDocTemplate(CDocTemplate* tmpl);   // takes ownership
    CDocTemplate* GetFirstDocTemplate() const;
    void SetRegistryKey(const wchar_t* key) { m_strRegistryKey = key; }
    // Creates a new document through the first template (framework File-New).
    void OnFileNew();
    // Closes every document of every template (at the end of the program).
    void CloseAllDocuments();

    int m_nExitCode = 0;

protected:
    bool HandleCommand(CmdRequest& req) override;

private:
    std::vector<std::unique_ptr<CDocTemplate>> m_templates;
};

// The application object (there is exactly one).
CWinApp* AfxGetApp();
