// Runs a fuzz target once on every file of the corpus folders (or files) given, as the fuzzer
// would, so the normal build keeps every input that ever found a fault passing.
#include "FuzzSupport.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

std::vector<std::uint8_t> ReadFile(const std::filesystem::path& Path)
{
    std::ifstream file(Path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<std::filesystem::path> inputs;
    for (int i = 1; i < argc; ++i) {
        const std::filesystem::path path = argv[i];
        if (std::filesystem::is_directory(path)) {
            for (const auto& entry : std::filesystem::directory_iterator(path))
                if (entry.is_regular_file())
                    inputs.push_back(entry.path());
        } else if (std::filesystem::is_regular_file(path)) {
            inputs.push_back(path);
        } else {
            std::fprintf(stderr, "No such corpus: %s\n", argv[i]);
            return 2;
        }
    }
    std::sort(inputs.begin(), inputs.end());
    for (const std::filesystem::path& path : inputs) {
        // The name goes out first, so a crash shows which input it was.
        std::fprintf(stderr, "%s\n", path.c_str());
        const std::vector<std::uint8_t> data = ReadFile(path);
        LLVMFuzzerTestOneInput(data.data(), data.size());
    }
    std::printf("Replayed %zu inputs\n", inputs.size());
    return inputs.empty() ? 1 : 0;
}
