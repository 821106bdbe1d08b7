#pragma once
// Replaces a set of files in one folder all at once, as far as a program
// stopped at any moment (killed, out of power) can tell: the new files are
// first written whole into a staging folder inside the target folder and
// marked complete; only then do they move over the old ones, which wait in a
// second folder until every new file is in place. A run stopped before the
// mark leaves the old files as they were; one stopped after it is finished
// by the next run (finish_interrupted), so the folder never stays a mix of
// two sets. Files of the folder that the new set does not name stay, unless
// the set names them to go.
//
// Backups are written into their folder this way, restores into the data
// folder, and every change of the data folder that spans several files (an
// account's settings with its records, a rename, a deletion, an import).
//
// The two working folders hold only the data set's own file names. Whatever
// else is found there (a link, a folder, a file of another name) was not put
// there by this program: it is never deleted nor moved, and the work stops
// with a message naming it.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvane {

class staged_file_set {
public:
    // The folder ends with a backslash.
    explicit staged_file_set(std::u16string folder);
    ~staged_file_set();
    staged_file_set(const staged_file_set&) = delete;
    staged_file_set& operator=(const staged_file_set&) = delete;

    // Finishes what a stopped run left in the folder: a set marked complete
    // is moved into place, anything else of it is thrown away. False when
    // that could not be done (the folder may then still hold a set in
    // waiting), and when a working folder holds something this program did
    // not put there (the owner was told; nothing of it was touched).
    static bool finish_interrupted(std::u16string_view folder);

    // Finishes an interrupted run, then makes an empty staging folder.
    [[nodiscard]] bool begin();
    // Copies a file into the set under the name. False when it could not be
    // copied whole (nothing of it stays in the set).
    [[nodiscard]] bool add_copy(std::u16string_view source, std::u16string_view name);
    // Puts a file into the set under the name: `write` is given the path of
    // a file that does not exist yet and writes it whole, or returns false
    // (and nothing of it stays in the set).
    [[nodiscard]] bool add_written(std::u16string_view name,
                                   const std::function<bool(std::u16string_view path)>& write);
    // The folder's file of that name goes when the set moves into place
    // (one that is not there is no fault).
    void add_removal(std::u16string_view name);
    // The set has no files and removes none.
    bool empty() const { return names_.empty() && removals_.empty(); }

    enum class [[nodiscard]] outcome{
        done,         // every file of the set is in place; the old ones are gone
        rolled_back,  // nothing changed: the folder holds its old files
        pending,      // marked complete but not all moved; the next run finishes it
    };
    // Marks the set complete and moves it into place.
    outcome commit();

    // True for the names a set is made of: the data set's files and the
    // temporary names their writes use.
    static bool is_own_name(std::u16string_view name);

    // The names, inside the target folder, of the staging folder, the folder
    // of replaced files and the mark of a complete set.
    static constexpr char16_t staging_name[] = u"Kelvane.new";
    static constexpr char16_t replaced_name[] = u"Kelvane.old";
    static constexpr char16_t mark_name[] = u"complete";

private:
    static bool throw_away(const std::u16string& folder);
    static bool move_into_place(const std::u16string& folder);

    std::u16string folder_;
    std::u16string staging_;
    std::vector<std::u16string> names_;
    std::vector<std::u16string> removals_;
    bool begun_ = false;
    bool committed_ = false;
};

}  // namespace kelvane
