// Runs a fuzz target over every file of its seed corpus and of the crashes
// found so far, as part of the regular suite: inputs that once broke the code
// stay tests for good.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

TEST(FuzzCorpus, EveryStoredInputRunsClean) {
  int files = 0;
  for (const char* dir : {FUZZ_CORPUS_DIR, FUZZ_CRASHES_DIR}) {
    if (!std::filesystem::is_directory(dir)) continue;
    for (const auto& entry : std::filesystem::directory_iterator(dir)) {
      if (!entry.is_regular_file()) continue;
      std::ifstream in(entry.path(), std::ios::binary);
      const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
      SCOPED_TRACE(entry.path().string());
      EXPECT_EQ(LLVMFuzzerTestOneInput(bytes.data(), bytes.size()), 0);
      ++files;
    }
  }
  EXPECT_GT(files, 0) << "no seed corpus found in " << FUZZ_CORPUS_DIR;
}
