#pragma once
// The application: builds the program, runs the main screen and, when it has
// closed, writes everything back.

namespace kelvane {

struct program;

class application {
public:
    // Returns once the main screen has closed and the data is written.
    void run(program& prog);
};

}  // namespace kelvane
