// The page tab strip's model and layout with random item sets, labels,
// label widths, strip sizes and scroll operations. Properties: no crash;
// the selection is an item or none; the scroll position stays within the
// items; every hit test answers an item, a button or nothing.
#include <array>
#include <cstdint>

#include "fuzz/fuzz_input.h"
#include "tabstrip/tab_label.h"
#include "tabstrip/tab_layout.h"
#include "tabstrip/tab_strip_model.h"

using namespace tabstrip;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    TabStripModel model;
    // Label widths come from the input too: zero, negative (a failed
    // measurement) and huge ones included.
    const int widthScale = in.TakeInRange(-2, 400);
    TextWidthFn measure = [&](std::u16string_view label) {
        return widthScale < 0 ? -1 : static_cast<int>(label.size()) * widthScale;
    };

    for (int step = 0; step < 64 && !in.Empty(); ++step) {
        const int op = in.TakeInRange(0, 7);
        const int index = in.TakeInRange(-2, model.Count() + 2);
        switch (op) {
        case 0:
        case 1: {
            const std::u16string label = in.TakeText(60);
            const int r = model.Insert(index, label, static_cast<uintptr_t>(step));
            FuzzCheck(r == kErrBadIndex || r == kErrNoMemory || (r >= 0 && r < model.Count()));
            if (r >= 0)
                FuzzCheck(model.Item(r)->label == CutItemLabel(label));
            break;
        }
        case 2:
            model.Delete(index);
            break;
        case 3:
            model.Select(index);
            break;
        case 4:
            model.SetLabel(index, in.TakeText(60));
            break;
        default: {
            const StripSize strip{in.TakeInRange(-10, 5000), in.TakeInRange(-10, 200)};
            const auto mode = static_cast<LayoutMode>(in.TakeInRange(0, 5));
            LayOutTabs(model, mode, index, strip, measure);
            FuzzCheck(model.FirstVisible() >= 0);
            FuzzCheck(model.FirstVisible() <= (model.Count() > 0 ? model.Count() - 1 : 0));
            std::array<bool, kButtonCount> present{};
            for (bool& b : present)
                b = in.Take<uint8_t>() & 1;
            for (int k = 0; k < 4; ++k) {
                const TabPoint p{in.TakeInRange(-20, strip.width + 20), in.TakeInRange(-20, strip.height + 20)};
                const int hit = HitTest(model, present, strip, p);
                FuzzCheck(hit == kHitNothing || IsButtonHit(hit) || model.IsValid(hit));
                if (IsButtonHit(hit))
                    FuzzCheck(present[static_cast<size_t>(ButtonOfHit(hit))]);
            }
            break;
        }
        }
        FuzzCheck(model.Selection() == -1 || model.IsValid(model.Selection()));
        FuzzCheck(model.Count() == 0 ? model.Selection() == -1 : true);
    }
    return 0;
}
