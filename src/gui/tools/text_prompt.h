#pragma once
// A prompt for one line of text, typically a path and file name, with a
// "..." button that opens the folder chooser on what has been typed.

#include <string>
#include <string_view>

#include "platform/qt/device_dialog.h"

class QLabel;

namespace kelvane {

class edit_box;
class skin;
class skin_button;

class text_prompt : public device_dialog {
    Q_OBJECT
public:
    static constexpr int cmd_ok = 32784;
    static constexpr int cmd_cancel = 32789;

    struct options {
        std::u16string prompt;
        std::u16string initial_text;
        // Empty: "..." chooses a folder; else a file of this extension (".csv").
        std::u16string extension;
        bool no_browse = false;
    };

    text_prompt(const skin& pieces, options o, QWidget* parent = nullptr);

    // The entered text; empty when the prompt was cancelled.
    const std::u16string& text() const { return text_; }

    edit_box& box() { return *box_; }
    bool browse_shown() const;
    // The "..." button: the folder chooser starts at the box's path and a
    // chosen path replaces the box's text.
    void browse();

protected:
    void init_dialog() override;
    void on_command(int command) override;
    void on_size(int width, int height) override;

private:
    const skin& pieces_;
    options options_;
    std::u16string text_;
    QLabel* prompt_;
    edit_box* box_;
    skin_button* browse_;
    skin_button* ok_;
    skin_button* cancel_;
};

// Asks for a line of text; empty when cancelled.
std::u16string prompt_for_text(const skin& pieces, text_prompt::options o);
// Asks for the CSV file to export to or import from, offering
// "<data folder>Output\<name>.csv"; empty when the owner cancelled or left
// the box empty.
std::u16string prompt_for_csv_file(const skin& pieces, std::u16string prompt,
                                   std::u16string_view data_folder, std::u16string_view name);

// The text as part of a proposed file name: every character a file name
// cannot hold (a trip's ":" or "/", a path separator) becomes "_", so that
// what the prompt proposes is one file in the folder it names.
std::u16string file_name_part(std::u16string_view text);

}  // namespace kelvane
