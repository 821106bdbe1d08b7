#pragma once
// The application: prepares the program-wide objects, runs the main screen
// and, when it has closed, writes everything back.

namespace kelvane {

class application {
public:
    // Returns once the main screen has closed and the data is written.
    void run();
};

}  // namespace kelvane
