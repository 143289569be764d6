#include "html/attribute_names.h"

namespace html {

bool AttributeNames::ByName::operator()(std::uint32_t a, std::uint32_t b) const
{
    return (*owner->m_list)[a].name < (*owner->m_list)[b].name;
}

void AttributeNames::AddIndexed(std::vector<Attribute>& list, Attribute&& attribute)
{
    // A tag that has just reached the limit: its names so far (all
    // different) go into the index. The other tests only guard against a
    // list that did not grow through here.
    const std::size_t n = list.size();
    if (n == kIndexFrom || m_list != &list || m_index.size() != n) {
        m_list = &list;
        m_index.clear();
        for (std::uint32_t i = 0; i < n; ++i) m_index.insert(i);
    }
    list.push_back(std::move(attribute));
    if (!m_index.insert(static_cast<std::uint32_t>(n)).second) list.pop_back();
}

}  // namespace html
