#pragma once
// The options screen: the language of the next start, the folder of the
// automatic backups (typed, or chosen behind "..."), when the last automatic
// backup ran, and whether edit boxes may raise the input panel. Nothing is
// stored before "Apply" or "Ok"; what applying does is core's
// (program_options.h).

#include <string>

#include "platform/qt/device_dialog.h"

class QCheckBox;
class QLabel;

namespace kelvane {

class edit_box;
class skin_button;
class suggestion_dropdown;
struct program;

class options_dialog : public device_dialog {
    Q_OBJECT
public:
    static constexpr int cmd_ok = 32784;
    static constexpr int cmd_cancel = 32789;

    explicit options_dialog(program& prog, QWidget* parent = nullptr);

    // "Apply": true when the options were stored (the screen stays open).
    bool apply();
    // "...": the folder chooser on the backup path.
    void choose_backup_folder();

    edit_box& language_box() { return *language_; }
    edit_box& backup_box() { return *backup_; }
    QCheckBox& input_panel_box() { return *no_panel_; }
    QString last_backup_text() const;
    skin_button& apply_button() { return *apply_button_; }

protected:
    void init_dialog() override;
    void on_command(int command) override;
    void on_size(int width, int height) override;

private:
    void show_restart_message();

    program& prog_;
    // The language in force for the next start when the screen opened (or
    // was last applied), to tell a change from a repeat.
    std::u16string opening_language_;
    QLabel *language_label_, *backup_label_, *last_backup_;
    edit_box *language_, *backup_;
    suggestion_dropdown* languages_;
    skin_button *browse_, *apply_button_;
    QCheckBox* no_panel_;
};

}  // namespace kelvane
