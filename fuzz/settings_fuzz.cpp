// The settings block from a hostile INI file: any value for any key (the
// missing-key marker -1 included), on any work area. Properties: loading
// never crashes, every limited setting ends inside its limits, the limits
// are idempotent, and a missing key keeps its default.
#include <cstdint>
#include <string_view>

#include "app/para_table.h"
#include "fuzz/fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in(data, size);
    para::WorkArea work{in.Take<int32_t>(), in.Take<int32_t>(), in.Take<int32_t>(), in.Take<int32_t>()};
    if (in.Take<uint8_t>() & 1)   // mostly a real screen, sometimes anything at all
        work = {work.left % 4000, work.top % 4000, work.left % 4000 + (work.right & 0x1FFF),
                work.top % 4000 + (work.bottom & 0x1FFF)};
    int32_t stored[para::kCount];
    for (int32_t& v : stored) {
        const uint8_t kind = in.Take<uint8_t>();
        v = kind < 64 ? -1 : in.Take<int32_t>();
    }

    const para::Values defaults = para::Defaults(work);
    para::Values values = defaults;
    int asked = 0;
    para::Load(
        values,
        [&](const char* key) {
            for (int i = 0; i < para::kCount; ++i)
                if (std::string_view(key) == para::KeyName(i)) {
                    ++asked;
                    return stored[i];
                }
            FuzzCheck(false);   // a key that is not in the table
            return -1;
        },
        work);
    FuzzCheck(asked == para::kCount);

    FuzzCheck(values[PARA_CLOCK_RADIUS] >= 50 && values[PARA_CLOCK_RADIUS] <= 200);
    FuzzCheck(values[PARA_CLOCK_TRANSPARENCY] >= 0 && values[PARA_CLOCK_TRANSPARENCY] <= 100);
    FuzzCheck(values[PARA_TRANSPARENCY] >= 0 && values[PARA_TRANSPARENCY] <= 100);
    FuzzCheck(values[PARA_FLOAT_WND_TRANS] >= 0 && values[PARA_FLOAT_WND_TRANS] <= 80);
    const long long w = static_cast<long long>(work.right) - work.left - 10;
    const long long h = static_cast<long long>(work.bottom) - work.top - 10;
    for (int i : {PARA_CLOCK_X, PARA_FLOAT_WND_X}) {
        FuzzCheck(values[i] >= 0);
        FuzzCheck(w < 0 ? values[i] == 0 : values[i] <= w);
    }
    for (int i : {PARA_CLOCK_Y, PARA_FLOAT_WND_Y}) {
        FuzzCheck(values[i] >= 0);
        FuzzCheck(h < 0 ? values[i] == 0 : values[i] <= h);
    }
    for (int i = 0; i < para::kCount; ++i)
        if (stored[i] == -1 && i != PARA_CLOCK_X && i != PARA_CLOCK_Y && i != PARA_FLOAT_WND_X &&
            i != PARA_FLOAT_WND_Y && i != PARA_CLOCK_RADIUS && i != PARA_CLOCK_TRANSPARENCY &&
            i != PARA_TRANSPARENCY && i != PARA_FLOAT_WND_TRANS)
            FuzzCheck(values[static_cast<size_t>(i)] == defaults[static_cast<size_t>(i)]);

    para::Values again = values;
    para::ApplyLimits(again, work);
    FuzzCheck(again == values);

    FuzzCheck(para::KeyName(-1) == nullptr && para::KeyName(para::kCount) == nullptr);
    return 0;
}
