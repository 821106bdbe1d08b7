#pragma once
// The four bounds of a range, each used only while its box is checked: a
// start and end mileage (in the account's mileage unit) and a start and end
// date. The custom report range and the trip editor show them alike, one
// bound a row: the check box, then its box or date. Up and Down on a check
// box go to the bound it switches on, or to the one of the row above.

#include <QString>

class QCheckBox;
class QFont;
class QLabel;
class QWidget;

namespace kelvane {

class date_picker;
class edit_box;

struct range_fields {
    // Makes the controls as children of the dialog.
    explicit range_fields(QWidget* dialog);

    // The check boxes' texts in the language, all cleared; the mileage boxes
    // empty with the number boxes' look; the unit beside them.
    void set_up(const QString& mileage_unit, const QFont& font);
    // Lays the four rows out from y down, the check boxes label_width wide
    // and `gap` pixels between the rows; returns the y below the last row.
    int lay_out(int left, int right, int y, int line, int label_width, int gap);
    // True when each mileage switched on holds a number (or nothing); else
    // the owner has been told which, and that box has the focus.
    bool mileages_readable() const;

    QCheckBox* use_start_mileage;
    QCheckBox* use_start_date;
    QCheckBox* use_end_mileage;
    QCheckBox* use_end_date;
    edit_box* start_mileage;
    edit_box* end_mileage;
    QLabel* start_unit;
    QLabel* end_unit;
    date_picker* start_date;
    date_picker* end_date;
};

}  // namespace kelvane
