#pragma once
// A list whose rows the program draws itself, through the dc, under a row of
// column headings: the report list and the trips list. It keeps the chosen
// row, scrolls with a bar, the wheel and the Up and Down keys, and tells its
// page of taps, double taps and Enter. Left and Right go on to the page,
// which moves to the neighbouring page of the main screen.

#include <QWidget>
#include <string>
#include <vector>

#include "platform/dc.h"

class QScrollBar;

namespace kelvane {

class drawn_list : public QWidget {
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
    void set_row_height(int h);
    int row_height() const { return row_height_; }
    void set_header_font(const font_spec& f) { header_font_ = f; }

    virtual int row_count() const = 0;

    // -1 when no row is chosen.
    int selected() const { return selected_; }
    void select_row(int row);
    // The row under a point of the list; -1 for the headings or below the rows.
    int row_at(QPoint p) const;

    // Draws the headings and the visible rows into a surface of the list's size.
    void draw(dc& d);

signals:
    void row_tapped(int row);
    void row_activated(int row);  // double tap or Enter on a chosen row

protected:
    // Draws one row into its rectangle (the full width of the columns).
    virtual void draw_row(dc& d, int row, const kelvane::rect& r, bool selected) = 0;
    // The rows changed: the scroll range follows and the choice stays inside.
    void rows_changed();

    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    int header_height() const { return row_height_ + 2; }
    int visible_rows() const;
    void update_scroll();
    void ensure_visible(int row);

    std::vector<column> columns_;
    font_spec header_font_{u"Arial", 12, 700};
    int row_height_ = 16;
    int selected_ = -1;
    int top_row_ = 0;
    QScrollBar* scroll_;
};

}  // namespace kelvane
