#include "gui/charts/chart_range_dialog.h"

#include <QCheckBox>
#include <QComboBox>

#include "core/charts/chart_period.h"
#include "core/common/parse_number.h"
#include "core/common/scaled_font.h"
#include "core/common/text.h"
#include "gui/charts/colour_probe.h"
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

chart_range_dialog::chart_range_dialog(program& prog, chart_engine& engine, report_stores stores,
                                       QWidget* parent)
    : device_dialog(parent),
      prog_(prog),
      engine_(engine),
      stores_(stores),
      type_(new QComboBox(this)),
      range_(this),
      ok_(new skin_button(prog_.skin, this)) {
    set_caption(u"Kelvane");
    connect(ok_, &QAbstractButton::clicked, this, [this] { on_command(cmd_ok); });
    set_cancel_command(cmd_cancel);
}

void chart_range_dialog::init_dialog() {
    set_menu({menu_command(u"Ok", cmd_ok), menu_command(u"Cancel", cmd_cancel)});
    const QFont font = device_font({u"Arial", scaled_font_size(13)});
    type_->setFont(font);
    type_->addItem(translated(u"Fuel economy analysis"));
    type_->addItem(translated(u"Repair cost analysis"));
    type_->addItem(translated(u"Fees cost analysis"));
    type_->addItem(translated(u"All expenses analysis"));
    type_->setCurrentIndex(0);

    range_.set_up(to_qstring(kelvane::tr(fixed_text(prog_.fuel.header().mileage_unit))), font);
    const local_time today = device_clock().now();
    range_.start_date->set_value(start_of_day(today));
    range_.end_date->set_value(end_of_day(today));
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
    if (!range_.mileages_readable()) return;
    source_ = static_cast<report_kind>(std::max(0, type_->currentIndex()));
    // An empty mileage counts as 0, as the number boxes everywhere do.
    start_mileage_ = range_.use_start_mileage->isChecked()
                         ? parse_number(range_.start_mileage->get_text())
                         : -1.0;
    end_mileage_ =
        range_.use_end_mileage->isChecked() ? parse_number(range_.end_mileage->get_text()) : -1.0;
    selection_limits limits;
    limits.lowest = start_mileage_;
    limits.highest = end_mileage_;
    if (range_.use_start_date->isChecked()) limits.from = start_of_day(range_.start_date->value());
    if (range_.use_end_date->isChecked()) limits.to = end_of_day(range_.end_date->value());
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
    y = range_.lay_out(left, right, y, line, std::min(120, (right - left) / 2), 6);
    ok_->setGeometry(right - 70, y + 4, 70, 24);
}

}  // namespace kelvane
