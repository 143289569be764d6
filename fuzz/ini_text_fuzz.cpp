// The INI file as the program reads and rewrites it in one go, from any
// bytes (ANSI, UTF-8, UTF-16 either way round, broken lines, odd lengths).
// Properties: reading never crashes; rewriting some view-state sections
// makes exactly those read back with the new values, leaves every other
// section's value as it was, and rewriting again with the same sections
// changes nothing.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "notes/ini_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    const int sections = in.TakeInRange(0, 8);
    std::vector<std::pair<std::string, ini::IniText::Keys>> changes;
    for (int i = 0; i < sections; ++i) {
        const int index = in.TakeInRange(0, 20);
        changes.push_back({"View" + std::to_string(index),
                           {{"PARA_START_CHAR", std::to_string(in.Take<int32_t>())},
                            {"PARA_FIRST_LINE", std::to_string(in.Take<uint16_t>())}}});
    }
    const size_t used = 4 + static_cast<size_t>(sections) * 10;
    const std::string bytes = size > used ? std::string(reinterpret_cast<const char*>(data) + used, size - used)
                                          : std::string();

    const ini::IniText before(bytes);
    ini::IniText text(bytes);
    (void)text.Int("ParaBlock", "PARA_CUR_VIEW");
    text.ReplaceSections(changes);
    const std::string once = text.Bytes();
    const ini::IniText after(once);

    auto changed = [&](const std::string& name) {
        for (const auto& c : changes)
            if (c.first == name)
                return true;
        return false;
    };
    for (int index = 0; index <= 20; ++index) {
        const std::string name = "View" + std::to_string(index);
        if (!changed(name)) {
            FuzzCheck(after.Value(name, "PARA_START_CHAR") == before.Value(name, "PARA_START_CHAR"));
            continue;
        }
        // The first mention of a name is what its section holds now.
        for (const auto& c : changes) {
            if (c.first != name)
                continue;
            FuzzCheck(after.Value(name, "PARA_START_CHAR") == c.second[0].second);
            FuzzCheck(after.Value(name, "PARA_FIRST_LINE") == c.second[1].second);
            break;
        }
    }
    FuzzCheck(after.Value("ParaBlock", "PARA_CUR_VIEW") == before.Value("ParaBlock", "PARA_CUR_VIEW") ||
              changed("ParaBlock"));

    ini::IniText again(once);
    again.ReplaceSections(changes);
    ini::IniText third(again.Bytes());
    for (const auto& c : changes)
        FuzzCheck(third.Value(c.first, "PARA_START_CHAR") == after.Value(c.first, "PARA_START_CHAR"));
    return 0;
}
