#pragma once
// The message box on the host: a small box in the middle of the device
// screen with its caption, text and buttons; it covers the screen so that
// nothing below takes taps while it is open.

#include <QLabel>
#include <QPushButton>
#include <vector>

#include "platform/message_box.h"
#include "platform/qt/device_dialog.h"

namespace kelvane {

class device_message_box : public device_dialog {
    Q_OBJECT
public:
    device_message_box(std::u16string_view text, std::u16string_view caption,
                       message_buttons buttons, QWidget* parent = nullptr);

    message_answer answer() const { return answer_; }
    // Presses the button of this answer, as a tap would; false when absent.
    bool press(message_answer a);
    std::u16string text() const { return text_; }

protected:
    void paintEvent(QPaintEvent* e) override;
    void on_size(int width, int height) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void add_button(const QString& word, message_answer a);
    QRect box_rect() const;

    std::u16string text_;
    message_buttons buttons_;
    message_answer answer_;
    QLabel* label_;
    std::vector<std::pair<QPushButton*, message_answer>> buttons_list_;
};

// The program's message boxes shown on the device screen, run through the modal seam.
class device_message_box_service : public message_box_service {
public:
    message_answer show(std::u16string_view text, std::u16string_view caption,
                        message_buttons buttons) override;
};

}  // namespace kelvane
