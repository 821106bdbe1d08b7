#pragma once
// The record list of the fuel, repair and fees pages: a virtual, owner-drawn
// list of four columns that holds no records. It asks its store for the
// texts of a row only when the row is drawn, so a store of any size opens and
// scrolls at once, and the page refreshes it by setting its row count alone.
// Row i shows the store's record count - 1 - i: the newest record on top.
//
// Tap and hold (or the right button, or the menu key) offers the page's
// first command and, with a row selected, "Edit" and "Delete"; the chosen
// command goes to the page. Enter and a double tap ask for Edit, the Delete
// key for Delete. Left and Right are left to the main screen (page keys).

#include <QAbstractScrollArea>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/stores/fee_store.h"
#include "core/stores/fuel_store.h"
#include "core/stores/service_store.h"
#include "platform/dc.h"

namespace kelvane {

class list_header;

// The look of one row where it differs from the list's own: black on white
// in the list's font.
struct row_style {
    colour text = rgb(0, 0, 0);
    colour background = rgb(255, 255, 255);
    std::u16string font_face;  // up to 17 characters
    int font_height = 0;       // 0 or less keeps the list's font
    int indent = 0;            // pixels before column 0's text; not 0 also draws tree lines
};

class record_list_base : public QAbstractScrollArea {
    Q_OBJECT
public:
    static constexpr int column_count = 4;
    // The commands of the list's pop-up menu.
    static constexpr int cmd_first = 2027;
    static constexpr int cmd_edit = 2028;
    static constexpr int cmd_delete = 2029;

    using row_texts = std::array<std::u16string, column_count>;

    ~record_list_base() override;

    // Column titles are English keys, shown translated.
    void set_column(int column, std::u16string_view title_key, int width);
    void set_column_title(int column, std::u16string_view title_key);
    void set_column_width(int column, int width);
    int column_width(int column) const;
    // The column that takes up what the others leave of the list's width
    // (never less than `minimum`), so that the columns fill the list exactly
    // whether or not the scroll bar shows. -1: none.
    void set_stretch_column(int column, int minimum);

    // What an empty list says instead (an English key): how to begin.
    void set_empty_hint(std::u16string_view key);
    const std::u16string& empty_hint() const { return empty_hint_; }

    void set_row_count(int rows);
    int row_count() const { return rows_; }
    // -1 when no row is selected.
    int selected_row() const { return selected_; }
    // Selects a row (-1: none) and scrolls it into view.
    void select_row(int row);
    // Forgets the cached texts, the rows and their styles.
    void reset();

    // The look of each row, by row (0 = top); a row without one, or beyond
    // the list, is drawn in the list's own. A selected row is drawn in the
    // highlight colours whatever its style.
    void set_row_styles(std::vector<std::optional<row_style>> styles);
    const row_style* style_of(int row) const;

    int row_height() const;
    // The width of the widest date the rows can show, in the rows' font.
    int widest_date() const;
    int top_row() const;
    // Rows that fit in the list's height.
    int rows_per_page() const;
    // The row at a point of the viewport, -1 for none.
    int row_at(QPoint viewport_point) const;

    // The text of a cell as drawn: column 0 fetches the row's texts afresh,
    // the other columns reuse them while the row stays the same.
    const std::u16string& cell_text(int row, int column);

    // Draws the rows in view onto a surface of the viewport's size.
    void draw_rows(dc& d);

    // Opens the pop-up menu as a hold at a point of the viewport does.
    void hold_at(QPoint viewport_point);
    list_header& header() { return *header_; }

signals:
    // A command of the pop-up menu (cmd_first, cmd_edit, cmd_delete).
    void command(int id);
    void edit_requested();
    void delete_requested();

protected:
    record_list_base(std::u16string_view first_entry_key, QWidget* parent);
    // The four texts of the store's record at this position (0 = oldest).
    virtual row_texts fetch_row(int position) = 0;

    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void scrollContentsBy(int dx, int dy) override;
    bool viewportEvent(QEvent* e) override;

private:
    int header_height() const;
    int total_width() const;
    void update_scroll_ranges();
    void fit_stretch_column();
    void open_menu(QPoint viewport_point);
    void draw_row(dc& d, int row, int y);

    std::u16string first_entry_key_;
    std::u16string empty_hint_;
    std::array<std::u16string, column_count> title_keys_;
    std::array<int, column_count> widths_{};
    int stretch_column_ = -1;
    int stretch_minimum_ = 10;
    int rows_ = 0;
    int selected_ = -1;
    int cached_row_ = -1;
    row_texts cached_;
    std::vector<std::optional<row_style>> styles_;
    list_header* header_;
};

// The list over one store; the store outlives it.
template <class Store>
class record_list : public record_list_base {
public:
    record_list(const Store& store, std::u16string_view first_entry_key, QWidget* parent = nullptr)
        : record_list_base(first_entry_key, parent), store_(store) {}

protected:
    row_texts fetch_row(int position) override { return store_.row_texts(position); }

private:
    const Store& store_;
};

}  // namespace kelvane
