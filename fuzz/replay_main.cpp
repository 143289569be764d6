// Replays fuzzing inputs through a harness without libFuzzer: every file
// named on the command line, and every file inside every folder named there
// (sorted, so a failure always shows on the same input). Used by the native
// test build to keep each corpus as a regression test.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
extern "C" __attribute__((weak)) int LLVMFuzzerInitialize(int* argc, char*** argv);

namespace {

bool RunFile(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", file.c_str());
        return false;
    }
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::fprintf(stderr, "replaying %s (%zu bytes)\n", file.c_str(), bytes.size());
    // An empty vector may hand out a null pointer; libFuzzer never does.
    static const uint8_t kNothing = 0;
    LLVMFuzzerTestOneInput(bytes.empty() ? &kNothing : bytes.data(), bytes.size());
    return true;
}

}  // namespace

int main(int argc, char** argv)
{
    if (LLVMFuzzerInitialize)
        LLVMFuzzerInitialize(&argc, &argv);
    // The empty input first: every harness must take it.
    static const uint8_t kNothing = 0;
    LLVMFuzzerTestOneInput(&kNothing, 0);
    size_t count = 1;
    bool ok = true;
    for (int i = 1; i < argc; ++i) {
        std::filesystem::path arg(argv[i]);
        std::error_code ec;
        if (std::filesystem::is_directory(arg, ec)) {
            std::vector<std::filesystem::path> files;
            for (const auto& entry : std::filesystem::directory_iterator(arg, ec))
                if (entry.is_regular_file())
                    files.push_back(entry.path());
            std::sort(files.begin(), files.end());
            for (const auto& f : files) {
                ok = RunFile(f) && ok;
                ++count;
            }
        } else if (std::filesystem::exists(arg, ec)) {
            ok = RunFile(arg) && ok;
            ++count;
        } else {
            std::fprintf(stderr, "no corpus at %s (only the empty input replayed)\n", argv[i]);
        }
    }
    std::printf("%zu inputs replayed\n", count);
    return ok ? 0 : 1;
}
