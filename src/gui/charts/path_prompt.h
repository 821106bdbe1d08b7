#pragma once
// Asks for the path and name of a file to write: a prompt line, a box with
// the proposed path (hint "Please enter"), "Ok" and "Cancel". The chart
// screen proposes the picture's file with it.

#include <string>
#include <string_view>

#include "platform/qt/device_dialog.h"

namespace kelvane {

class edit_box;
class skin;
class skin_button;
class text_label;

class path_prompt : public device_dialog {
    Q_OBJECT
public:
    static constexpr int cmd_ok = 32784;
    static constexpr int cmd_cancel = 32789;

    path_prompt(const skin& pieces, std::u16string_view prompt, std::u16string_view initial,
                QWidget* parent = nullptr);

    // The entered text; empty when cancelled.
    const std::u16string& text() const { return text_; }
    edit_box& box() { return *box_; }

protected:
    void init_dialog() override;
    void on_command(int command) override;
    void on_timer(int id) override;
    void on_size(int width, int height) override;

private:
    std::u16string prompt_text_;
    std::u16string initial_;
    std::u16string text_;
    text_label* prompt_;
    edit_box* box_;
    skin_button* ok_;
    skin_button* cancel_;
};

// The entered path, or empty when the owner cancelled.
std::u16string ask_for_path(const skin& pieces, std::u16string_view prompt,
                            std::u16string_view initial);

}  // namespace kelvane
