#pragma once
// A list whose rows the program draws itself, through the dc, under a row of
// column headings: the report list and the trips list. It keeps the chosen
// row, scrolls with a bar, the wheel and the Up and Down keys, and tells its
// page of taps, double taps and Enter. Left and Right go on to the page,
// which moves to the neighbouring page of the main screen.

#include <string>
#include <vector>

#include "gui/widgets/scrolling_rows.h"

namespace kelvane {

class drawn_list : public scrolling_rows {
    Q_OBJECT
public:
    struct column {
        std::u16string heading;  // shown as it stands (translated by the owner)
        int width = 0;
        bool right_aligned = false;
    };

    explicit drawn_list(QWidget* parent = nullptr);

    void set_columns(std::vector<column> columns);
    const std::vector<column>& columns() const { return columns_; }
    void set_column_width(int index, int width);
    // The headings' font as asked for on the handheld's screen; they are
    // written in it grown with the screen's sides (shown_header_font).
    void set_header_font(const font_request& f) { header_font_ = f; }
    const font_request& header_font() const { return header_font_; }
    font_request shown_header_font() const;
    // The width a column needs to show its heading whole.
    int heading_width(int index) const;
    // The width of the rows' part that the scroll bar leaves free.
    int free_width() const;
    // What the list says while it has no rows (an English key, translated
    // when drawn); empty for nothing.
    void set_empty_hint(std::u16string_view key);
    const std::u16string& empty_hint() const { return empty_hint_; }

    // Draws the headings and the visible rows into a surface of the list's size.
    void draw(dc& d) override;

signals:
    void row_tapped(int row);
    void row_activated(int row);  // double tap or Enter on a chosen row

protected:
    // Draws one row into its rectangle (the full width of the columns).
    virtual void draw_row(dc& d, int row, const kelvane::rect& r, bool selected) = 0;

    // The headings' band: a row high, or higher when their text is.
    int rows_top() const override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    std::vector<column> columns_;
    font_request header_font_{u"Arial", 12, 700};
    std::u16string empty_hint_;
};

}  // namespace kelvane
