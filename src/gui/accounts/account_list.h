#pragma once
// The rows of the accounts page: one row per vehicle account with the
// program icon, the name and two lines with its total mileage and total
// cost; the open account and the selected row in their own colours.

#include <QImage>
#include <QWidget>
#include <string>
#include <vector>

#include "core/accounts/account_summary_row.h"
#include "platform/dc.h"

class QScrollBar;

namespace kelvane {

class account_list : public QWidget {
    Q_OBJECT
public:
    static constexpr int row_height = 56;
    static constexpr int header_height = 18;
    static constexpr int band_height = 21;

    explicit account_list(QWidget* parent = nullptr);

    void set_rows(std::vector<account_summary_row> rows);
    const std::vector<account_summary_row>& rows() const { return rows_; }
    int row_count() const { return static_cast<int>(rows_.size()); }
    // The name of the account the stores hold: its row is drawn as open.
    void set_open_account(std::u16string name);

    // -1 when no row is selected.
    int selected() const { return selected_; }
    void select_row(int row);
    // The selected row's name; empty when none is selected.
    std::u16string selected_name() const;
    // The row at a point of the list; -1 for none.
    int row_at(QPoint p) const;
    // The middle of a row, where a tap lands.
    QPoint row_centre(int row) const;

    // Draws the visible rows into a surface of the list's size.
    void draw(dc& d);

signals:
    // A tap (press and release) on the list: the row tapped, -1 for none.
    void tapped(int row);
    // A double tap on a row, or Enter.
    void edit_requested();

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;

private:
    int visible_rows() const;
    void update_scroll();
    void ensure_visible(int row);
    void draw_row(dc& d, int row, const kelvane::rect& r);

    std::vector<account_summary_row> rows_;
    std::u16string open_account_;
    int selected_ = -1;
    int top_row_ = 0;
    bool pressed_ = false;
    QImage icon_;
    QScrollBar* scroll_;
};

}  // namespace kelvane
