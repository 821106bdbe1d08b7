#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/memory_file_system.h"
#include "setup/setup_package.h"
#include "setup/setup_packer.h"

using namespace kelvane;

namespace {

using bytes = std::vector<std::uint8_t>;

bytes pattern(std::size_t n, std::uint8_t seed) {
    bytes b(n);
    for (std::size_t i = 0; i < n; ++i) b[i] = static_cast<std::uint8_t>(seed + i * 13);
    return b;
}

bytes slice(const bytes& b, std::size_t at, std::size_t n) {
    return bytes(b.begin() + at, b.begin() + at + n);
}

bool all_zero(const bytes& b, std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to; ++i)
        if (b[i] != 0) return false;
    return true;
}

}  // namespace

TEST(setup_packer, layout_at_every_boundary) {
    const bytes image = pattern(380928, 5), english = pattern(1032928, 6),
                french = pattern(1000957, 7);
    bytes out;
    std::string error;
    ASSERT_TRUE(assemble_setup_file(image, english, french, out, error)) << error;
    ASSERT_EQ(out.size(), 3200008u);
    EXPECT_EQ(error, "");

    EXPECT_EQ(slice(out, 0, 380928), image);
    EXPECT_EQ(slice(out, 380928, 8), (bytes{0x0D, 0xF0, 0xAD, 0xBA, 0x0D, 0xF0, 0xAD, 0xBA}));
    EXPECT_EQ(slice(out, 499996, 4), (bytes{0x0D, 0xF0, 0xAD, 0xBA}));
    EXPECT_EQ(slice(out, 500000, 4), (bytes{0xE0, 0xC2, 0x0F, 0x00}));  // 1032928
    EXPECT_EQ(slice(out, 500004, english.size()), english);
    EXPECT_TRUE(all_zero(out, 500004 + english.size(), 1850004));
    EXPECT_EQ(slice(out, 1850004, 4), (bytes{0xFD, 0x45, 0x0F, 0x00}));  // 1000957
    EXPECT_EQ(slice(out, 1850008, french.size()), french);
    EXPECT_TRUE(all_zero(out, 1850008 + french.size(), out.size()));
}

TEST(setup_packer, filler_starts_at_the_image_end) {
    // An image of a length not divisible by four: the filler starts with its
    // first byte at the image end and is cut at the length field.
    const bytes image = pattern(499998, 1);
    bytes out;
    std::string error;
    ASSERT_TRUE(assemble_setup_file(image, pattern(10, 2), pattern(10, 3), out, error));
    EXPECT_EQ(slice(out, 499997, 7), (bytes{image.back(), 0x0D, 0xF0, 10, 0, 0, 0}));
}

TEST(setup_packer, largest_inputs_fit) {
    const bytes english = pattern(1350000, 6), french = pattern(1350000, 7);
    bytes out;
    std::string error;
    ASSERT_TRUE(assemble_setup_file(pattern(499999, 5), english, french, out, error)) << error;
    EXPECT_EQ(out.size(), 3200008u);
    EXPECT_EQ(slice(out, 1850004, 4), (bytes{0x70, 0x99, 0x14, 0x00}));  // 1350000
    EXPECT_EQ(slice(out, 1850008 + 1349996, 4), slice(french, 1349996, 4));

    // What the packer writes, the installer reads back.
    memory_file_system fs;
    fs.put(u"\\Setup.exe", out);
    bytes got;
    ASSERT_TRUE(read_setup_package(fs, u"\\Setup.exe", setup_language::english, got));
    EXPECT_EQ(got, english);
    ASSERT_TRUE(read_setup_package(fs, u"\\Setup.exe", setup_language::french, got));
    EXPECT_EQ(got, french);
}

TEST(setup_packer, refuses_inputs_that_do_not_fit) {
    const bytes small = pattern(100, 1);
    struct refused {
        bytes image, english, french;
        const char* said;
    } cases[] = {
        {pattern(500000, 1), small, small, "500000"},
        {small, pattern(1350001, 2), small, "English"},
        {small, small, pattern(1350001, 3), "French"},
        {small, bytes{}, small, "empty"},
    };
    for (const auto& c : cases) {
        bytes out = {1, 2, 3};
        std::string error;
        EXPECT_FALSE(assemble_setup_file(c.image, c.english, c.french, out, error)) << c.said;
        EXPECT_TRUE(out.empty()) << c.said;
        EXPECT_NE(error.find(c.said), std::string::npos) << error;
    }
}

#ifdef KELVANE_SETUP_PACK
namespace {

struct pack_run {
    int status = -1;
    std::string said;
};

// Runs the build step's program with the given arguments, capturing its error output.
pack_run run_pack(const std::vector<std::string>& args, const std::filesystem::path& dir) {
    std::string command = std::string("'") + KELVANE_SETUP_PACK + "'";
    for (const auto& a : args) command += " '" + a + "'";
    const auto said_path = dir / "said.txt";
    command += " 2>'" + said_path.string() + "'";
    pack_run run;
    const int raw = std::system(command.c_str());
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    std::ifstream in(said_path);
    run.said.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return run;
}

void write_file(const std::filesystem::path& p, const bytes& b) {
    std::ofstream out(p, std::ios::binary);
    out.write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

bytes read_file(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    return bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

TEST(setup_pack_program, writes_the_setup_file_or_refuses_with_a_message) {
    const auto dir = std::filesystem::temp_directory_path() /
                     ("kelvane-setup-pack-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const bytes image = pattern(1001, 1), english = pattern(3000, 2), french = pattern(2000, 3);
    write_file(dir / "image", image);
    write_file(dir / "en.cab", english);
    write_file(dir / "fr.cab", french);
    write_file(dir / "big.exe", pattern(500000, 4));
    const auto out = (dir / "Setup.exe").string();

    auto run = run_pack(
        {(dir / "image").string(), (dir / "en.cab").string(), (dir / "fr.cab").string(), out}, dir);
    EXPECT_EQ(run.status, 0) << run.said;
    bytes expected;
    std::string error;
    ASSERT_TRUE(assemble_setup_file(image, english, french, expected, error));
    EXPECT_EQ(read_file(out), expected);

    // Refused: the old output stays as it was and nothing else is left behind.
    run = run_pack(
        {(dir / "big.exe").string(), (dir / "en.cab").string(), (dir / "fr.cab").string(), out},
        dir);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.said.find("500000"), std::string::npos) << run.said;
    EXPECT_EQ(read_file(out), expected);

    run = run_pack(
        {(dir / "image").string(), (dir / "missing.cab").string(), (dir / "fr.cab").string(), out},
        dir);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.said.find("missing.cab"), std::string::npos) << run.said;

    // An output that cannot be replaced (a folder with files in it) is a failure, not a success.
    std::filesystem::create_directories(dir / "taken" / "inside");
    run = run_pack({(dir / "image").string(), (dir / "en.cab").string(), (dir / "fr.cab").string(),
                    (dir / "taken").string()},
                   dir);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.said.find("cannot write"), std::string::npos) << run.said;
    EXPECT_FALSE(std::filesystem::exists(dir / "taken.part"));

    run = run_pack({(dir / "image").string()}, dir);
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.said.find("usage"), std::string::npos) << run.said;

    std::filesystem::remove_all(dir);
}
#endif
