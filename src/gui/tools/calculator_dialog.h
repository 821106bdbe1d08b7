#pragma once
// The small calculator that opens beside a number box: it starts from the
// box's number and, on "=", writes its result back into the box and closes.
// Dismissed without "=", the box keeps its text.

#include <QLineEdit>
#include <QPushButton>
#include <vector>

#include "core/tools/calculator.h"
#include "platform/qt/device_dialog.h"

namespace kelvane {

class edit_box;
class form_grid;
class skin;
class skin_button;

class calculator_dialog : public device_dialog {
    Q_OBJECT
public:
    explicit calculator_dialog(edit_box& target, QWidget* parent = nullptr);

    // A key of the pad, as a tap would press it: '0'-'9', '.', 'c', '<', '+',
    // '-', '*', '/', '='.
    void press(char16_t key);
    std::u16string display() const { return display_->text().toStdU16String(); }
    // The owner typing: each character acts as the key of the pad it names.
    void type(std::u16string_view text);

protected:
    void init_dialog() override;
    void on_size(int width, int height) override;
    void paintEvent(QPaintEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    QRect box_rect() const;
    void show_display();
    // A key typed on the keyboard; false when it is none of the calculator's.
    bool take_key(QKeyEvent* e);

    edit_box& target_;
    calculator logic_;
    QLineEdit* display_;
    std::vector<std::pair<QPushButton*, char16_t>> keys_;
};

// Opens the calculator on a number box (the editors' calculator buttons).
void open_calculator(edit_box& target);
// The small button of a form's tool column that opens the calculator on a box.
skin_button* calculator_button(form_grid& form, const skin& pieces, edit_box& target);

}  // namespace kelvane
