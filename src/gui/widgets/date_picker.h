#pragma once
// The date (or date and time) box of the editors: the handheld's drop-down
// calendar carried by a Qt date edit with a calendar pop-up. The date is shown
// in the order of the device's language, short enough for a 240-pixel screen.

#include <QDateTimeEdit>

#include "platform/local_time.h"

namespace kelvane {

class date_picker : public QDateTimeEdit {
    Q_OBJECT
public:
    enum class shows { date, date_and_time };

    explicit date_picker(shows what = shows::date, QWidget* parent = nullptr);

    // The picked moment; the seconds are those last set (the box shows none).
    local_time value() const;
    void set_value(const local_time& t);
    void set_date(int year, int month, int day);

    bool shows_time() const { return what_ == shows::date_and_time; }

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void apply_format();
    // Places the calendar inside the device's screen.
    void keep_on_screen(QWidget& popup);

    shows what_;
    int seconds_ = 0;
};

}  // namespace kelvane
