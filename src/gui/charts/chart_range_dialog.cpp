#include "gui/charts/chart_range_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>

#include "core/charts/chart_period.h"
#include "core/common/parse_number.h"
#include "core/common/scaled_font.h"
#include "core/common/text.h"
#include "gui/charts/colour_probe.h"
#include "gui/charts/fitted_text.h"
#include "gui/charts/range_focus_order.h"
#include "gui/shell/program.h"
#include "gui/widgets/busy_work.h"
#include "gui/widgets/date_picker.h"
#include "gui/widgets/edit_box.h"
#include "gui/widgets/menu_items.h"
#include "gui/widgets/skin_button.h"
#include "gui/widgets/translated.h"
#include "platform/qt/qpainter_dc.h"
#include "platform/services.h"

namespace kelvane {

namespace {

void style_mileage_box(edit_box& box) {
    box.text_box = false;
    box.entry_background = rgb(255, 255, 255);
    box.hint_background = rgb(255, 255, 255);
    box.hint_colour = rgb(150, 150, 150);
    box.set_text(u"");
}

}  // namespace

chart_range_dialog::chart_range_dialog(program& prog, chart_engine& engine, report_stores stores,
                                       QWidget* parent)
    : device_dialog(parent), prog_(prog), engine_(engine), stores_(stores) {
    set_caption(u"Kelvane");
    type_ = new QComboBox(this);
    use_start_mileage_ = new QCheckBox(this);
    use_start_date_ = new QCheckBox(this);
    use_end_mileage_ = new QCheckBox(this);
    use_end_date_ = new QCheckBox(this);
    start_mileage_box_ = new edit_box(this);
    end_mileage_box_ = new edit_box(this);
    start_unit_ = new QLabel(this);
    end_unit_ = new QLabel(this);
    start_date_ = new date_picker(date_picker::shows::date, this);
    end_date_ = new date_picker(date_picker::shows::date, this);
    ok_ = new skin_button(prog_.skin, this);
    connect(ok_, &QAbstractButton::clicked, this, [this] { on_command(cmd_ok); });
    install_range_focus_order({use_start_mileage_, start_mileage_box_, use_start_date_, start_date_,
                               use_end_mileage_, end_mileage_box_, use_end_date_, end_date_});
    set_cancel_command(cmd_cancel);
}

void chart_range_dialog::init_dialog() {
    set_menu({menu_command(u"Ok", cmd_ok), menu_command(u"Cancel", cmd_cancel)});
    const QFont font = device_font({u"Arial", scaled_font_size(13)});
    for (QWidget* w : std::initializer_list<QWidget*>{
             type_, use_start_mileage_, use_start_date_, use_end_mileage_, use_end_date_,
             start_mileage_box_, end_mileage_box_, start_unit_, end_unit_, start_date_, end_date_})
        w->setFont(font);
    type_->addItem(translated(u"Fuel economy analysis"));
    type_->addItem(translated(u"Repair cost analysis"));
    type_->addItem(translated(u"Fees cost analysis"));
    type_->addItem(translated(u"All expenses analysis"));
    type_->setCurrentIndex(0);

    use_start_mileage_->setText(translated(u"Start Mileage:"));
    use_start_date_->setText(translated(u"Start Date:"));
    use_end_mileage_->setText(translated(u"End Mileage:"));
    use_end_date_->setText(translated(u"End Date:"));
    for (QCheckBox* c : {use_start_mileage_, use_start_date_, use_end_mileage_, use_end_date_})
        c->setChecked(false);
    style_mileage_box(*start_mileage_box_);
    style_mileage_box(*end_mileage_box_);
    const QString unit = to_qstring(kelvane::tr(fixed_text(prog_.fuel.header().mileage_unit)));
    start_unit_->setText(unit);
    end_unit_->setText(unit);
    const local_time today = device_clock().now();
    start_date_->set_value(start_of_day(today));
    end_date_->set_value(end_of_day(today));
    ok_->set_text(kelvane::tr(u"Ok"));
    type_->setFocus();
}

void chart_range_dialog::on_command(int command) {
    switch (command) {
        case cmd_ok:
            confirm();
            return;
        case cmd_cancel:
            end_dialog(dismissed);
            return;
    }
}

void chart_range_dialog::confirm() {
    source_ = static_cast<report_kind>(std::max(0, type_->currentIndex()));
    // An unreadable mileage counts as 0, as the number boxes everywhere do.
    start_mileage_ =
        use_start_mileage_->isChecked() ? parse_number(start_mileage_box_->get_text()) : -1.0;
    end_mileage_ =
        use_end_mileage_->isChecked() ? parse_number(end_mileage_box_->get_text()) : -1.0;
    selection_limits limits;
    limits.lowest = start_mileage_;
    limits.highest = end_mileage_;
    if (use_start_date_->isChecked()) limits.from = start_of_day(start_date_->value());
    if (use_end_date_->isChecked()) limits.to = end_of_day(end_date_->value());
    {
        busy_work busy;
        busy.step({});
        colour_probe probe;
        fill_report(engine_, probe, source_, stores_, limits);
    }
    kind_ = report_chart_kind(source_);
    // The chart screen's dates show the chosen range.
    if (limits.from) engine_.set_earliest(to_local_seconds(*limits.from));
    if (limits.to) engine_.set_latest(to_local_seconds(*limits.to));
    end_dialog(confirmed);
}

void chart_range_dialog::on_size(int width, int) {
    const int line = scaled_font_size(13) + 9;
    const int left = 6, right = width - 6;
    int y = 8;
    type_->setGeometry(left, y, right - left, line + 2);
    y += line + 10;
    const int check_w = std::min(120, (right - left) / 2);
    const int control_left = left + check_w + 2;
    // The unit's name takes up to a third of the row, written smaller
    // where it is longer.
    const int unit_w =
        std::clamp(std::max(start_unit_->sizeHint().width(), end_unit_->sizeHint().width()), 20,
                   (right - control_left) / 3);
    const int unit_size = fitted_font_size(start_unit_->text().toStdU16String(), u"Arial",
                                           scaled_font_size(13), unit_w);
    for (QLabel* unit : {start_unit_, end_unit_}) unit->setFont(device_font({u"Arial", unit_size}));
    auto mileage_row = [&](QCheckBox* check, edit_box* box, QLabel* unit) {
        check->setGeometry(left, y, check_w, line);
        box->setGeometry(control_left, y, right - control_left - unit_w - 2, line);
        unit->setGeometry(right - unit_w, y, unit_w, line);
        y += line + 6;
    };
    auto date_row = [&](QCheckBox* check, date_picker* picker) {
        check->setGeometry(left, y, check_w, line);
        picker->setGeometry(control_left, y, right - control_left, line);
        y += line + 6;
    };
    mileage_row(use_start_mileage_, start_mileage_box_, start_unit_);
    date_row(use_start_date_, start_date_);
    mileage_row(use_end_mileage_, end_mileage_box_, end_unit_);
    date_row(use_end_date_, end_date_);
    ok_->setGeometry(right - 70, y + 4, 70, 24);
}

}  // namespace kelvane
