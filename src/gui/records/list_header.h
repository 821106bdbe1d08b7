#pragma once
// The painted column header of the record lists: dark bands in the colour
// scheme's highlight colour, bold titles, a thin line between columns. It
// follows the list when the list scrolls sideways.

#include <QWidget>
#include <string>
#include <vector>

#include "platform/dc.h"

namespace kelvane {

class list_header : public QWidget {
    Q_OBJECT
public:
    struct item {
        std::u16string title;  // as shown
        int width = 0;
    };

    explicit list_header(QWidget* parent = nullptr);

    void set_items(std::vector<item> items);
    const std::vector<item>& items() const { return items_; }
    void set_title(int column, std::u16string title);
    void set_width(int column, int width);
    // Pixels the columns are scrolled to the left.
    void set_offset(int x);

    void draw(dc& d);

    // The header's colours for a colour scheme: the highlight colour at half
    // strength behind titles in a brightened window-text colour.
    static colour background_for(colour highlight);
    static colour text_colour_for(colour window_text);

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    std::vector<item> items_;
    int offset_ = 0;
};

}  // namespace kelvane
