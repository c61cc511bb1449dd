// Replays a fuzz target's corpus without the fuzzer: every file of the folder named goes once
// through LLVMFuzzerTestOneInput, in name order. Built with the ordinary compiler, so the normal
// and the sanitizer test runs both replay the corpus.

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

int main(int argc, char** argv) {
    namespace fs = std::filesystem;
    std::vector<fs::path> inputs;
    std::error_code ec;
    if (argc == 2)
        for (const auto& entry : fs::directory_iterator(argv[1], ec)) inputs.push_back(entry.path());
    std::sort(inputs.begin(), inputs.end());
    for (const fs::path& path : inputs) {
        std::ifstream in(path, std::ios::binary);
        const std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        std::fprintf(stderr, "%s\n", path.filename().c_str());  // names an input that breaks an invariant
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    }
    std::printf("replayed %zu inputs\n", inputs.size());
    return inputs.empty() ? 2 : 0;  // no corpus is a broken test
}
