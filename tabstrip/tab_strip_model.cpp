#include "tabstrip/tab_strip_model.h"

#include <new>
#include <stdexcept>

#include "tabstrip/tab_label.h"

namespace tabstrip {

int TabStripModel::Insert(int index, std::u16string_view label, uintptr_t data)
{
    if (index < 0 || index > Count())
        return kErrBadIndex;
    try {
        TabItem item;
        item.label = CutItemLabel(label);
        item.data = data;
        m_items.insert(m_items.begin() + index, std::move(item));
    } catch (const std::bad_alloc&) {
        return kErrNoMemory;
    } catch (const std::length_error&) {
        return kErrNoMemory;
    }
    if (m_selection >= index)
        ++m_selection;
    return index;
}

int TabStripModel::Delete(int index)
{
    if (!IsValid(index))
        return kErrBadIndex;
    const int count = Count();
    m_items.erase(m_items.begin() + index);
    if (count == 1) {
        m_selection = -1;
    } else if (index == m_selection) {
        // The item after it slides into the same index; only a removed last
        // item hands the selection back to its left neighbour.
        if (m_selection == count - 1)
            --m_selection;
        m_items[size_t(m_selection)].selected = true;
    } else if (index < m_selection) {
        --m_selection;
    }
    return kOk;
}

int TabStripModel::Select(int index)
{
    if (!IsValid(index))
        return kErrBadIndex;
    if (TabItem* old = Item(m_selection))
        old->selected = false;
    m_selection = index;
    m_items[size_t(index)].selected = true;
    return kOk;
}

int TabStripModel::SetLabel(int index, std::u16string_view label)
{
    TabItem* item = Item(index);
    if (!item)
        return kErrBadIndex;
    item->label = CutItemLabel(label);
    item->labelWidth = -1;
    return kOk;
}

int TabStripModel::FindByData(uintptr_t data) const
{
    for (size_t i = 0; i < m_items.size(); ++i)
        if (m_items[i].data == data)
            return static_cast<int>(i);
    return -1;
}

}  // namespace tabstrip
