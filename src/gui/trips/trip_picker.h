#pragma once
// The trip chooser: every trip's description in the order the trips were
// added, the first one chosen, under a prompt given by the opener. "Ok"
// hands back the chosen description; the reports and the trip export ask
// for their trip with it.

#include <string>
#include <vector>

#include "platform/qt/device_dialog.h"

class QListWidget;
class QPushButton;

namespace kelvane {

class text_label;
class skin;
class skin_button;
class trip_store;

class trip_picker : public device_dialog {
    Q_OBJECT
public:
    static constexpr int cmd_ok = 32784;
    static constexpr int cmd_cancel = 32789;

    trip_picker(const skin& pieces, const trip_store& trips, std::u16string_view prompt,
                QWidget* parent = nullptr);

    // The chosen description; empty until "Ok" with a row chosen.
    const std::u16string& chosen() const { return chosen_; }
    QListWidget& list() { return *list_; }

protected:
    void init_dialog() override;
    void on_command(int command) override;
    void on_size(int width, int height) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    std::vector<std::u16string> descriptions_;
    std::u16string prompt_text_;
    std::u16string chosen_;
    text_label* prompt_;
    QListWidget* list_;
    skin_button* ok_;
    skin_button* cancel_;
};

// Asks for a trip; the chosen description, or empty when the owner cancelled
// or there was none to choose.
std::u16string pick_trip(const skin& pieces, const trip_store& trips, std::u16string_view prompt);

}  // namespace kelvane
