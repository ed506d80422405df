// Runs a fuzz target outside libFuzzer: over every file of the folders given on the command line,
// then over a fixed series of pseudo-random inputs, so that the ordinary test suite (and its
// sanitizer build) keeps exercising what fuzzing found.
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size);

int main(int argc, char *argv[])
{
    size_t files = 0;
    for (int i = 1; i < argc; ++i) {
        std::error_code error;
        for (const auto &entry : std::filesystem::recursive_directory_iterator(argv[i], error)) {
            if (!entry.is_regular_file())
                continue;
            std::ifstream in(entry.path(), std::ios::binary);
            std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
            ++files;
        }
    }
    std::mt19937 random(20261208);
    std::vector<uint8_t> bytes;
    for (int round = 0; round < 2000; ++round) {
        bytes.resize(random() % 4096);
        for (auto &byte : bytes) {
            // Mostly the bytes that matter to the parsers, sometimes anything.
            static constexpr uint8_t kInteresting[] = {'$', '\r', '\n', 0, '{', '}', '\\', 'a', 'e', '1', ' '};
            byte = random() % 4 ? kInteresting[random() % sizeof kInteresting] : static_cast<uint8_t>(random());
        }
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
    }
    std::printf("replayed %zu corpus files and 2000 generated inputs\n", files);
    return 0;
}
