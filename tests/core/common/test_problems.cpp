// Core tells the owner nothing itself: every problem it meets goes to the
// listener the front end put in force, and none is lost when no one listens.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/common/messages.h"
#include "core/common/problems.h"
#include "core/stores/fuel_store.h"
#include "core/test_services.h"

using namespace kelvane;

namespace {

struct recording_listener : problem_listener {
    void told(const problem& p) override { heard.push_back(p); }
    std::vector<problem> heard;
};

TEST(problems, go_to_the_innermost_listener_and_come_back_to_the_outer_one) {
    kelvane::testing::test_services device;
    recording_listener outer, inner;
    scoped_problem_listener o(outer);
    {
        scoped_problem_listener i(inner);
        report_problem(msg_format_error, u"\\Kelvane\\Car.ful");
    }
    report_untranslated(u"as it stands");
    ASSERT_EQ(1u, inner.heard.size());
    EXPECT_EQ(u"\\Kelvane\\Car.ful", inner.heard[0].subject);
    ASSERT_EQ(1u, outer.heard.size());
    EXPECT_FALSE(outer.heard[0].translated);
    EXPECT_EQ(u"as it stands", problem_text(outer.heard[0]));
    EXPECT_TRUE(device.boxes.texts().empty());  // no box was opened by core
}

TEST(problems, a_damaged_store_file_is_reported_with_its_path_and_opens_no_box) {
    kelvane::testing::test_services device;
    const std::u16string folder = program_folder();
    device.fs.put(folder + u"Car" + std::u16string(fuel_store::extension),
                  std::vector<std::uint8_t>(24, 0x55));

    recording_listener heard;
    scoped_problem_listener listening(heard);
    fuel_store store;
    EXPECT_EQ(load_result::damaged, store.load(folder, u"Car", false));
    ASSERT_EQ(1u, heard.heard.size());
    EXPECT_EQ(msg_format_error, heard.heard[0].key);
    EXPECT_TRUE(device.boxes.texts().empty());
}

TEST(problems, subject_follows_the_translated_text_on_a_line_of_its_own) {
    kelvane::testing::test_services device;
    EXPECT_EQ(std::u16string(msg_program_file) + u"\n\\Kelvane\\Config.dat",
              problem_text({msg_program_file, u"\\Kelvane\\Config.dat"}));
    EXPECT_EQ(std::u16string(msg_write_failed), problem_text({msg_write_failed, {}}));
}

}  // namespace
