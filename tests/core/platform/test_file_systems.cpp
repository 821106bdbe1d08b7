#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>

#include "platform/faulty_file_system.h"
#include "platform/host_file_system.h"
#include "platform/memory_file_system.h"
#include "platform/text_encoding.h"

using namespace kelvane;

namespace {

std::vector<std::uint8_t> bytes_of(const char* s) {
    return {s, s + std::strlen(s)};
}

// The same expectations hold for the host and the memory file system.
void exercise(file_system& fs) {
    EXPECT_FALSE(fs.open_read(u"\\missing.txt"));
    EXPECT_FALSE(fs.create(u"\\no folder\\x.txt"));
    ASSERT_TRUE(fs.create_folder(u"\\Data"));
    EXPECT_FALSE(fs.create_folder(u"\\Data"));
    {
        auto f = fs.create(u"\\Data\\a.bin");
        ASSERT_TRUE(f);
        EXPECT_EQ(f->write("hello world", 11), 11u);
        EXPECT_TRUE(f->close());
    }
    {
        auto f = fs.open_write(u"\\Data\\a.bin");
        ASSERT_TRUE(f);
        EXPECT_EQ(f->length(), 11);
        EXPECT_TRUE(f->seek(6));
        EXPECT_EQ(f->write("WORLD!", 6), 6u);
        EXPECT_TRUE(f->close());
    }
    std::vector<std::uint8_t> got;
    ASSERT_TRUE(read_whole_file(fs, u"\\Data\\a.bin", got));
    EXPECT_EQ(got, bytes_of("hello WORLD!"));
    EXPECT_FALSE(fs.open_write(u"\\Data\\b.bin"));

    EXPECT_TRUE(fs.copy_file(u"\\Data\\a.bin", u"\\Data\\b.bin", true));
    EXPECT_FALSE(fs.copy_file(u"\\Data\\a.bin", u"\\Data\\b.bin", false));
    EXPECT_TRUE(fs.file_exists(u"\\Data\\b.bin"));
    EXPECT_TRUE(fs.folder_exists(u"\\Data"));

    ASSERT_TRUE(fs.create_folder(u"\\Data\\Sub"));
    auto found = fs.find(u"\\Data\\*.*");
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0].name, u"Sub");
    EXPECT_EQ(found[0].attributes, attribute_directory);
    EXPECT_EQ(fs.find(u"\\Data\\*.BIN").size(), 2u);
    EXPECT_EQ(fs.find(u"\\Data\\a*").size(), 1u);

    EXPECT_TRUE(fs.delete_file(u"\\Data\\b.bin"));
    EXPECT_FALSE(fs.delete_file(u"\\Data\\b.bin"));
}

}  // namespace

TEST(file_systems, memory_file_system_behaves_like_the_device) {
    memory_file_system fs;
    exercise(fs);
}

TEST(file_systems, host_file_system_behaves_like_the_device) {
    auto root =
        std::filesystem::temp_directory_path() / ("kelvane-fs-" + std::to_string(::getpid()));
    std::filesystem::remove_all(root);
    {
        host_file_system fs(root);
        exercise(fs);
        EXPECT_EQ(fs.host_path(u"\\Program Files\\Kelvane\\Config.dat"),
                  root / "Program Files" / "Kelvane" / "Config.dat");
        // No device path reaches outside the device root.
        EXPECT_TRUE(fs.host_path(u"\\..\\etc\\passwd").empty());
        EXPECT_FALSE(fs.create(u"\\Data\\..\\..\\escape.txt"));
    }
    std::filesystem::remove_all(root);
}

TEST(file_systems, atomic_write_keeps_old_file_on_every_failure) {
    memory_file_system mem;
    mem.put(u"\\f.dat", bytes_of("old contents"));
    faulty_file_system fs(mem);
    const std::string fresh(100, 'n');

    for (int k = 1; k <= 3; ++k) {
        fs.fail_write(k);
        atomic_file_writer w(fs, u"\\f.dat");
        ASSERT_TRUE(w.open());
        for (int i = 0; i < 3; ++i) w.write(fresh.data() + i * 10, 10);
        EXPECT_FALSE(w.commit()) << "write " << k;
        EXPECT_EQ(mem.bytes(u"\\f.dat"), bytes_of("old contents"));
        EXPECT_FALSE(mem.file_exists(atomic_file_writer::temporary_path(u"\\f.dat")));
    }
    fs.fail_write(0);
    fs.fail_open(1);
    EXPECT_FALSE(write_file_atomically(fs, u"\\f.dat", "x", 1));
    fs.fail_open(0);
    fs.fail_replace(1);
    EXPECT_FALSE(write_file_atomically(fs, u"\\f.dat", "x", 1));
    EXPECT_EQ(mem.bytes(u"\\f.dat"), bytes_of("old contents"));
    fs.fail_replace(0);
    EXPECT_TRUE(write_file_atomically(fs, u"\\f.dat", "new", 3));
    EXPECT_EQ(mem.bytes(u"\\f.dat"), bytes_of("new"));
    EXPECT_EQ(mem.files().size(), 1u);
}

// A link planted at the temporary name of a file about to be written (by
// another program or person) must never carry the write outside: the link
// goes, the file is written where it belongs, and its target stays as it was.
TEST(file_systems, link_at_a_temporary_name_is_never_written_through) {
    namespace fs = std::filesystem;
    const auto root = fs::temp_directory_path() / ("kelvane-links-" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "device" / "Data");
    const auto outside = root / "outside.txt";
    {
        std::FILE* f = std::fopen(outside.c_str(), "wb");
        std::fputs("keep me", f);
        std::fclose(f);
    }
    host_file_system host(root / "device");
    const auto read_outside = [&] {
        std::vector<std::uint8_t> got(64);
        std::FILE* f = std::fopen(outside.c_str(), "rb");
        got.resize(std::fread(got.data(), 1, got.size(), f));
        std::fclose(f);
        return got;
    };

    // To a file, to nothing at all, and for a copy as well as a write.
    for (const bool dangling : {false, true}) {
        for (const bool copying : {false, true}) {
            const auto temporary = root / "device" / "Data" / "Config.dat.new";
            fs::remove(temporary);
            fs::create_symlink(dangling ? root / "nothing.txt" : outside, temporary);
            if (copying) {
                ASSERT_TRUE(write_file_atomically(host, u"\\Data\\source.txt", "copied", 6));
                EXPECT_TRUE(
                    copy_file_atomically(host, u"\\Data\\source.txt", u"\\Data\\Config.dat"));
            } else {
                EXPECT_TRUE(write_file_atomically(host, u"\\Data\\Config.dat", "copied", 6));
            }
            std::vector<std::uint8_t> written;
            ASSERT_TRUE(read_whole_file(host, u"\\Data\\Config.dat", written));
            EXPECT_EQ(written, bytes_of("copied"));
            EXPECT_EQ(read_outside(), bytes_of("keep me"));
            EXPECT_FALSE(fs::exists(root / "nothing.txt"));
            EXPECT_FALSE(fs::is_symlink(temporary));
        }
    }
    // Removing a link removes the link only; a folder goes only when empty.
    fs::create_symlink(outside, root / "device" / "Data" / "link.txt");
    EXPECT_TRUE(host.delete_file(u"\\Data\\link.txt"));
    EXPECT_EQ(read_outside(), bytes_of("keep me"));
    EXPECT_FALSE(host.remove_folder(u"\\Data"));
    EXPECT_TRUE(host.create_folder(u"\\Data\\Empty"));
    EXPECT_TRUE(host.remove_folder(u"\\Data\\Empty"));
    EXPECT_FALSE(host.folder_exists(u"\\Data\\Empty"));
    fs::remove_all(root);
}

// A copy is whole or not there: a source that cannot be read whole, or a
// target that cannot take it, leaves the old target as it was.
TEST(file_systems, copy_replaces_the_target_whole_or_not_at_all) {
    memory_file_system mem;
    mem.put(u"\\a.bin", bytes_of("new contents"));
    mem.put(u"\\b.bin", bytes_of("old"));
    faulty_file_system fs(mem);
    fs.fail_write(1);
    EXPECT_FALSE(copy_file_atomically(fs, u"\\a.bin", u"\\b.bin"));
    fs.fail_write(0);
    EXPECT_EQ(mem.bytes(u"\\b.bin"), bytes_of("old"));
    EXPECT_FALSE(copy_file_atomically(fs, u"\\missing.bin", u"\\b.bin"));
    EXPECT_EQ(mem.files().size(), 2u);
    EXPECT_TRUE(copy_file_atomically(fs, u"\\a.bin", u"\\b.bin"));
    EXPECT_EQ(mem.bytes(u"\\b.bin"), bytes_of("new contents"));

    // Stopped after any change, the target is the old file or the new one.
    fs.reset_counters();
    ASSERT_TRUE(copy_file_atomically(fs, u"\\a.bin", u"\\c.bin"));
    const int changes = fs.changes();
    for (int k = 1; k <= changes; ++k) {
        for (const std::int64_t kept : {-1, 0, 3}) {
            mem.put(u"\\c.bin", bytes_of("old"));
            fs.stop_after_change(k, kept);
            (void)copy_file_atomically(fs, u"\\a.bin", u"\\c.bin");
            fs.stop_after_change(0);
            const auto got = mem.bytes(u"\\c.bin");
            EXPECT_TRUE(got == bytes_of("old") || got == bytes_of("new contents")) << k;
        }
    }
}

TEST(text_encoding, utf8_round_trip_and_windows1252) {
    const std::u16string text = u"Stra\u00DFe \u20AC 5 \U0001F697";
    EXPECT_EQ(from_utf8(to_utf8(text)), text);
    EXPECT_TRUE(is_valid_utf8(to_utf8(text)));
    EXPECT_FALSE(is_valid_utf8("\xE9t\xE9"));
    EXPECT_EQ(from_windows1252("\xE9t\xE9 \x80"), u"\u00E9t\u00E9 \u20AC");
    EXPECT_EQ(from_utf8("a\xFF"
                        "b"),
              u"a\uFFFD"
              u"b");
}
