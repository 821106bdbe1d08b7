#pragma once
// The rows of the trips page: each trip's description and total cost on a
// row of its own colour, then its fuel, repair and fees costs and its
// mileage (or its vehicles) indented beneath on a tree line.

#include <vector>

#include "core/trips/trip_figures.h"
#include "gui/widgets/drawn_list.h"

namespace kelvane {

class trip_list : public drawn_list {
    Q_OBJECT
public:
    explicit trip_list(QWidget* parent = nullptr);

    void set_rows(std::vector<trip_row> rows);
    int row_count() const override { return static_cast<int>(rows_.size()); }
    const trip_row& row_at_index(int i) const { return rows_[static_cast<std::size_t>(i)]; }
    // The trip (its position in the trip store) of the chosen row; -1 for none.
    int selected_trip() const;
    // The width the Cost column needs to show every row's cost whole.
    int cost_width() const;

protected:
    void draw_row(dc& d, int index, const kelvane::rect& r, bool selected) override;

private:
    font_request row_font(const trip_row& row) const;

    std::vector<trip_row> rows_;
    int font_height_;
};

}  // namespace kelvane
