#pragma once
// What reading one of the program's files gave. A file that is not there
// is no failure: its owner starts empty (or with its defaults) and the
// first write creates it. A file that is there but cannot be used is one,
// and its owner must never write over it as if it had been empty.

namespace kelvane {

// clang-format off
enum class [[nodiscard]] load_result {
    loaded,   // the file was read
    missing,  // there is no such file
    damaged,  // the file is there but unreadable, too short or of another kind
};
// clang-format on

}  // namespace kelvane
