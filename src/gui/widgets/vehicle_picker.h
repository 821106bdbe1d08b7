#pragma once
// The picker of several names (vehicle accounts for a report or a trip):
// one check mark per name, "Select All" and "Clear All" in its menu, and
// "Ok" hands back the checked names in list order.

#include <string>
#include <vector>

#include "platform/qt/device_dialog.h"

namespace kelvane {

class skin;
class suggestion_dropdown;
class text_label;

class vehicle_picker : public device_dialog {
    Q_OBJECT
public:
    static constexpr int multiple_choice = 2;
    static constexpr int cmd_ok = 32826;
    static constexpr int cmd_select_all = 32785;
    static constexpr int cmd_clear_all = 32786;
    // The font size the names ask for before scaling to the screen area.
    static constexpr int row_font_size = 18;

    // items: the names to choose from; replaced by the chosen names when the
    // owner confirms, untouched otherwise.
    vehicle_picker(const skin& pieces, std::vector<std::u16string>& items,
                   std::vector<std::u16string> checked, int mode, std::u16string_view prompt,
                   QWidget* parent = nullptr);

    suggestion_dropdown& list() { return *list_; }

protected:
    void init_dialog() override;
    void on_command(int command) override;
    void on_size(int width, int height) override;

private:
    void set_all(int icon);

    std::vector<std::u16string>& items_;
    std::vector<std::u16string> checked_;
    int mode_;
    std::u16string prompt_text_;
    suggestion_dropdown* list_;
    text_label* prompt_;
};

}  // namespace kelvane
