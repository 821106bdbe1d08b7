#pragma once
// Shell services of the handheld that a desktop does not have: starting a
// named viewer program, the on-screen input panel, the home key.

#include <string>
#include <string_view>

namespace kelvane {

class shell_service {
public:
    virtual ~shell_service() = default;
    // Starts a program such as the help viewer with one argument; false when
    // it cannot be started.
    virtual bool run_program(std::u16string_view program, std::u16string_view argument) = 0;
    // Why the last run_program failed, in the host's own words (which file,
    // what was missing); empty when the shell has nothing to add.
    virtual std::u16string failure_text() const { return {}; }
    virtual void set_input_panel(bool raised) = 0;
    virtual bool input_panel_raised() const = 0;
    virtual void press_home_key() = 0;

    // The owner's choice never to have edit boxes raise the input panel.
    void set_input_panel_allowed(bool allowed) { input_panel_allowed_ = allowed; }
    bool input_panel_allowed() const { return input_panel_allowed_; }

private:
    bool input_panel_allowed_ = true;
};

// Records what was asked; run_program succeeds when set to.
class recording_shell : public shell_service {
public:
    bool run_program(std::u16string_view program, std::u16string_view argument) override {
        last_program = program, last_argument = argument;
        return program_runs;
    }
    std::u16string failure_text() const override { return failure; }
    void set_input_panel(bool raised) override { panel = raised; }
    bool input_panel_raised() const override { return panel; }
    void press_home_key() override { ++home_presses; }

    bool program_runs = true;
    std::u16string failure;
    std::u16string last_program, last_argument;
    bool panel = false;
    int home_presses = 0;
};

}  // namespace kelvane
