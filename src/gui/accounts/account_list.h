#pragma once
// The rows of the accounts page: one row per vehicle account with the
// program icon, the name and two lines with its total mileage and total
// cost; the open account and the selected row in their own colours.

#include <QImage>
#include <string>
#include <vector>

#include "core/accounts/account_summary_row.h"
#include "gui/widgets/scrolling_rows.h"

namespace kelvane {

class account_list : public scrolling_rows {
    Q_OBJECT
public:
    // On a 240 x 320 screen; larger screens grow them with the text.
    static constexpr int header_height = 18;
    static constexpr int band_height = 21;

    explicit account_list(QWidget* parent = nullptr);

    void set_rows(std::vector<account_summary_row> rows);
    const std::vector<account_summary_row>& rows() const { return rows_; }
    int row_count() const override { return static_cast<int>(rows_.size()); }
    // The name of the account the stores hold: its row is drawn as open.
    void set_open_account(std::u16string name);

    // The selected row's name; empty when none is selected.
    std::u16string selected_name() const;
    // The middle of a row, where a tap lands.
    QPoint row_centre(int row) const;

    // Draws the visible rows into a surface of the list's size.
    void draw(dc& d) override;

signals:
    // A tap (press and release) on the list: the row tapped, -1 for none.
    void tapped(int row);
    // A double tap on a row, or Enter.
    void edit_requested();

protected:
    int rows_top() const override { return grown(header_height); }
    QRect scroll_bar_place() const override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    void draw_row(dc& d, int row, const kelvane::rect& r);
    // A length of the 240 x 320 layout on the screen in use.
    static int grown(int length);

    std::vector<account_summary_row> rows_;
    std::u16string open_account_;
    bool pressed_ = false;
    QImage icon_;
};

}  // namespace kelvane
