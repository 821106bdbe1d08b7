#pragma once
// The Up and Down keys on the four check boxes of a range (start and end
// mileage, start and end date): Down goes to the box or date the check box
// switches on, Up to the one of the row above. The custom range dialog and
// the trip editor lay their ranges out alike and share this order.

class QWidget;

namespace kelvane {

struct range_controls {
    QWidget* start_mileage_check;
    QWidget* start_mileage;
    QWidget* start_date_check;
    QWidget* start_date;
    QWidget* end_mileage_check;
    QWidget* end_mileage;
    QWidget* end_date_check;
    QWidget* end_date;
};

// Installs the order on the check boxes; it lives as long as they do.
void install_range_focus_order(const range_controls& c);

}  // namespace kelvane
