// A start tag's attributes, and their duplicate rule (the first of two
// equal names counts) in time that does not grow with the number seen:
// a tag with a few attributes is searched directly, as that is fastest;
// one with many gets an ordered index of its names, so that a hostile tag
// with hundreds of thousands of attributes costs n log n, not n².
#pragma once

#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace html {

struct Attribute {
    std::string name;        // lower-case ASCII, other characters as UTF-8
    std::u16string value;
};

class AttributeNames {
public:
    AttributeNames() : m_index(ByName{this}) {}
    AttributeNames(const AttributeNames&) = delete;
    AttributeNames& operator=(const AttributeNames&) = delete;

    // Appends attribute to list unless list already has one of that name.
    // list is the one tag's list, grown only through here (it may be
    // cleared for the next tag at any time).
    void Add(std::vector<Attribute>& list, Attribute&& attribute)
    {
        if (list.size() >= kIndexFrom) {
            AddIndexed(list, std::move(attribute));
            return;
        }
        for (const Attribute& a : list) {
            if (a.name == attribute.name) return;
        }
        list.push_back(std::move(attribute));
    }

    // From this many attributes on, names are looked up in the index.
    static constexpr std::size_t kIndexFrom = 16;

private:
    void AddIndexed(std::vector<Attribute>& list, Attribute&& attribute);

    struct ByName {
        const AttributeNames* owner;
        bool operator()(std::uint32_t a, std::uint32_t b) const;
    };

    const std::vector<Attribute>* m_list = nullptr;
    std::set<std::uint32_t, ByName> m_index;   // positions in *m_list
};

}  // namespace html
