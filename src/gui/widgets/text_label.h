#pragma once
// The program's label: its own font, colours and alignment, and a small mark
// before the text.

#include <QWidget>
#include <optional>
#include <string>

#include "platform/dc.h"

namespace kelvane {
class skin;
}

namespace kelvane {

class text_label : public QWidget {
    Q_OBJECT
public:
    enum alignment { left_wrap = 0, centred_middle = 1, centred = 2, left_single = 3 };

    explicit text_label(const skin& pieces, QWidget* parent = nullptr);

    void set_text(std::u16string_view text);
    const std::u16string& text() const { return text_; }

    std::u16string font_face = u"System";
    int font_height = 16;
    colour text_colour = rgb(0, 0, 0);
    std::optional<colour> background;  // none: the system window colour
    bool icon = true;
    int align = left_wrap;

    void draw(dc& d);

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    const skin& pieces_;
    std::u16string text_;
};

}  // namespace kelvane
