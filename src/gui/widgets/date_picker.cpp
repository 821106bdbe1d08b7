#include "gui/widgets/date_picker.h"

#include <QCalendarWidget>
#include <QEvent>
#include <algorithm>

#include "core/common/date_text.h"
#include "core/common/scaled_font.h"
#include "platform/qt/device_screen.h"
#include "platform/qt/qpainter_dc.h"
#include "platform/services.h"

namespace kelvane {

date_picker::date_picker(shows what, QWidget* parent) : QDateTimeEdit(parent), what_(what) {
    setCalendarPopup(true);
    // The records keep four-digit years; the device's own picker offers no others.
    setMinimumDate(QDate(1900, 1, 1));
    setMaximumDate(QDate(9999, 12, 31));
    apply_format();
    // Sundays start the weeks, as in the program's week reports.
    calendarWidget()->setFirstDayOfWeek(Qt::Sunday);
    calendarWidget()->setGridVisible(true);
    // The calendar drops down in a window of its own; it is kept on the
    // device's screen whenever it opens.
    calendarWidget()->window()->installEventFilter(this);
}

bool date_picker::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::Show && watched == calendarWidget()->window())
        keep_on_screen(*calendarWidget()->window());
    return QDateTimeEdit::eventFilter(watched, e);
}

void date_picker::keep_on_screen(QWidget& popup) {
    const device_screen* screen = device_screen::current();
    if (!screen) return;
    calendarWidget()->setFont(device_font({u"Arial", scaled_font_size(12)}));
    const QRect area(screen->mapToGlobal(QPoint(0, 0)), screen->size());
    QRect r = popup.geometry();
    r.setSize(popup.sizeHint().boundedTo(area.size()));
    // Below the box where it fits, else above it, else as low as the screen allows.
    const QPoint below = mapToGlobal(QPoint(0, height()));
    const QPoint above = mapToGlobal(QPoint(0, 0));
    int top = below.y();
    if (top + r.height() > area.bottom() + 1) top = above.y() - r.height();
    top = std::clamp(top, area.top(), area.bottom() + 1 - r.height());
    const int left = std::clamp(below.x(), area.left(), area.right() + 1 - r.width());
    r.moveTo(left, top);
    popup.setGeometry(r);
}

void date_picker::apply_format() {
    QString date;
    switch (date_order_for(device().language_id())) {
        case date_order::day_month_year:
            date = device().language_id() == 1031 ? QStringLiteral("dd.MM.yyyy")
                                                  : QStringLiteral("dd/MM/yyyy");
            break;
        case date_order::year_month_day:
            date = QStringLiteral("yyyy/MM/dd");
            break;
        case date_order::month_day_year:
            date = QStringLiteral("MM/dd/yyyy");
            break;
    }
    setDisplayFormat(shows_time() ? date + QStringLiteral(" HH:mm") : date);
}

local_time date_picker::value() const {
    const QDateTime dt = dateTime();
    local_time t;
    t.weekday = dt.date().dayOfWeek() % 7;  // Qt counts Sunday as 7
    t.year = dt.date().year();
    t.month = dt.date().month();
    t.day = dt.date().day();
    if (shows_time()) {
        t.hour = dt.time().hour();
        t.minute = dt.time().minute();
        t.second = seconds_;
    }
    return t;
}

void date_picker::set_value(const local_time& t) {
    QDate d(t.year, t.month, t.day);
    if (!d.isValid()) d = QDate(1900, 1, 1);
    QTime time(t.hour, t.minute);
    if (!time.isValid()) time = QTime(0, 0);
    setDateTime(QDateTime(d, time));
    seconds_ = t.second;
}

void date_picker::set_date(int year, int month, int day) {
    local_time t;
    t.year = year, t.month = month, t.day = day;
    set_value(t);
}

}  // namespace kelvane
