#include "tabstrip/tab_strip_logic.h"

namespace tabstrip {

int CommandOfButton(ScrollButton b)
{
    switch (b) {
    case ScrollButton::First: return kCmdFirst;
    case ScrollButton::Previous: return kCmdPrevious;
    case ScrollButton::Next: return kCmdNext;
    case ScrollButton::Last: return kCmdLast;
    }
    return 0;
}

LayoutMode LayoutModeOfButton(ScrollButton b)
{
    switch (b) {
    case ScrollButton::First: return LayoutMode::First;
    case ScrollButton::Previous: return LayoutMode::Previous;
    case ScrollButton::Next: return LayoutMode::Next;
    case ScrollButton::Last: return LayoutMode::Last;
    }
    return LayoutMode::Fit;
}

int TabStripLogic::InsertItem(int index, std::u16string_view label, uintptr_t data)
{
    const int result = m_model.Insert(index, label, data);
    if (result >= 0)
        LayOut(LayoutMode::Fit, result);
    return result;
}

int TabStripLogic::AppendItems(const std::vector<std::pair<std::u16string, uintptr_t>>& items)
{
    int result = kOk;
    for (const auto& [label, data] : items) {
        const int at = m_model.Insert(m_model.Count(), label, data);
        if (at < 0) {
            result = at;
            break;
        }
    }
    LayOut(LayoutMode::Fit, m_model.Selection());
    return result;
}

int TabStripLogic::DeleteItem(int index)
{
    const int result = m_model.Delete(index);
    if (result == kOk)
        LayOut(LayoutMode::Fit, index);
    return result;
}

int TabStripLogic::SetCurSel(int index)
{
    const int result = m_model.Select(index);
    if (result == kOk)
        LayOut(LayoutMode::Fit, index);
    return result;
}

int TabStripLogic::SetItemText(int index, std::u16string_view label)
{
    const int result = m_model.SetLabel(index, label);
    if (result == kOk)
        LayOut(LayoutMode::Fit, index);
    return result;
}

void TabStripLogic::SetClientSize(StripSize size)
{
    m_size = size;
    if (size.width != 0 && size.height != 0)
        LayOut(LayoutMode::Fit, m_model.Selection());
}

void TabStripLogic::LayOut(LayoutMode mode, int index)
{
    LayOutTabs(m_model, mode, index, m_size, m_measure);
}

void TabStripLogic::RemeasureAll()
{
    for (TabItem& item : m_model.Items())
        item.labelWidth = -1;
}

int TabStripLogic::HitTest(TabPoint p) const
{
    return tabstrip::HitTest(m_model, m_buttons.Present(), m_size, p);
}

ClickOutcome TabStripLogic::Click(int hit, uint32_t now)
{
    ClickOutcome out;
    if (IsButtonHit(hit) && m_buttons.IsPresent(ButtonOfHit(hit))) {
        const ScrollButton b = ButtonOfHit(hit);
        const ButtonEffects fx = m_buttons.Press(b, now);
        // One press scrolls the strip a step here and, through the posted
        // command, moves the selection by one tab.
        LayOut(LayoutModeOfButton(b), m_model.Selection());
        out.repaint = true;
        out.startTimer = fx.startTimer;
        out.postCommand = CommandOfButton(b);
        return out;
    }
    m_buttons.PressNothing();
    if (!m_model.IsValid(hit) || hit == m_model.Selection())
        return out;
    m_model.Select(hit);
    LayOut(LayoutMode::ClickedTab, hit);
    out.repaint = true;
    out.notifySelection = true;
    return out;
}

ButtonEffects TabStripLogic::MouseMove(TabPoint p, bool leftButtonDown)
{
    return m_buttons.MouseMove(HitTest(p), leftButtonDown);
}

bool TabStripLogic::RepeatTick(uint32_t now)
{
    const auto b = m_buttons.TakeRepeatStep(now);
    if (!b)
        return false;
    // Repeats only scroll; the selection moved once, at the press.
    LayOut(LayoutModeOfButton(*b), m_model.Selection());
    return true;
}

CommandOutcome TabStripLogic::ScrollCommand(int id)
{
    CommandOutcome out;
    const int sel = m_model.Selection();
    const int count = m_model.Count();
    switch (id) {
    case kCmdPrevious:
        out.handled = true;
        if (sel != 0) {
            // With no selection this fails, and the notification says -1.
            SetCurSel(sel - 1);
            out.notify = true;
        }
        break;
    case kCmdNext:
        out.handled = true;
        if (sel < count - 1) {
            SetCurSel(sel + 1);
            out.notify = true;
        }
        break;
    case kCmdFirst:
        out.handled = true;
        if (count > 0) {
            SetCurSel(0);
            m_model.SetFirstVisible(0);
            LayOut(LayoutMode::Fit, 0);
        }
        out.notify = true;
        break;
    case kCmdLast:
        out.handled = true;
        SetCurSel(count - 1);
        out.notify = true;
        break;
    default:
        break;
    }
    return out;
}

bool TabStripLogic::SelectAndNotify(int index)
{
    return SetCurSel(index) == kOk;
}

NotifyRecord TabStripLogic::MakeNotification(int item, TabPoint point) const
{
    NotifyRecord rec;
    rec.item = item;
    const TabItem* it = m_model.Item(item);
    if (!it)
        return rec;
    CutNotifyLabelInto(it->label, rec.label);
    rec.data = it->data;
    rec.rect = it->rect;
    rec.point = point;
    rec.selected = it->selected ? 1 : 0;
    rec.highlighted = it->highlighted ? 1 : 0;
    return rec;
}

}  // namespace tabstrip
