#pragma once
// What the program's owner-drawn lists share (the report and trips lists,
// the accounts list, the suggestion and picker lists): rows of one height
// below an optional band of headings, the chosen row, the first row in view
// with its scroll bar, the wheel, and Up and Down moving the choice. Each
// list draws itself through the dc and answers taps in its own way.

#include <QWidget>

#include "platform/dc.h"

class QKeyEvent;
class QScrollBar;

namespace kelvane {

class scrolling_rows : public QWidget {
    Q_OBJECT
public:
    virtual int row_count() const = 0;

    void set_row_height(int h);
    int row_height() const { return row_height_; }

    // -1 when no row is chosen.
    int selected() const { return selected_; }
    // Chooses a row (-1: none) and scrolls it into view.
    void select_row(int row);
    int top_row() const { return top_row_; }
    // The row under a point of the list; -1 on the headings or below the rows.
    int row_at(QPoint p) const;

    // Draws the list into a surface of its size.
    virtual void draw(dc& d) = 0;

protected:
    explicit scrolling_rows(QWidget* parent);

    // Where the rows begin: below the headings, if any.
    virtual int rows_top() const { return 0; }
    // Where the scroll bar stands when it shows.
    virtual QRect scroll_bar_place() const;
    QScrollBar& scroll_bar() const { return *scroll_; }
    int visible_rows() const;

    // The rows changed: the scroll range follows and the choice stays inside.
    void rows_changed();
    // The rows were replaced: nothing is chosen and the list shows its top.
    void rows_replaced();
    // Up and Down move the choice; false for any other key.
    bool move_selection(const QKeyEvent& e);

    // Calls show(row, top) for every row in view, top being the row's y.
    template <class Show>
    void for_each_shown_row(Show show) const {
        for (int row = top_row_, y = rows_top(); row < row_count() && y < height();
             ++row, y += row_height_)
            show(row, y);
    }

    void paintEvent(QPaintEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void update_scroll();
    void ensure_visible(int row);

    int row_height_ = 16;
    int selected_ = -1;
    int top_row_ = 0;
    QScrollBar* scroll_;
};

}  // namespace kelvane
