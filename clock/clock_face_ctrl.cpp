#include "clock/clock_face_ctrl.h"

#include <ctime>

#include "clock/moon_picture.h"
#include "framework/handles.h"

namespace {

constexpr UINT_PTR kTickTimer = 1;
constexpr UINT kTickMs = 1000;

long long UtcDayNumber()
{
    return static_cast<long long>(std::time(nullptr)) / 86400;
}

POINT ToPoint(clockface::Point p)
{
    return POINT{p.x, p.y};
}

}  // namespace

CClockFaceCtrl::CClockFaceCtrl() : m_nMoonDay(UtcDayNumber()) {}

bool CClockFaceCtrl::Create(HWND parent, const RECT& rect, UINT id)
{
    if (!CreateControl(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_OWNERDRAW, rect, parent, id))
        return false;
    Start();
    return true;
}

void CClockFaceCtrl::Start()
{
    if (!m_bRunning)
        return;
    Measure();
    if (m_hWnd) {
        WindowDc dc(m_hWnd);
        const RECT client = GetClientRect();
        UniqueBrush back(::CreateSolidBrush(m_crBackground));
        ::FillRect(dc.Get(), &client, back.Get());
        Update(dc.Get(), m_shown.hour, m_shown.minute, m_shown.second, m_shown.millisecond, true, false);
    }
    if (m_nTimer == 0) {
        SYSTEMTIME now{};
        ::GetLocalTime(&now);
        WindowDc dc(m_hWnd);
        Update(dc.Get(), now.wHour % 12, now.wMinute, now.wSecond, now.wMilliseconds, false, MoonDayChanged());
        m_nTimer = ::SetTimer(m_hWnd, kTickTimer, kTickMs, nullptr);
    }
}

void CClockFaceCtrl::Measure()
{
    const RECT client = GetClientRect();
    m_dial = clockface::MeasureDial(client.right - client.left, client.bottom - client.top);
    if (m_hWnd)
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

void CClockFaceCtrl::SetShowSecondHand(bool show)
{
    if (show == m_bShowSecond)
        return;
    m_bShowSecond = show;
    if (m_hWnd)
        ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CClockFaceCtrl::SetShowMoon(bool show)
{
    if (show == m_bShowMoon)
        return;
    m_bShowMoon = show;
    if (m_hWnd)
        ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

bool CClockFaceCtrl::MoonDayChanged()
{
    return clockface::TakeNewMoonDay(m_nMoonDay, UtcDayNumber(), m_bShowMoon);
}

clockface::UpdateKind CClockFaceCtrl::Update(HDC dc, int hour, int minute, int second, int millisecond,
                                             bool full, bool force)
{
    using clockface::Hand;
    using clockface::UpdateKind;
    const clockface::FaceTime next{hour, minute, second, millisecond, clockface::HourHandPosition(hour, minute)};
    const UpdateKind kind = clockface::DecideUpdate(m_shown, next, full, force, m_bShowSecond);

    switch (kind) {
    case UpdateKind::Full:
    case UpdateKind::Redraw:
        if (kind == UpdateKind::Redraw) {
            if (m_bShowSecond)
                DrawHand(dc, m_shown.second, Hand::Second, false);
            if (m_bShowHour)
                DrawHand(dc, m_shown.hourHandPos, Hand::Hour, false);
            if (m_bShowMinute)
                DrawHand(dc, m_shown.minute, Hand::Minute, false);
        }
        if (m_bShowMoon)
            DrawMoonNow(m_hWnd, dc);
        if (m_bShowHour)
            DrawHand(dc, next.hourHandPos, Hand::Hour, true);
        if (m_bShowMinute)
            DrawHand(dc, next.minute, Hand::Minute, true);
        if (m_bShowSecond)
            DrawHand(dc, next.second, Hand::Second, true);
        break;
    case UpdateKind::SecondOnly:
        DrawHand(dc, m_shown.second, Hand::Second, false);
        DrawHand(dc, next.second, Hand::Second, true);
        break;
    case UpdateKind::Nothing:
        break;
    }
    m_shown = next;
    return kind;
}

void CClockFaceCtrl::DrawHand(HDC dc, int pos, clockface::Hand hand, bool draw)
{
    const auto outline = clockface::HandOutline(m_dial, pos, hand);
    if (hand == clockface::Hand::Second) {
        // NOT-XOR: the same line drawn twice gives back what lay under it.
        UniquePen pen(::CreatePen(PS_SOLID, 0, m_crSecond));
        SelectObjectScope selectPen(dc, pen.Get());
        const int oldRop = ::SetROP2(dc, R2_NOTXORPEN);
        ::MoveToEx(dc, outline[0].x, outline[0].y, nullptr);
        ::LineTo(dc, outline[1].x, outline[1].y);
        ::SetROP2(dc, oldRop);
        return;
    }
    const COLORREF fill = !draw ? m_crBackground : hand == clockface::Hand::Hour ? m_crHour : m_crMinute;
    UniqueBrush brush(::CreateSolidBrush(fill));
    UniquePen pen(::CreatePen(PS_SOLID, 1, draw ? kOutlineColour : m_crBackground));
    SelectObjectScope selectBrush(dc, brush.Get());
    SelectObjectScope selectPen(dc, pen.Get());
    const POINT points[4] = {ToPoint(outline[0]), ToPoint(outline[1]), ToPoint(outline[2]), ToPoint(outline[3])};
    ::Polygon(dc, points, 4);
}

void CClockFaceCtrl::Draw3dFrame(HDC dc, const clockface::Box& box)
{
    const int w = box.right - box.left;
    const int h = box.bottom - box.top;
    HBRUSH light = ::GetSysColorBrush(COLOR_BTNHIGHLIGHT);
    HBRUSH shadow = ::GetSysColorBrush(COLOR_BTNSHADOW);
    RECT top{box.left, box.top, box.left + w - 1, box.top + 1};
    RECT left{box.left, box.top, box.left + 1, box.top + h - 1};
    RECT right{box.right - 1, box.top, box.right, box.bottom};
    RECT bottom{box.left, box.bottom - 1, box.right, box.bottom};
    ::FillRect(dc, &top, light);
    ::FillRect(dc, &left, light);
    ::FillRect(dc, &right, shadow);
    ::FillRect(dc, &bottom, shadow);
}

void CClockFaceCtrl::DrawMarks(HDC dc)
{
    if (!m_bShowMarks)
        return;
    UniqueBrush tick(::CreateSolidBrush(m_crTick));
    SelectObjectScope selectBrush(dc, tick.Get());
    SelectObjectScope selectPen(dc, ::GetStockObject(BLACK_PEN));
    for (int i = 0; i < 60; ++i) {
        const clockface::Point centre = clockface::DialPoint(m_dial, i, 0.9);
        if (i % 5 == 0) {
            const clockface::Box box = clockface::MajorMarkBox(m_dial, centre);
            ::Rectangle(dc, box.left, box.top, box.right, box.bottom);
            if (m_bRaisedMarks)
                Draw3dFrame(dc, box);
        } else if (m_bShowMinuteMarks) {
            Draw3dFrame(dc, clockface::MinorMarkBox(centre));
        }
    }
}

LRESULT CClockFaceCtrl::WindowProc(UINT msg, WPARAM wp, LPARAM lp)
{
    switch (msg) {
    case WM_PAINT:
        OnPaint();
        return 0;
    case WM_ERASEBKGND: {
        const RECT client = GetClientRect();
        UniqueBrush back(::CreateSolidBrush(m_crBackground));
        ::FillRect(reinterpret_cast<HDC>(wp), &client, back.Get());
        return 1;
    }
    case WM_SIZE: {
        const LRESULT result = CWnd::WindowProc(msg, wp, lp);
        Measure();
        return result;
    }
    case WM_TIMER: {
        const LRESULT result = CWnd::WindowProc(msg, wp, lp);
        OnTimer(static_cast<UINT_PTR>(wp));
        return result;
    }
    case WM_DESTROY:
        m_bRunning = false;
        if (m_nTimer) {
            ::KillTimer(m_hWnd, m_nTimer);
            m_nTimer = 0;
        }
        break;
    }
    return CWnd::WindowProc(msg, wp, lp);
}

void CClockFaceCtrl::OnPaint()
{
    if (m_dial.radiusX == -1)
        Measure();
    PAINTSTRUCT ps{};
    HDC dc = ::BeginPaint(m_hWnd, &ps);
    DrawMarks(dc);
    Update(dc, m_shown.hour, m_shown.minute, m_shown.second, m_shown.millisecond, true, false);
    ::EndPaint(m_hWnd, &ps);
}

void CClockFaceCtrl::OnTimer(UINT_PTR id)
{
    if (id != m_nTimer || !m_hWnd)
        return;
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    const bool force = MoonDayChanged();
    {
        WindowDc dc(m_hWnd);
        Update(dc.Get(), now.wHour % 12, now.wMinute, now.wSecond, now.wMilliseconds, false, force);
    }
    // Four times a minute the whole face is painted afresh.
    if (now.wSecond % 15 == 0)
        ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_UPDATENOW | RDW_ERASE | RDW_INVALIDATE);
}
