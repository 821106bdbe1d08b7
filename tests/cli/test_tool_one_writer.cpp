// kelvane-tool beside a running program: the program holds its data folder,
// so every command that would write it is refused with nothing changed,
// while listings, reports and exports go on.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/host_file_system.h"
#include "tool_run_support.h"

namespace kelvane::test {
namespace {

using ::testing::HasSubstr;

class tool_one_writer : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(0, root.run({"add-account", "Car", "--tank", "50"}).code);
        ASSERT_EQ(
            0, root.run({"add-fuel", "--mileage", "1000", "--price", "1.25", "--cost", "40"}).code);
        ASSERT_EQ(0, root.run({"add-trip", "Easter"}).code);
    }
    // Holds the data folder as the running program does.
    void hold() {
        hold_ = device.lock_folder(u"\\Program Files\\Kelvane").lock;
        ASSERT_TRUE(hold_);
    }

    tool_root root;
    host_file_system device{root.path()};
    std::unique_ptr<folder_lock> hold_;
};

TEST_F(tool_one_writer, commands_that_write_are_refused_while_the_program_holds_the_data) {
    hold();
    const auto before = folder_bytes(root.data_folder());
    const auto elsewhere = root.path() / "backup";
    const std::vector<std::vector<std::string>> writers = {
        {"add-fuel", "--mileage", "1500", "--price", "1.3", "--cost", "50"},
        {"add-account", "Van"},
        {"edit-account", "Car", "--tank", "60"},
        {"delete-account", "Car"},
        {"open", "Car"},
        {"add-repair", "--cost", "10"},
        {"add-fee", "--cost", "4"},
        {"add-trip", "Summer"},
        {"delete-trip", "Easter"},
        {"options", "--input-panel", "off"},
        {"backup", elsewhere.string()},
        {"restore", elsewhere.string()},
    };
    for (const auto& args : writers) {
        const tool_result r = root.run(args);
        EXPECT_EQ(1, r.code) << args[0];
        EXPECT_THAT(r.err, HasSubstr("Kelvane is open on this data; close it first")) << args[0];
        EXPECT_THAT(r.err, HasSubstr(root.data_folder().string())) << "names the data folder";
    }
    EXPECT_EQ(before, folder_bytes(root.data_folder()));
    EXPECT_FALSE(std::filesystem::exists(elsewhere)) << "a backup waits as well";

    // What only reads goes on beside the program.
    for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
             {"accounts"},
             {"records", "Car", "--json"},
             {"trips"},
             {"options"},
             {"report", "3"},
             {"export", "Car", (root.path() / "car.csv").string()}}) {
        const tool_result r = root.run(args);
        EXPECT_EQ(0, r.code) << args[0] << ": " << r.err;
    }
    EXPECT_EQ(before, folder_bytes(root.data_folder()));

    // Once the program has closed, the same command writes.
    hold_.reset();
    EXPECT_EQ(0, root.run(writers.front()).code);
    EXPECT_NE(before, folder_bytes(root.data_folder()));
}

TEST_F(tool_one_writer, the_refusal_is_in_the_language_of_the_data) {
    std::filesystem::copy_file(std::filesystem::path(KELVANE_SOURCE_DIR) / "resources/French.lng",
                               root.data_folder() / "Language.lng");
    hold();
    const tool_result r = root.run({"add-fee", "--cost", "4"});
    EXPECT_EQ(1, r.code);
    EXPECT_THAT(r.err, HasSubstr("Kelvane est ouvert sur ces données"));
}

}  // namespace
}  // namespace kelvane::test
