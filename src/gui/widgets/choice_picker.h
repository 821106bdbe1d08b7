#pragma once
// The full-screen picker of one text from a list of texts with notes.

#include <optional>
#include <string>
#include <vector>

#include "platform/qt/device_dialog.h"

namespace kelvane {

class suggestion_dropdown;

class choice_picker : public device_dialog {
    Q_OBJECT
public:
    static constexpr int cmd_ok = 1;
    static constexpr int cmd_cancel = 2;

    choice_picker(std::vector<std::u16string> texts, std::vector<std::u16string> notes,
                  int selected = -1, QWidget* parent = nullptr);

    // The text picked with "Ok" or Enter; none after "Cancel" or without a selection.
    const std::optional<std::u16string>& picked() const { return picked_; }
    suggestion_dropdown& list() { return *list_; }

    int text_column = 170, note_column = 6;

protected:
    void init_dialog() override;
    void on_command(int command) override;
    void on_size(int width, int height) override;

private:
    void take_selected();

    std::vector<std::u16string> texts_, notes_;
    int selected_;
    suggestion_dropdown* list_;
    std::optional<std::u16string> picked_;
};

}  // namespace kelvane
