#pragma once
// The owner-drawn list of texts with notes: the suggestions that drop down
// under an edit_box, the pickers' lists and, in check mode, the lists of check
// marks whose unindented rows lead groups of indented ones.

#include <string>
#include <vector>

#include "gui/widgets/scrolling_rows.h"

namespace kelvane {

class edit_box;
class skin;

class suggestion_dropdown : public scrolling_rows {
    Q_OBJECT
public:
    struct row {
        std::u16string text;
        colour text_colour = rgb(0, 0, 0);
        std::u16string note;
        colour note_colour = rgb(100, 100, 100);
        int font_height = 12;
        std::u16string font_face = u"Arial";
        bool indent = false;
        int icon = 0;  // check mode: 0 clear, 1 checked
    };

    static constexpr int default_row_height = 16;  // unless set_row_height says otherwise
    static constexpr int note_width = 50;

    explicit suggestion_dropdown(QWidget* parent = nullptr);

    void add_row(row r);
    void add_row(std::u16string_view text, colour text_colour, std::u16string_view note,
                 colour note_colour, int font_height, std::u16string_view font_face, bool indent,
                 int icon);
    void clear_rows();
    int row_count() const override { return static_cast<int>(rows_.size()); }
    const row& row_at(int i) const { return rows_[static_cast<std::size_t>(i)]; }
    using scrolling_rows::row_at;
    void set_icon(int i, int icon);

    // Check mode draws a check mark before each row and flips it on a tap.
    // The marks come from the skin; nullptr turns check mode off.
    void set_check_mode(const skin* marks) {
        marks_ = marks;
        check_mode_ = marks != nullptr;
        update();
    }
    bool check_mode() const { return check_mode_; }
    // An always-visible list does not hide itself after a tap.
    void set_always_visible(bool on) { always_visible_ = on; }
    // A header line over the texts, headed "Text".
    void set_header(bool on) {
        header_ = on;
        update();
    }
    void set_margin(int m) { margin_ = m; }
    // Two plain columns of fixed widths, "Text" and "Note" (the pickers' lists).
    // In check mode the rows keep their check marks and the text stays in
    // its column.
    void set_columns(int text_width, int note_width) {
        columns_ = true, text_width_ = text_width, note_width_ = note_width;
        update();
    }

    // The edit box whose suggestions this list shows.
    // The list then never takes the focus, so that a tap on it leaves the box focused.
    void set_owner(edit_box* box);
    edit_box* owner() const { return owner_; }
    // Takes the box's left and right edges and lies just under its top line.
    void place_under(const QWidget& box);

    // A tap on row i, as the stylus would.
    void tap_row(int i);
    // Flips the check mark of row i (and its group's members).
    void toggle_check(int i);

    // Draws the visible rows into a surface of the list's size.
    void draw(dc& d) override;

signals:
    void row_tapped(int index);
    void row_activated(int index);  // Enter on a row

protected:
    int rows_top() const override { return header_ ? row_height() + 2 : 0; }
    QRect scroll_bar_place() const override;
    void mousePressEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void draw_rows(dc& d, int w);
    void draw_columns(dc& d, int w);
    // Calls draw(row, selected, top, bottom) for every row that shows.
    template <class Draw>
    void for_each_row_drawn(Draw draw) const;

    std::vector<row> rows_;
    bool check_mode_ = false;
    const skin* marks_ = nullptr;
    bool always_visible_ = false;
    bool header_ = false;
    bool columns_ = false;
    int text_width_ = 0, note_width_ = 0;
    int margin_ = 0;
    edit_box* owner_ = nullptr;
};

}  // namespace kelvane
