#pragma once
// A choice button: shows the current choice, steps through the choices with
// Left and Right (wrapping round) and opens the full list on Enter or a tap.

#include <QWidget>
#include <string>
#include <vector>

#include "platform/dc.h"

namespace kelvane {

class choice_button : public QWidget {
    Q_OBJECT
public:
    explicit choice_button(QWidget* parent = nullptr);

    void add_choice(std::u16string_view text, std::u16string_view note = {});
    void clear_choices();
    // Makes the first choice with this text current; false when there is none.
    bool choose(std::u16string_view text);
    void set_current(int index);
    int current() const { return current_; }
    std::u16string current_text() const;
    int count() const { return static_cast<int>(texts_.size()); }

    void next();
    void previous();
    // Opens the picker with every choice; a picked text becomes current.
    void open_picker();

    // Picker column widths.
    int text_column = 170, note_column = 6;

    void draw(dc& d);

signals:
    void changed();

protected:
    void paintEvent(QPaintEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    std::vector<std::u16string> texts_, notes_;
    int current_ = -1;
};

}  // namespace kelvane
