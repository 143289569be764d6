// The screen and power commands run against the recording fake: which
// system calls they make, in which order (the notes are saved first) and
// with which arguments, on both Windows families; the menu states; and the
// lock screen with its unlock gestures (reachable on the older family only).
#include <gtest/gtest.h>

#include "app/lock_screen_dlg.h"
#include "app/power_tools.h"
#include "framework/wnd.h"
#include "res/resource.h"
#include "tests/win32/fake_os_actions.h"

namespace {

using Log = std::vector<std::string>;

class PowerToolsTest : public ::testing::Test {
protected:
    CPowerTools Tools()
    {
        return CPowerTools(os, nullptr, [this] {
            os.Add("save");
            return saveSucceeds;
        });
    }
    void Run(UINT id)
    {
        CPowerTools tools = Tools();
        CmdRequest req{id, CmdMode::Execute, nullptr};
        ASSERT_TRUE(tools.HandleCommand(req));
    }
    CCmdUI Update(UINT id)
    {
        CCmdUI ui(id);
        CPowerTools tools = Tools();
        CmdRequest req{id, CmdMode::Update, &ui};
        EXPECT_TRUE(tools.HandleCommand(req));
        return ui;
    }

    FakeOsActions os;
    bool saveSucceeds = true;
};

}  // namespace

// ---- Commands that end the logon --------------------------------------------

TEST_F(PowerToolsTest, ShutdownOnNtSavesEnablesThePrivilegeAndPowersOff)
{
    Run(ID_SHUTDOWN);
    EXPECT_EQ(os.log, (Log{"save", "privilege", "exit-windows(0x8,0x80010001)"}));
}

TEST_F(PowerToolsTest, ShutdownOnWindows9xSavesAndShutsDownWithoutReason)
{
    os.ntFamily = false;
    Run(ID_SHUTDOWN);
    EXPECT_EQ(os.log, (Log{"save", "exit-windows(0x1,0x0)"}));
}

TEST_F(PowerToolsTest, ShutdownWithUnknownVersionUsesNoReason)
{
    os.ntFamily = std::nullopt;
    Run(ID_SHUTDOWN);
    EXPECT_EQ(os.log, (Log{"save", "exit-windows(0x1,0x0)"}));
}

TEST_F(PowerToolsTest, ShutdownWithoutThePrivilegeStopsAfterSaving)
{
    os.privilegeGranted = false;
    Run(ID_SHUTDOWN);
    EXPECT_EQ(os.log, (Log{"save", "privilege"}));
}

TEST_F(PowerToolsTest, RestartRebootsOnBothFamilies)
{
    Run(ID_RESTART);
    EXPECT_EQ(os.log, (Log{"save", "privilege", "exit-windows(0x2,0x80010001)"}));
    os.log.clear();
    os.ntFamily = false;
    Run(ID_RESTART);
    EXPECT_EQ(os.log, (Log{"save", "exit-windows(0x2,0x0)"}));
}

TEST_F(PowerToolsTest, SuspendWaitsThenAsksForStandby)
{
    Run(ID_HIBERNATE);
    EXPECT_EQ(os.log, (Log{"save", "sleep(500)", "privilege", "power-state(1,0)"}));
    os.log.clear();
    os.ntFamily = false;
    Run(ID_HIBERNATE);
    EXPECT_EQ(os.log, (Log{"save", "sleep(500)", "power-state(1,0)"}));
}

TEST_F(PowerToolsTest, SuspendWithoutThePrivilegeDoesNothingMore)
{
    os.privilegeGranted = false;
    Run(ID_HIBERNATE);
    EXPECT_EQ(os.log, (Log{"save", "sleep(500)", "privilege"}));
}

TEST_F(PowerToolsTest, FastShutdownLogsOffThenCallsTheNativeShutdown)
{
    Run(ID_FAST_SHUTDOWN);
    EXPECT_EQ(os.log, (Log{"save", "exit-windows(0x0,0xFFFFFFFF)", "privilege", "nt-shutdown(2)"}));
    os.log.clear();
    Run(ID_FAST_RESTART);
    EXPECT_EQ(os.log, (Log{"save", "exit-windows(0x0,0xFFFFFFFF)", "privilege", "nt-shutdown(1)"}));
}

TEST_F(PowerToolsTest, FastShutdownGoesOnWithoutThePrivilege)
{
    os.privilegeGranted = false;
    Run(ID_FAST_SHUTDOWN);
    EXPECT_EQ(os.log, (Log{"save", "exit-windows(0x0,0xFFFFFFFF)", "privilege", "nt-shutdown(2)"}));
}

TEST_F(PowerToolsTest, FastShutdownWithoutNtShutdownSystemOnlyLogsOff)
{
    os.hasNtShutdown = false;
    Run(ID_FAST_SHUTDOWN);
    EXPECT_EQ(os.log, (Log{"save", "exit-windows(0x0,0xFFFFFFFF)", "privilege"}));
}

TEST_F(PowerToolsTest, FastShutdownOnWindows9xOnlySaves)
{
    os.ntFamily = false;
    Run(ID_FAST_SHUTDOWN);
    Run(ID_FAST_RESTART);
    EXPECT_EQ(os.log, (Log{"save", "save"}));
}

TEST_F(PowerToolsTest, AFailedSaveKeepsTheLogonAlive)
{
    saveSucceeds = false;
    for (UINT id : {ID_SHUTDOWN, ID_RESTART, ID_HIBERNATE, ID_FAST_SHUTDOWN, ID_FAST_RESTART})
        Run(id);
    EXPECT_EQ(os.log, (Log{"save", "save", "save", "save", "save"}));
}

// ---- Screen saver and monitor --------------------------------------------------

TEST_F(PowerToolsTest, ScreenSaverToggleTwiceRestoresTheSetting)
{
    os.saverActive = true;
    Run(ID_SCREEN_SAVER_OFF);
    EXPECT_FALSE(os.saverActive);
    Run(ID_SCREEN_SAVER_OFF);
    EXPECT_TRUE(os.saverActive);
    // The change is written to the user profile.
    EXPECT_EQ(os.log, (Log{"saver-active(0,persist)", "saver-active(1,persist)"}));
}

TEST_F(PowerToolsTest, ScreenSaverCheckFollowsTheSystemSetting)
{
    os.saverActive = true;
    EXPECT_EQ(Update(ID_SCREEN_SAVER_OFF).m_nCheck, 0);
    os.saverActive = false;   // another program switched it off
    EXPECT_EQ(Update(ID_SCREEN_SAVER_OFF).m_nCheck, 1);
}

TEST_F(PowerToolsTest, StartingADisabledScreenSaverExplainsAndStops)
{
    os.saverActive = false;
    Run(ID_SCREEN_SAVER_ON);
    EXPECT_EQ(os.log, (Log{"message"}));
    EXPECT_EQ(os.lastMessage, L"请先允许使用屏保。");
}

TEST_F(PowerToolsTest, StartingTheScreenSaverWaitsFirst)
{
    Run(ID_SCREEN_SAVER_ON);
    EXPECT_EQ(os.log, (Log{"sleep(500)", "start-saver"}));
}

TEST_F(PowerToolsTest, MonitorOffWaitsFirst)
{
    Run(ID_MONITOR_OFF);
    EXPECT_EQ(os.log, (Log{"sleep(500)", "monitor-off"}));
}

TEST_F(PowerToolsTest, NoToolSavesUnlessItCanEndTheLogon)
{
    Run(ID_SCREEN_SAVER_OFF);
    Run(ID_SCREEN_SAVER_ON);
    Run(ID_MONITOR_OFF);
    for (const std::string& line : os.log)
        EXPECT_NE(line, "save");
}

// ---- Menu states by family -----------------------------------------------------

TEST_F(PowerToolsTest, LockScreenIsGreyedOnNtOnly)
{
    CCmdUI nt = Update(ID_LOCK_SCREEN);
    EXPECT_TRUE(nt.m_bEnableChanged);
    EXPECT_FALSE(nt.m_bEnabled);
    os.ntFamily = false;
    EXPECT_TRUE(Update(ID_LOCK_SCREEN).m_bEnabled);
}

TEST_F(PowerToolsTest, FastCommandsAreEnabledOnNtOnly)
{
    EXPECT_TRUE(Update(ID_FAST_SHUTDOWN).m_bEnabled);
    EXPECT_TRUE(Update(ID_FAST_RESTART).m_bEnabled);
    os.ntFamily = false;
    EXPECT_FALSE(Update(ID_FAST_SHUTDOWN).m_bEnabled);
    EXPECT_FALSE(Update(ID_FAST_RESTART).m_bEnabled);
    os.ntFamily = std::nullopt;
    EXPECT_FALSE(Update(ID_FAST_RESTART).m_bEnabled);
}

TEST_F(PowerToolsTest, OtherCommandsAreNotTheTools)
{
    CPowerTools tools = Tools();
    CmdRequest req{ID_FILE_SAVE, CmdMode::Execute, nullptr};
    EXPECT_FALSE(tools.HandleCommand(req));
    EXPECT_TRUE(os.log.empty());
}

// ---- Lock screen ---------------------------------------------------------------

namespace {

// What the timer does next to the lock window, one step per tick.
std::vector<std::function<void(HWND)>> g_lockSteps;
size_t g_lockStep = 0;
bool g_lockSeenOpen = false;

BOOL CALLBACK MatchDialog(HWND hwnd, LPARAM lp)
{
    wchar_t cls[32] = {};
    ::GetClassNameW(hwnd, cls, 32);
    if (std::wstring(cls) == L"#32770" && ::IsWindowVisible(hwnd)) {
        *reinterpret_cast<HWND*>(lp) = hwnd;
        return FALSE;
    }
    return TRUE;
}

HWND FindLockWindow()
{
    HWND found = nullptr;
    ::EnumThreadWindows(::GetCurrentThreadId(), MatchDialog, reinterpret_cast<LPARAM>(&found));
    return found;
}

void CALLBACK LockStepTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    HWND lock = FindLockWindow();
    if (!lock)
        return;
    g_lockSeenOpen = true;
    if (g_lockStep < g_lockSteps.size())
        g_lockSteps[g_lockStep++](lock);
    if (g_lockStep >= g_lockSteps.size())
        ::KillTimer(nullptr, id);
}

// Runs the lock command with the steps driven from a thread timer (the
// dialog's modal loop dispatches it).
void RunLocked(CPowerTools& tools, std::vector<std::function<void(HWND)>> steps)
{
    g_lockSteps = std::move(steps);
    g_lockStep = 0;
    g_lockSeenOpen = false;
    UINT_PTR timer = ::SetTimer(nullptr, 0, 50, LockStepTimer);
    tools.LockScreen();
    ::KillTimer(nullptr, timer);
}

void Click(HWND lock, UINT msg, WPARAM keys)
{
    ::SendMessageW(lock, msg, keys, MAKELPARAM(100, 100));
}

}  // namespace

TEST_F(PowerToolsTest, LockScreenUnlocksWithCtrlShiftClickOnly)
{
    os.ntFamily = false;
    os.saverActive = false;   // switched off before locking
    CPowerTools tools = Tools();
    std::vector<bool> stillOpen;
    auto check = [&](HWND lock) { stillOpen.push_back(::IsWindowVisible(lock) != FALSE); };
    RunLocked(tools, {
        [&](HWND lock) { Click(lock, WM_LBUTTONUP, 0); },
        check,
        [&](HWND lock) { Click(lock, WM_RBUTTONUP, 0); },
        check,
        [&](HWND lock) { Click(lock, WM_LBUTTONUP, MK_CONTROL); },
        check,
        [&](HWND lock) { Click(lock, WM_LBUTTONUP, MK_SHIFT); },
        check,
        [&](HWND lock) { Click(lock, WM_LBUTTONUP, MK_CONTROL | MK_SHIFT); },
    });
    EXPECT_TRUE(g_lockSeenOpen);
    EXPECT_EQ(stillOpen, (std::vector<bool>{true, true, true, true}));
    EXPECT_EQ(FindLockWindow(), nullptr);
    // Saver off and "running" around the dialog; active again afterwards.
    EXPECT_EQ(os.log, (Log{"saver-active(0)", "saver-running(1)", "saver-running(1)",
                           "saver-running(0)", "saver-active(1)", "saver-running(0)"}));
    EXPECT_TRUE(os.saverActive);
}

TEST_F(PowerToolsTest, LockScreenUnlocksWithRightClickWhileLeftHeld)
{
    os.ntFamily = false;
    CPowerTools tools = Tools();
    RunLocked(tools, {[](HWND lock) { Click(lock, WM_RBUTTONUP, MK_LBUTTON); }});
    EXPECT_TRUE(g_lockSeenOpen);
    EXPECT_EQ(FindLockWindow(), nullptr);
}

TEST_F(PowerToolsTest, LockScreenCoversTheScreenAndSwallowsTheScreenSaver)
{
    os.ntFamily = false;
    CPowerTools tools = Tools();
    RECT covered{};
    LRESULT saverAnswer = 0;
    RunLocked(tools, {
        [&](HWND lock) {
            ::GetWindowRect(lock, &covered);
            saverAnswer = ::SendMessageW(lock, WM_SYSCOMMAND, SC_SCREENSAVE, 0);
        },
        [](HWND lock) { Click(lock, WM_LBUTTONUP, MK_CONTROL | MK_SHIFT); },
    });
    EXPECT_EQ(covered.left, 0);
    EXPECT_EQ(covered.top, 0);
    EXPECT_EQ(covered.right, ::GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(covered.bottom, ::GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(saverAnswer, 1);
}

TEST_F(PowerToolsTest, LockScreenEnterShowsTheHintOncePerPress)
{
    os.ntFamily = false;
    CPowerTools tools = Tools();
    std::vector<bool> hint;
    auto look = [&](HWND lock) {
        HWND text = ::GetDlgItem(lock, IDC_LOCK_TEXT);
        hint.push_back(text && (::GetWindowLongW(text, GWL_STYLE) & WS_VISIBLE));
    };
    auto enter = [](HWND lock) { ::SendMessageW(lock, WM_COMMAND, IDOK, 0); };
    RunLocked(tools, {
        look,
        [&](HWND lock) { enter(lock); look(lock); },
        // A held key repeats within half a second: no change.
        [&](HWND lock) { enter(lock); look(lock); },
        [&](HWND lock) { ::Sleep(600); enter(lock); look(lock); },
        [&](HWND lock) { ::Sleep(600); ::SendMessageW(lock, WM_COMMAND, IDCANCEL, 0); look(lock); },
        [](HWND lock) { Click(lock, WM_LBUTTONUP, MK_CONTROL | MK_SHIFT); },
    });
    EXPECT_EQ(hint, (std::vector<bool>{false, true, true, false, true}));
    EXPECT_EQ(FindLockWindow(), nullptr);
}
