// Replays fuzz inputs through a target without libFuzzer, so that builds
// with other compilers (GCC, the sanitizer build) run the committed corpora
// as tests too. A violated property aborts, as it does under libFuzzer.
// Usage: TARGET_replay FILE_OR_FOLDER...
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

namespace fs = std::filesystem;

// The files an argument names: itself, or those in the folder, in name
// order so that a failure names the same input on every run.
std::vector<fs::path> inputsIn(const fs::path& argument) {
    if (!fs::is_directory(argument)) return {argument};
    std::vector<fs::path> files;
    for (const fs::directory_entry& entry : fs::directory_iterator(argument))
        if (entry.is_regular_file()) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    return files;
}

bool replay(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "cannot read %s\n", file.c_str());
        return false;
    }
    const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in),
                                          std::istreambuf_iterator<char>()};
    std::fprintf(stderr, "%s\n", file.c_str());  // named before a crash
    LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::size_t replayed = 0;
    for (int i = 1; i < argc; ++i)
        for (const fs::path& file : inputsIn(argv[i])) {
            if (!replay(file)) return 1;
            ++replayed;
        }
    std::printf("replayed %zu inputs\n", replayed);
    // An empty corpus replays nothing: that is a mistake, not a pass.
    return replayed > 0 ? 0 : 1;
}
