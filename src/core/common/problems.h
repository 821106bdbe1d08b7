#pragma once
// What went wrong in work the owner asked for. Core never shows anything
// itself: it returns its results and reports each problem it met here, and the
// front end in force decides how the owner is told (the program shows a
// message box, kelvane-tool writes a line on standard error). A problem
// reported while no front end listens is written on standard error, so that
// none goes unsaid.

#include <string>
#include <string_view>

namespace kelvane {

struct problem {
    // The English text, a key of the language table; or, for the few texts
    // that never pass the table, the text as it stands.
    std::u16string key;
    // What it is about (a file's path, a box's name), on a line of its own;
    // never translated.
    std::u16string subject;
    bool translated = true;
};

// The problem as the owner reads it, in the language in force.
std::u16string problem_text(const problem& p);

class problem_listener {
public:
    virtual ~problem_listener() = default;
    virtual void told(const problem& p) = 0;
};

void report_problem(std::u16string_view key, std::u16string_view subject = {});
void report_untranslated(std::u16string_view text);

// Makes a listener the one in force for the object's lifetime; the one
// before is put back when it ends.
class scoped_problem_listener {
public:
    explicit scoped_problem_listener(problem_listener& listener);
    ~scoped_problem_listener();
    scoped_problem_listener(const scoped_problem_listener&) = delete;
    scoped_problem_listener& operator=(const scoped_problem_listener&) = delete;

private:
    problem_listener* previous_;
};

}  // namespace kelvane
