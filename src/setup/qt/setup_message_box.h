#pragma once
// Setup's message boxes: a plain desktop box over the wizard's window.

#include <QWidget>

#include "platform/message_box.h"

namespace kelvane {

class setup_message_box : public message_box_service {
public:
    void set_parent(QWidget* parent) { parent_ = parent; }
    message_answer show(std::u16string_view text, std::u16string_view caption,
                        message_buttons buttons) override;

private:
    QWidget* parent_ = nullptr;
};

}  // namespace kelvane
