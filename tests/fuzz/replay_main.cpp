// Runs the model file fuzz target over saved inputs, so that every input the fuzzer ever
// kept, and every one that once found a fault, stays a regression test of the ordinary
// build. Arguments are files or folders (every regular file in a folder, in name order);
// a failed check inside the target aborts the run.

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
    for (int k = 1; k < argc; ++k) {
        const fs::path given(argv[k]);
        std::error_code error;
        if (fs::is_directory(given, error)) {
            std::vector<fs::path> files;
            for (const fs::directory_entry& entry : fs::directory_iterator(given, error)) {
                if (entry.is_regular_file()) files.push_back(entry.path());
            }
            std::sort(files.begin(), files.end());
            inputs.insert(inputs.end(), files.begin(), files.end());
        } else if (fs::is_regular_file(given, error)) {
            inputs.push_back(given);
        } else {
            std::fprintf(stderr, "fuzz replay: %s is neither a file nor a folder\n", argv[k]);
            return 1;
        }
    }
    if (inputs.empty()) {
        std::fprintf(stderr, "fuzz replay: no inputs given\n");
        return 1;
    }
    for (const fs::path& path : inputs) {
        std::ifstream file(path, std::ios::binary);
        const std::string data{std::istreambuf_iterator<char>(file),
                               std::istreambuf_iterator<char>()};
        if (!file.good() && !file.eof()) {
            std::fprintf(stderr, "fuzz replay: cannot read %s\n", path.c_str());
            return 1;
        }
        std::fprintf(stderr, "%s\n", path.c_str());
        LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(data.data()), data.size());
    }
    std::fprintf(stderr, "fuzz replay: %zu inputs passed\n", inputs.size());
    return 0;
}
