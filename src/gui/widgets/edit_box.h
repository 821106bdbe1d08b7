#pragma once
// The program's edit box: a hint shown while it is empty and unfocused,
// suggestions dropping down in a suggestion_dropdown with completion as one types, a
// capital first letter, a maximum length with a counter, password and
// number boxes, and an initial selection that can leave the tail alone (so
// that a mileage's last digits stay while the owner types the leading ones).

#include <QLineEdit>
#include <span>
#include <string>
#include <vector>

#include "platform/dc.h"

class QLabel;

namespace kelvane {

class suggestion_dropdown;

class edit_box : public QLineEdit {
    Q_OBJECT
public:
    explicit edit_box(QWidget* parent = nullptr);

    // The box's text; empty while it shows its hint.
    std::u16string get_text() const;
    // An empty text shows the hint instead.
    void set_text(std::u16string_view text);
    void set_hint(std::u16string_view hint);
    const std::u16string& hint() const { return hint_; }
    bool showing_hint() const { return showing_hint_; }
    bool focused() const { return focused_; }

    void add_suggestion(std::u16string_view text, std::u16string_view note = {});
    void clear_suggestions();
    // The list the suggestions drop down in (a sibling of the box).
    void set_suggestion_list(suggestion_dropdown* list);
    suggestion_dropdown* suggestion_list() const { return list_; }
    bool suggestions_shown() const { return suggestions_shown_; }
    // Index of the suggestion last taken from the list, -1 for none.
    int taken_suggestion() const { return taken_; }

    // Applies the initial selection. A number box whose text the program
    // put there (the last price, a value worked out) selects all of it, so
    // that what the owner types replaces it; a kept tail still applies.
    void select_initial();
    // True while the text is the one the program set, not yet typed over.
    bool filled_by_program() const { return filled_by_program_; }

    void set_prompt(QLabel* label, std::u16string_view text);
    void set_counter_label(QLabel* label);
    void set_max_length(int n);
    int max_length() const { return max_length_; }

    // Settings.
    bool text_box = false;  // false: a number box
    bool autocomplete = true;
    bool password = false;
    bool capitalise_first = true;
    bool raise_input_panel = true;
    bool border_on_focus = false;
    bool hint_font = true;
    int kept_tail = 0;
    // The decimals a number box shows its numbers with; the calculator
    // writes its results the same way.
    int decimals = 2;
    colour hint_background = rgb(220, 220, 220);
    colour hint_colour = rgb(100, 100, 100);
    colour entry_background = rgb(200, 230, 250);

    // Called by the suggestion list.
    void take_suggestion(const std::u16string& text, int index);
    void suggestions_hidden() { suggestions_shown_ = false; }

signals:
    // The owner changed the text (not the hint, not a programmatic set).
    void changed();

protected:
    void focusInEvent(QFocusEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void on_text_changed(const QString& text);
    void show_suggestions();
    void hide_suggestions();
    void apply_look();
    void update_counter();
    void put_hint();
    void show_start();
    // The width the text has inside the frame.
    int text_room() const;

    std::u16string hint_;
    bool showing_hint_ = false;
    bool focused_ = false;
    bool focused_by_press_ = false;
    bool filled_by_program_ = false;
    bool select_on_tap_ = false;
    bool suspended_ = false;
    bool suggestions_shown_ = false;
    int previous_length_ = 0;
    int max_length_ = -1;
    int taken_ = -1;
    std::vector<std::u16string> suggestions_, notes_;
    suggestion_dropdown* list_ = nullptr;
    QLabel* prompt_label_ = nullptr;
    std::u16string prompt_;
    QLabel* counter_ = nullptr;
};

// A number box of a form with the English key of its label ("Fuel Cost:").
struct labelled_number_box {
    std::u16string label_key;
    edit_box* box = nullptr;
};

// True when every box holds a number or nothing (which reads as 0). Else the
// owner is told which box holds something else, that box takes the focus
// with its text selected for correcting, and nothing may be saved.
bool numbers_readable(std::span<const labelled_number_box> boxes);

}  // namespace kelvane
