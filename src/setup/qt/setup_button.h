#pragma once
// One of the wizard's owner-drawn buttons (Back, Next, Cancel).

#include <QAbstractButton>

#include "platform/dc.h"

namespace kelvane {

class setup_button : public QAbstractButton {
    Q_OBJECT
public:
    explicit setup_button(QWidget* parent = nullptr);
    // The caption's colour: black, or grey where the button does nothing.
    void set_text_colour(colour c);
    colour text_colour() const { return text_; }

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    colour text_;
};

}  // namespace kelvane
