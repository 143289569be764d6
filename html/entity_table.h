// The HTML standard's named character references, generated from Python's
// html.entities.html5 by tools/gen_html_entities.py.
#pragma once

#include <cstddef>

namespace html {

struct NamedReference {
    const char* name;    // with its ";" when the reference has one
    char32_t first;      // the code points it stands for
    char32_t second;     // 0 when it stands for one code point
};

extern const NamedReference kNamedReferences[];
extern const std::size_t kNamedReferenceCount;

}  // namespace html
