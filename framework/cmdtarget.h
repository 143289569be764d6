// The bottom of our small application framework: the object root, command
// requests and the command-target base that every window, document and the
// application derive from.
#pragma once

#include <windows.h>

class CObject {
public:
    virtual ~CObject() = default;
};

// A user-interface element whose state follows a command: a menu item, a
// toolbar button or a status-bar pane. Update handlers set it through this.
class CCmdUI {
public:
    explicit CCmdUI(UINT id) : m_nID(id) {}
    virtual ~CCmdUI() = default;
    virtual void Enable(bool on = true) { m_bEnableChanged = true; m_bEnabled = on; }
    virtual void SetCheck(int check = 1) { m_nCheck = check; }
    virtual void SetText(const wchar_t* text) {}

    UINT m_nID;
    bool m_bEnableChanged = false;
    bool m_bEnabled = true;
    int m_nCheck = -1;   // -1: not touched
};

// How a command travels: executed, asked for its state, or only asked
// whether anybody handles it (commands nobody handles are shown disabled).
enum class CmdMode { Execute, Update, Probe };

struct CmdRequest {
    UINT id;
    CmdMode mode;
    CCmdUI* ui;   // only for CmdMode::Update

    // A command with a handler and no state of its own.
    template <class F>
    bool Run(F&& onCommand) {
        if (mode == CmdMode::Execute) {
            onCommand();
            return true;
        }
        return mode == CmdMode::Probe;
    }
    // A command with a handler and a state.
    template <class F, class U>
    bool Run(F&& onCommand, U&& onUpdate) {
        if (mode == CmdMode::Execute)
            onCommand();
        else if (mode == CmdMode::Update)
            onUpdate(*ui);
        return true;
    }
    // Only a state; the command itself is handled further along the route.
    template <class U>
    bool Update(U&& onUpdate) {
        if (mode != CmdMode::Update)
            return false;
        onUpdate(*ui);
        return true;
    }
};

// Commands go view -> document -> frame -> application. Each target's own
// handlers live in HandleCommand (a switch over the ids it knows); OnCmdMsg
// is the route and is overridden only by the classes that pass commands on.
class CCmdTarget : public CObject {
public:
    virtual bool OnCmdMsg(CmdRequest& req) { return HandleCommand(req); }

protected:
    virtual bool HandleCommand(CmdRequest& req) { return false; }
};
