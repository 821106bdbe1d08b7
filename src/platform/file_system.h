#pragma once
// The device's file system. Paths are device paths: they start at the device
// root and use '\' as separator, e.g. u"\\Program Files\\Kelvane\\Config.dat".

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace kelvane {

enum class seek_origin { begin, current, end };

// An open file. Every count is returned so that callers can detect a short
// read or write (a full medium) instead of trusting the request.
class device_file {
public:
    virtual ~device_file() = default;
    // Bytes actually read; 0 at the end of the file or on error.
    virtual std::size_t read(void* buffer, std::size_t count) = 0;
    // Bytes actually written; fewer than count means the write failed.
    virtual std::size_t write(const void* data, std::size_t count) = 0;
    virtual bool seek(std::int64_t offset, seek_origin origin = seek_origin::begin) = 0;
    virtual std::int64_t position() const = 0;
    virtual std::int64_t length() const = 0;
    // Flushes and closes; false when data could not be written out.
    virtual bool close() = 0;
    // Appends `count` bytes read from the source's position; the bytes
    // copied, fewer when the source ended or a write failed. A file system
    // that can copy between its own files without bringing the bytes
    // through the program does so.
    virtual std::int64_t copy_from(device_file& source, std::int64_t count);
};

// File attributes as the device reports them.
inline constexpr std::uint32_t attribute_hidden = 2;
inline constexpr std::uint32_t attribute_directory = 16;
inline constexpr std::uint32_t attribute_archive = 32;
inline constexpr std::uint32_t attribute_temporary = 256;
// A link to another place (the device's reparse point): whatever it names
// belongs elsewhere, so the program never deletes through it nor moves it.
inline constexpr std::uint32_t attribute_link = 1024;

struct find_entry {
    std::u16string name;  // file or folder name, without the folder
    std::uint32_t attributes = 0;
};

// What tells one version of a file from another without reading it: its
// size, its last change and its identity on the medium. Where the file
// system cannot tell, `known` is false and no two looks count as the same.
struct file_stamp {
    bool known = false;
    bool exists = false;
    std::int64_t size = 0;
    std::int64_t changed = 0;  // nanoseconds of the last change, as the medium keeps them
    std::uint64_t identity = 0;

    bool same_as(const file_stamp& other) const {
        return known && other.known && exists == other.exists && size == other.size &&
               changed == other.changed && identity == other.identity;
    }
};

// The one exclusive hold on a folder, given up when the object goes. On the
// host it is the system's own lock, which also goes when the process ends in
// any way, so a crash never leaves a folder held.
class folder_lock {
public:
    virtual ~folder_lock() = default;
};

enum class lock_state {
    taken,           // this holder has the folder alone
    held_elsewhere,  // another holder has it (another process, or another hold here)
    unavailable,     // the folder is missing or cannot be locked on this medium
};

struct folder_lock_result {
    lock_state state = lock_state::unavailable;
    std::unique_ptr<folder_lock> lock;  // set when taken
    // What names the folder whichever path reached it (empty when missing),
    // so that two programs started on the same folder can find each other.
    std::string folder_id;
};

class file_system {
public:
    virtual ~file_system() = default;
    // Opens an existing file for reading; nullptr when it cannot be opened.
    virtual std::unique_ptr<device_file> open_read(std::u16string_view path) = 0;
    // Creates the file or truncates an existing one, for writing.
    virtual std::unique_ptr<device_file> create(std::u16string_view path) = 0;
    // Opens an existing file for writing without truncating it; nullptr when missing.
    virtual std::unique_ptr<device_file> open_write(std::u16string_view path) = 0;
    // Creates a file that is not there yet; nullptr when anything (a file, a
    // folder or a link) already has the name. Temporary files are made this
    // way, so that a link planted at their name can never send a write
    // elsewhere.
    virtual std::unique_ptr<device_file> create_new(std::u16string_view path) {
        if (file_exists(path) || folder_exists(path)) return nullptr;
        return create(path);
    }
    // Copies a file; with overwrite false an existing target makes it fail.
    virtual bool copy_file(std::u16string_view from, std::u16string_view to, bool overwrite) = 0;
    virtual bool delete_file(std::u16string_view path) = 0;
    // Moves a file over another in one step (the target is replaced whole or not at all).
    virtual bool replace_file(std::u16string_view from, std::u16string_view to) = 0;
    // Creates one folder; false when it exists already or its parent is missing.
    virtual bool create_folder(std::u16string_view path) = 0;
    // Removes one empty folder; false when it is missing or not empty.
    virtual bool remove_folder(std::u16string_view path) {
        (void)path;
        return false;
    }
    virtual bool file_exists(std::u16string_view path) = 0;
    // While a batch is open for a folder, the files made whole inside it
    // (create_new) reach the medium together when it ends instead of one by
    // one as each is closed, so that a set of many files waits for the
    // medium once. Whoever opens a batch must end it before anything relies
    // on those files being kept; end is false when any of them was not.
    // Batches of different folders may be open together.
    virtual void begin_durable_batch(std::u16string_view folder) { (void)folder; }
    [[nodiscard]] virtual bool end_durable_batch(std::u16string_view folder) {
        (void)folder;
        return true;
    }
    // The stamp of a file (or of its absence); unknown unless the file
    // system can tell versions apart.
    virtual file_stamp stamp(std::u16string_view path) {
        (void)path;
        return {};
    }
    virtual bool folder_exists(std::u16string_view path) = 0;
    // Takes the exclusive hold on a folder, without waiting for it. A file
    // system that cannot lock reports unavailable.
    virtual folder_lock_result lock_folder(std::u16string_view path) {
        (void)path;
        return {};
    }
    // Lists the entries of one folder matching the pattern's last component
    // ('*' and '?' wildcards), e.g. u"\\My Documents\\*.csv". Sorted by name.
    virtual std::vector<find_entry> find(std::u16string_view pattern) = 0;
};

// Matches a name against a pattern with '*' and '?' wildcards, ignoring case
// as the device's file system does for ASCII letters.
bool wildcard_match(std::u16string_view pattern, std::u16string_view name);

// Writes a whole file through a temporary file beside it, which replaces the
// target only when everything was written: a crash or a full medium never
// leaves half a file where a good one was. Use: open, write..., commit.
class atomic_file_writer {
public:
    atomic_file_writer(file_system& fs, std::u16string_view path);
    ~atomic_file_writer();
    atomic_file_writer(const atomic_file_writer&) = delete;
    atomic_file_writer& operator=(const atomic_file_writer&) = delete;

    // False when the temporary file could not be created. A file left at the
    // temporary name by an interrupted write is removed first.
    bool open();
    // False (and the writer stays failed) when fewer bytes were written.
    bool write(const void* data, std::size_t count);
    // Writes `count` bytes read from the source; false (and the writer stays
    // failed) when fewer were copied.
    bool copy_from(device_file& source, std::int64_t count);
    // Closes and moves the temporary file over the target; false on any failure,
    // in which case the target is untouched and the temporary file removed.
    bool commit();
    bool failed() const { return failed_; }

    static std::u16string temporary_path(std::u16string_view path);

private:
    file_system& fs_;
    std::u16string path_;
    std::u16string temp_;
    std::unique_ptr<device_file> file_;
    bool failed_ = false;
    bool committed_ = false;
};

// Writes a whole file atomically in one call.
bool write_file_atomically(file_system& fs, std::u16string_view path, const void* data,
                           std::size_t count);

// Copies a file through a temporary file beside the target, so that the
// target is either the old file or the whole copy. False when the source
// cannot be read whole or the copy cannot be written.
bool copy_file_atomically(file_system& fs, std::u16string_view from, std::u16string_view to);

// The longest file name, in UTF-8 bytes, that the file systems the data is
// kept on take (the host's limit; the device's is not lower).
inline constexpr std::size_t max_file_name_bytes = 255;

// Reads a whole file; false when it cannot be opened or read.
bool read_whole_file(file_system& fs, std::u16string_view path, std::vector<std::uint8_t>& out);

// Device path helpers.
std::u16string parent_folder(std::u16string_view path);  // text before the last '\'
std::u16string file_name_of(std::u16string_view path);   // text after the last '\'

}  // namespace kelvane
