// Every input kept for the fuzz targets, the valid files they were seeded
// with and every input that once made one fail, runs again as an ordinary
// test: a loader that breaks on one of them stops this test.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "fuzz_target.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> read_file(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Runs every file of a folder through the target; the number run.
int replay(kelvane::fuzz::target_fn target, const fs::path& folder) {
    int count = 0;
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) return 0;
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.is_regular_file()) files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    for (const fs::path& file : files) {
        SCOPED_TRACE(file.string());
        const auto bytes = read_file(file);
        target(bytes.data(), bytes.size());
        ++count;
    }
    return count;
}

TEST(fuzz_replay, every_kept_input_runs_clean) {
    const fs::path root = KELVANE_FUZZ_INPUTS;
    const auto& targets = kelvane::fuzz::targets();
    // Every target of the build registered itself.
    EXPECT_EQ(targets.size(), static_cast<std::size_t>(KELVANE_FUZZ_TARGET_COUNT));
    for (const auto& [name, target] : targets) {
        SCOPED_TRACE(name);
        const int seeds = replay(target, root / "corpus" / name);
        EXPECT_GT(seeds, 0) << "no inputs kept for " << name;
        replay(target, root / "crashes" / name);
        // The empty input, which no folder can hold twice.
        target(nullptr, 0);
    }
}

}  // namespace
