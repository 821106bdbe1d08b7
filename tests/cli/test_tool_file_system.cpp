// The tool's file system: device paths stay below the chosen folder, host
// paths given on the command line reach the rest of the host.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "cli/tool_file_system.h"
#include "platform/file_system.h"
#include "tool_run_support.h"

namespace kelvane {
namespace {

TEST(tool_file_system, device_paths_stay_inside_and_host_paths_reach_outside) {
    test::tool_root folder;
    const auto root = folder.path() / "device";
    const auto outside = folder.path() / "outside.txt";
    tool_file_system fs(root);

    ASSERT_TRUE(write_file_atomically(fs, u"\\note.txt", "ab", 2));
    EXPECT_TRUE(std::filesystem::exists(root / "note.txt"));

    const std::u16string host = tool_file_system::host_device_path(outside);
    ASSERT_TRUE(host.starts_with(u"\\\\"));
    ASSERT_TRUE(write_file_atomically(fs, host, "xyz", 3));
    EXPECT_EQ(3u, std::filesystem::file_size(outside));
    // Copies run both ways between the device and the host.
    EXPECT_TRUE(fs.copy_file(host, u"\\copy.txt", false));
    EXPECT_EQ(3u, std::filesystem::file_size(root / "copy.txt"));
    EXPECT_FALSE(fs.copy_file(host, u"\\copy.txt", false));  // no overwrite unless asked
    EXPECT_TRUE(fs.copy_file(u"\\note.txt", host, true));
    EXPECT_EQ(2u, std::filesystem::file_size(outside));

    // A device path cannot climb out of the device.
    EXPECT_EQ(nullptr, fs.create(u"\\..\\escaped.txt"));
    EXPECT_FALSE(std::filesystem::exists(folder.path() / "escaped.txt"));
}

TEST(tool_file_system, relative_host_paths_are_taken_from_the_working_folder) {
    const std::u16string p = tool_file_system::host_device_path("out/../chart.bmp");
    const auto expected = std::filesystem::current_path() / "chart.bmp";
    std::u16string want = u"\\";
    for (char c : expected.string()) want += c == '/' ? u'\\' : static_cast<char16_t>(c);
    EXPECT_EQ(want, p);
}

}  // namespace
}  // namespace kelvane
