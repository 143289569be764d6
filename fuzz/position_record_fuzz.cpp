// The window position record from a hostile INI file. Properties: parsing
// never crashes; a parsed record written back and parsed again is the same
// record; a minimised show command is always corrected; the usability check
// takes any record and any desktop.
#include <cstdint>
#include <string_view>

#include "app/position_record.h"
#include "fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    auto record = ParsePositionRecord(text);
    if (record) {
        const std::string written = FormatPositionRecord(*record);
        auto back = ParsePositionRecord(written);
        FuzzCheck(back.has_value());
        FuzzCheck(back->flags == record->flags && back->showCmd == record->showCmd);
        FuzzCheck(back->minX == record->minX && back->minY == record->minY);
        FuzzCheck(back->maxX == record->maxX && back->maxY == record->maxY);
        FuzzCheck(back->left == record->left && back->top == record->top);
        FuzzCheck(back->right == record->right && back->bottom == record->bottom);
        FuzzCheck(FormatPositionRecord(*back) == written);

        const unsigned show = CorrectShowCommand(record->showCmd);
        FuzzCheck(show != 2 && show != 6 && show != 7);

        // The same bytes read as a desktop, too.
        FuzzInput in(data, size);
        ScreenBox screen{in.Take<int32_t>(), in.Take<int32_t>(), in.Take<int32_t>(), in.Take<int32_t>()};
        const bool usable = IsUsablePlacement(*record, screen);
        if (usable) {
            FuzzCheck(record->right > record->left && record->bottom > record->top);
            FuzzCheck(record->showCmd <= 11);
        }
        IsUsablePlacement(*record, ScreenBox{0, 0, 1280, 800});
    }
    return 0;
}
