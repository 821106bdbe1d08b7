// The one-writer hold on a data folder: one holder at a time, whatever path
// reaches the folder, and never left behind by a program that died.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "platform/host_file_system.h"

using namespace kelvane;

class host_folder_lock : public ::testing::Test {
protected:
    host_folder_lock() { std::filesystem::remove_all(root); }
    ~host_folder_lock() override { std::filesystem::remove_all(root); }
    const std::filesystem::path root =
        std::filesystem::temp_directory_path() / ("kelvane-lock-" + std::to_string(::getpid()));
};

TEST_F(host_folder_lock, one_holder_at_a_time_whatever_path_reaches_the_folder) {
    std::filesystem::create_directories(root);
    host_file_system fs(root / "device");
    std::filesystem::create_directories(root / "device");
    EXPECT_EQ(lock_state::unavailable, fs.lock_folder(u"\\Data").state) << "no folder yet";
    // The host's names differ in case, so the folder is reached by a link instead.
    ASSERT_TRUE(fs.create_folder(u"\\Data"));
    folder_lock_result held = fs.lock_folder(u"\\Data");
    ASSERT_EQ(lock_state::taken, held.state);
    std::filesystem::create_directory_symlink(root / "device", root / "other");
    host_file_system through_link(root / "other");
    const folder_lock_result second = through_link.lock_folder(u"\\Data");
    EXPECT_EQ(lock_state::held_elsewhere, second.state);
    EXPECT_EQ(held.folder_id, second.folder_id);
    held.lock.reset();
    EXPECT_EQ(lock_state::taken, through_link.lock_folder(u"\\Data").state);
}

TEST_F(host_folder_lock, a_program_killed_while_holding_the_folder_leaves_it_free) {
    std::filesystem::create_directories(root / "Data");
    int ready[2];
    ASSERT_EQ(0, ::pipe(ready));
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        host_file_system fs(root);
        folder_lock_result hold = fs.lock_folder(u"\\Data");
        const char state = hold.state == lock_state::taken ? 't' : 'x';
        (void)::write(ready[1], &state, 1);
        for (;;) ::pause();  // holds until killed
    }
    // The child goes whatever the test finds.
    struct reaper {
        pid_t pid;
        ~reaper() {
            if (pid > 0 && ::kill(pid, SIGKILL) == 0) ::waitpid(pid, nullptr, 0);
        }
    } guard{child};
    ::close(ready[1]);
    char state = 0;
    ASSERT_EQ(1, ::read(ready[0], &state, 1));
    ::close(ready[0]);
    EXPECT_EQ('t', state);

    host_file_system fs(root);
    EXPECT_EQ(lock_state::held_elsewhere, fs.lock_folder(u"\\Data").state);
    ::kill(child, SIGKILL);
    ASSERT_EQ(child, ::waitpid(child, nullptr, 0));
    guard.pid = 0;
    EXPECT_EQ(lock_state::taken, fs.lock_folder(u"\\Data").state)
        << "the system let go of the dead program's hold";
}
