// kelvane-tool as a shell user meets it: options read as GNU programs read
// them, help and version at every level, the same exit status for the same
// kind of failure in every command, and every message naming the tool.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

#include "tool_run_support.h"

namespace kelvane::test {
namespace {

using ::testing::HasSubstr;
using ::testing::StartsWith;

// Each line of standard error is a message of the tool.
void expect_tool_messages(const std::string& err) {
    std::istringstream lines(err);
    for (std::string line; std::getline(lines, line);)
        EXPECT_THAT(line, StartsWith("kelvane-tool: "));
}

class tool_command_line : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(0, root.run({"add-account", "Car", "--tank", "50"}).code);
        ASSERT_EQ(0, root.run({"add-fee", "Car", "--cost", "4"}).code);
    }
    tool_root root;
};

TEST_F(tool_command_line, options_and_operands_are_read_as_gnu_programs_read_them) {
    struct row {
        std::vector<std::string> args;
        int code;
        std::string out;  // a piece of standard output
        std::string err;  // a piece of standard error
    };
    const row rows[] = {
        {{"add-fee", "--bogus"}, 2, "", "unknown option --bogus"},
        {{"add-fee", "Car", "--cost", "3", "--bogus=x"}, 2, "", "unknown option --bogus"},
        {{"add-fee", "Car", "--cost"}, 2, "", "--cost needs a value"},
        {{"accounts", "--json=yes"}, 2, "", "--json takes no value"},
        {{"add-fee", "Car", "--cost=2.5", "--category=Toll"}, 0, "Car", ""},
        // After "--" a name may begin with a dash: it names an account.
        {{"records", "--", "--json"}, 1, "", "no vehicle account named '--json'"},
        {{"bogus"}, 2, "", "unknown command 'bogus'"},
        {{}, 2, "", "no command given"},
        {{"help", "add-fuel"}, 0, "Usage: kelvane-tool add-fuel [ACCOUNT]", ""},
        {{"add-fuel", "--help"}, 0, "Usage: kelvane-tool add-fuel [ACCOUNT]", ""},
        {{"add-fuel", "-h"}, 0, "Usage: kelvane-tool add-fuel [ACCOUNT]", ""},
        {{"help"}, 0, "  delete-record   Deletes the record with this key", ""},
        {{"help", "bogus"}, 2, "", "unknown command 'bogus'"},
        {{"--version"}, 0, "kelvane-tool (Kelvane) ", ""},
        {{"report", "--version"}, 0, "kelvane-tool (Kelvane) ", ""},
    };
    for (const auto& r : rows) {
        SCOPED_TRACE(r.args.empty() ? "(nothing)" : r.args.back());
        const auto result = root.run(r.args);
        EXPECT_EQ(r.code, result.code) << result.err;
        EXPECT_THAT(result.out, HasSubstr(r.out));
        EXPECT_THAT(result.err, HasSubstr(r.err));
        expect_tool_messages(result.err);
        // What a script reads is on standard output only when it succeeded.
        if (r.code != 0) {
            EXPECT_EQ("", result.out);
        }
    }
    // help prints what --help prints, and needs no data folder.
    EXPECT_EQ(root.run({"help"}).out, root.run_bare({"--root", "/nonexistent", "--help"}).out);
}

// A name that is no account is a failure of the work (1), never a wrong
// command line (2), whichever command is given it; nothing is written.
TEST_F(tool_command_line, a_missing_account_fails_the_same_way_in_every_command) {
    const auto csv = root.path() / "x.csv";
    const std::vector<std::vector<std::string>> commands = {
        {"records", "Bus"},
        {"add-fuel", "Bus", "--price", "1.5", "--cost", "30"},
        {"add-repair", "Bus", "--cost", "10"},
        {"add-fee", "Bus", "--cost", "10"},
        {"edit-account", "Bus", "--note", "x"},
        {"delete-account", "Bus"},
        {"open", "Bus"},
        {"add-trip", "Away", "--vehicles", "Bus"},
        {"delete-record", "K", "--account", "Bus"},
        {"report", "1", "--vehicles", "Bus"},
        {"due", "Bus"},
        {"chart", "1", "--vehicles", "Bus", "--out", (root.path() / "c.bmp").string()},
        {"export", "Bus", csv.string()},
        {"import", "Bus", csv.string()},
    };
    const auto before = folder_bytes(root.data_folder());
    for (const auto& args : commands) {
        SCOPED_TRACE(args.front());
        const auto result = root.run(args);
        EXPECT_EQ(1, result.code);
        EXPECT_THAT(result.err, HasSubstr("no vehicle account named 'Bus'"));
        expect_tool_messages(result.err);
    }
    EXPECT_EQ(before, folder_bytes(root.data_folder()));
    EXPECT_FALSE(std::filesystem::exists(csv));
}

// The completion script asks the tool: commands and options come from its
// command table, names from the data folder the line names.
TEST_F(tool_command_line, completion_offers_commands_options_and_names) {
    ASSERT_EQ(0, root.run({"add-account", "Old van"}).code);
    const auto answer = [&](std::vector<std::string> words) {
        std::vector<std::string> args = {"__complete", "--", "--root", root.path().string()};
        args.insert(args.end(), words.begin(), words.end());
        return root.run_bare(args).out;
    };
    EXPECT_EQ("add-account\nadd-fee\nadd-fuel\nadd-repair\nadd-trip\n", answer({"add-"}));
    EXPECT_EQ("--cost\n", answer({"add-fee", "--co"}));
    EXPECT_EQ("Car\n", answer({"records", "C"}));
    EXPECT_EQ("Old van\n", answer({"export", "O"}));
    EXPECT_EQ("@FILE\n", answer({"export", "Car", ""}));
    EXPECT_EQ("Car,Old van\n", answer({"report", "fees", "--vehicles", "Car,O"}));
    EXPECT_EQ("pie\n", answer({"chart", "0", "--type", "=", "p"}));
    EXPECT_EQ("economy\nexpenses\n", answer({"report", "e"}));
}

// The program's own message boxes reach standard error as the tool's messages.
TEST_F(tool_command_line, the_programs_messages_name_the_tool) {
    const auto config = root.data_folder() / "Config.dat";
    auto cut = file_bytes(config);
    cut.resize(100);
    write_bytes(config, cut);
    const auto listed = root.run({"accounts"});
    EXPECT_THAT(listed.err, HasSubstr("Config.dat"));
    expect_tool_messages(listed.err);
}

}  // namespace
}  // namespace kelvane::test
