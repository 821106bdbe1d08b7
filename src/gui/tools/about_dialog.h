#pragma once
// The about screen: the program's name and version and what it is for, in a
// scrolling text box, with a button back to the program.

#include <QRect>
#include <string>

#include "platform/qt/device_dialog.h"

class QPlainTextEdit;
class QPushButton;

namespace kelvane {

inline constexpr char16_t program_version[] = u"4.8.0";

// The screen text, lines separated by "\r\n". It stays English whatever the
// language: it is the program's own description, not an interface text.
std::u16string about_text();

class about_dialog : public device_dialog {
    Q_OBJECT
public:
    static constexpr int close_command = 32786;

    explicit about_dialog(QWidget* parent = nullptr);

    QPlainTextEdit* text_box() const { return text_; }
    QPushButton* back_button() const { return back_; }

protected:
    void init_dialog() override;
    void on_command(int command) override;
    void on_size(int width, int height) override;

private:
    QPlainTextEdit* text_;
    QPushButton* back_;
};

// Runs the about screen (menu "About").
void open_about();

}  // namespace kelvane
