#include "gui/widgets/range_fields.h"

#include <QCheckBox>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <algorithm>
#include <initializer_list>
#include <vector>

#include "core/common/scaled_font.h"
#include "gui/widgets/date_picker.h"
#include "gui/widgets/edit_box.h"
#include "gui/widgets/fitted_text.h"
#include "gui/widgets/translated.h"
#include "platform/qt/qpainter_dc.h"

namespace kelvane {

namespace {

class focus_mover : public QObject {
public:
    focus_mover(QWidget* check, QWidget* up, QWidget* down)
        : QObject(check), up_(up), down_(down) {}

    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() != QEvent::KeyPress) return false;
        const int k = static_cast<QKeyEvent*>(e)->key();
        QWidget* target = k == Qt::Key_Up ? up_ : k == Qt::Key_Down ? down_ : nullptr;
        if (!target) return false;
        target->setFocus(Qt::TabFocusReason);
        return true;
    }

private:
    QWidget* up_;
    QWidget* down_;
};

void move_focus(QWidget* check, QWidget* up, QWidget* down) {
    check->installEventFilter(new focus_mover(check, up, down));
}

}  // namespace

range_fields::range_fields(QWidget* dialog)
    : use_start_mileage(new QCheckBox(dialog)),
      use_start_date(new QCheckBox(dialog)),
      use_end_mileage(new QCheckBox(dialog)),
      use_end_date(new QCheckBox(dialog)),
      start_mileage(new edit_box(dialog)),
      end_mileage(new edit_box(dialog)),
      start_unit(new QLabel(dialog)),
      end_unit(new QLabel(dialog)),
      start_date(new date_picker(date_picker::shows::date, dialog)),
      end_date(new date_picker(date_picker::shows::date, dialog)) {
    move_focus(use_start_mileage, nullptr, start_mileage);
    move_focus(use_start_date, start_mileage, start_date);
    move_focus(use_end_mileage, start_date, end_mileage);
    move_focus(use_end_date, end_mileage, end_date);
}

void range_fields::set_up(const QString& mileage_unit, const QFont& font) {
    for (QWidget* w : std::initializer_list<QWidget*>{
             use_start_mileage, use_start_date, use_end_mileage, use_end_date, start_mileage,
             end_mileage, start_unit, end_unit, start_date, end_date})
        w->setFont(font);
    use_start_mileage->setText(translated(u"Start Mileage:"));
    use_start_date->setText(translated(u"Start Date:"));
    use_end_mileage->setText(translated(u"End Mileage:"));
    use_end_date->setText(translated(u"End Date:"));
    for (QCheckBox* c : {use_start_mileage, use_start_date, use_end_mileage, use_end_date})
        c->setChecked(false);
    for (edit_box* box : {start_mileage, end_mileage}) {
        box->text_box = false;
        box->entry_background = rgb(255, 255, 255);
        box->hint_background = rgb(255, 255, 255);
        box->hint_colour = rgb(150, 150, 150);
        box->set_text(u"");
    }
    start_unit->setText(mileage_unit);
    end_unit->setText(mileage_unit);
}

int range_fields::lay_out(int left, int right, int y, int line, int label_width, int gap) {
    const int control_left = left + label_width + 2;
    // The unit's name takes up to a third of the row, written smaller
    // where it is longer.
    // The unit is read whole: never narrower than its name at the smallest size.
    const QString unit_text = start_unit->text();
    const int smallest = QFontMetrics(device_font({u"Arial", 9})).horizontalAdvance(unit_text) + 2;
    const int largest =
        QFontMetrics(device_font({u"Arial", scaled_font_size(13)})).horizontalAdvance(unit_text) +
        2;
    const int unit_w = std::max({20, smallest, std::min(largest, (right - control_left) / 3)});
    const int unit_size = fitted_font_size(start_unit->text().toStdU16String(), u"Arial",
                                           scaled_font_size(13), unit_w);
    for (QLabel* unit : {start_unit, end_unit}) unit->setFont(device_font({u"Arial", unit_size}));
    auto mileage_row = [&](QCheckBox* check, edit_box* box, QLabel* unit) {
        check->setGeometry(left, y, label_width, line);
        box->setGeometry(control_left, y, right - control_left - unit_w - 2, line);
        unit->setGeometry(right - unit_w, y, unit_w, line);
        y += line + gap;
    };
    auto date_row = [&](QCheckBox* check, date_picker* picker) {
        check->setGeometry(left, y, label_width, line);
        picker->setGeometry(control_left, y, right - control_left, line);
        y += line + gap;
    };
    mileage_row(use_start_mileage, start_mileage, start_unit);
    date_row(use_start_date, start_date);
    mileage_row(use_end_mileage, end_mileage, end_unit);
    date_row(use_end_date, end_date);
    return y;
}

bool range_fields::mileages_readable() const {
    // A bound that is switched off is not read.
    std::vector<labelled_number_box> numbers;
    if (use_start_mileage->isChecked()) numbers.push_back({u"Start Mileage:", start_mileage});
    if (use_end_mileage->isChecked()) numbers.push_back({u"End Mileage:", end_mileage});
    return numbers_readable(numbers);
}

}  // namespace kelvane
