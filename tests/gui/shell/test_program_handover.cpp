// Starting the program on data another start already has open: the second
// brings the first to the front and ends, so one window writes the folder.

#include "gui/gui_test_support.h"
#include "gui/shell/program_handover.h"

namespace kelvane {
namespace {

using start = program_handover::start;

TEST_F(gui_test, a_second_start_on_the_same_data_brings_the_first_to_the_front_and_ends) {
    program_handover first;
    int asked = 0;
    QObject::connect(&first, &program_handover::asked, [&] { ++asked; });
    ASSERT_EQ(start::run, first.claim(*prog));
    EXPECT_TRUE(prog->data.holds_folder());

    {
        program second;
        program_handover second_start;
        EXPECT_EQ(start::handed_over, second_start.claim(second));
        EXPECT_FALSE(second.data.holds_folder()) << "it never writes";
        EXPECT_TRUE(process_events_until([&] { return asked == 1; }));
    }

    // The first has ended: the next start runs.
    restart();
    program_handover next;
    EXPECT_EQ(start::run, next.claim(*prog));
    EXPECT_TRUE(prog->data.holds_folder());
}

TEST_F(gui_test, a_folder_held_by_something_that_does_not_answer_is_not_opened) {
    // kelvane-tool's backup holds the folder, and listens for nobody.
    ASSERT_TRUE(fs.create_folder(u"\\Program Files"));
    ASSERT_TRUE(fs.create_folder(u"\\Program Files\\Kelvane"));
    const folder_lock_result tool = fs.lock_folder(u"\\Program Files\\Kelvane");
    ASSERT_EQ(lock_state::taken, tool.state);
    program_handover handover;
    EXPECT_EQ(start::in_use, handover.claim(*prog, 300));
    EXPECT_FALSE(prog->data.holds_folder());
}

}  // namespace
}  // namespace kelvane
