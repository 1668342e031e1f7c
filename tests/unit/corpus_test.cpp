// Replays every saved fuzz input through the fuzz target. Under the sanitizer build any
// out-of-bounds access, leak or undefined behaviour the corpus once found fails here.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/unit/test_util.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

TEST(FuzzCorpus, EveryInputIsHandled) {
    namespace fs = std::filesystem;
    int count = 0;
    for (const auto& entry : fs::directory_iterator(KORVANE_FUZZ_CORPUS)) {
        std::vector<uint8_t> bytes = ReadBytes(entry.path().string());
        LLVMFuzzerTestOneInput(bytes.data(), bytes.size());
        count++;
    }
    EXPECT_GT(count, 20) << "the corpus is missing";
}
