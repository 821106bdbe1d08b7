#pragma once
// The key mapping screen: the owner of a keypad phone records which physical
// key types each of the twelve entry characters, or takes one of the two
// presets, and saves the table to "Config_key.dat". Every key pressed while
// the screen waits for one is traced in "Debug.txt".

#include <QImage>
#include <cstdint>

#include "core/tools/key_capture.h"
#include "platform/qt/device_dialog.h"

class QKeyEvent;
class QPushButton;

namespace kelvane {

class dc;

// The handheld's key code for a key pressed on this computer, or 0 for a key
// the handheld has no code for (a bare Shift, Escape, ...).
std::uint16_t device_key_code(const QKeyEvent& e);

class key_mapping_dialog : public device_dialog {
    Q_OBJECT
public:
    // Menu commands.
    static constexpr int save_command = 32807;
    static constexpr int cancel_command = 32808;
    static constexpr int start_command = 32809;
    static constexpr int motorola_q_command = 32810;
    static constexpr int samsung_command = 32812;

    // Works on a copy of the table; "Save" writes the copy back into it.
    explicit key_mapping_dialog(key_table& table, QWidget* parent = nullptr);

    const key_capture& capture() const { return capture_; }
    // The restart button (capture again from the first character).
    QPushButton* restart_button() const { return restart_; }

    // The table as the screen shows it, at the size of the working area.
    QImage render() const;

protected:
    void init_dialog() override;
    void on_command(int command) override;
    void on_size(int width, int height) override;
    void paintEvent(QPaintEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    // Paints the working area (the surface's origin is its top-left corner).
    void paint_table(dc& d) const;
    // The band left for the twelve rows, between the heading and the button.
    QRect table_rect() const;

    key_table& table_;
    key_capture capture_;
    QPushButton* restart_;
};

// Runs the key mapping screen on the program's table (menu "Set Key Mapping").
void open_key_mapping(key_table& table);

}  // namespace kelvane
