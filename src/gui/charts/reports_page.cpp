#include "gui/charts/reports_page.h"

#include <QComboBox>
#include <QLabel>

#include "core/accounts/account_figures.h"
#include "core/charts/report_records.h"
#include "core/common/scaled_font.h"
#include "core/common/text.h"
#include "core/trips/trip_figures.h"
#include "gui/charts/chart_range_dialog.h"
#include "gui/charts/chart_screen.h"
#include "gui/charts/colour_probe.h"
#include "gui/charts/report_list.h"
#include "gui/shell/program.h"
#include "gui/trips/trip_picker.h"
#include "gui/widgets/account_combo.h"
#include "gui/widgets/busy_work.h"
#include "gui/widgets/fitted_text.h"
#include "gui/widgets/owner_messages.h"
#include "gui/widgets/skin_button.h"
#include "gui/widgets/text_label.h"
#include "gui/widgets/translated.h"
#include "gui/widgets/vehicle_picker.h"
#include "platform/qt/qpainter_dc.h"
#include "platform/screen_scale.h"
#include "platform/services.h"

namespace kelvane {

namespace {

// The pictures of the report rows.
constexpr int line_picture = 0, pie_picture = 1;

std::u16string report_title(int kind) {
    switch (kind) {
        case 0:
            return kelvane::tr(u"Fuel economy analysis");
        case 1:
            return kelvane::tr(u"Repair cost analysis");
        case 2:
            return kelvane::tr(u"Fees cost analysis");
        case 3:
            return kelvane::tr(u"All expenses analysis");
        case 4:
            return kelvane::tr(u"Trip cost analysis");
    }
    return {};
}

}  // namespace

reports_page::reports_page(program& prog, QWidget* parent)
    : main_page(prog, page_id::reports, parent) {
    const skin& pieces = prog_.skin;
    list_ = new report_list(pieces, this);
    count_ = new text_label(pieces, this);
    names_ = new text_label(pieces, this);
    for (auto*& l : figures_) l = new text_label(pieces, this);
    progress_ = make_progress_line(pieces, this);
    select_ = new skin_button(pieces, this);
    customize_ = new skin_button(pieces, this);
    chooser_label_ = new QLabel(this);
    chooser_ = new QComboBox(this);

    const auto sys = device().system_colours();
    engine_.set_colours({sys.highlight, sys.highlight_text});

    for (text_label* l : {count_, names_, figures_[0], figures_[1], figures_[2]}) {
        l->font_face = u"Arial";
        l->font_height = scaled_font_size(12);
        l->align = text_label::left_single;
        l->background = rgb(255, 255, 255);
    }
    count_->icon = true;
    names_->icon = false;
    for (text_label* l : figures_) l->icon = false;

    chooser_label_->setText(translated(u"Auto:"));
    select_->set_text(kelvane::tr(u"Select vehicle"));
    customize_->set_text(kelvane::tr(u"Customize"));
    // The vehicle chooser is kept for keypad devices but not shown.
    chooser_label_->hide();
    chooser_->hide();

    list_->set_columns({{kelvane::tr(u"Statistics Chart"), 200, false},
                        {kelvane::tr(u"Explanation"), 100, false}});
    list_->add_row(report_title(0), u"", line_picture);
    list_->add_row(report_title(1), u"", line_picture);
    list_->add_row(report_title(2), u"", line_picture);
    list_->add_row(report_title(3), u"", pie_picture);
    list_->add_row(report_title(4), u"", pie_picture);

    // The chart opens once the tap is over.
    connect(list_, &drawn_list::row_tapped, this, &reports_page::open_report, Qt::QueuedConnection);
    connect(list_, &drawn_list::row_activated, this, &reports_page::open_report,
            Qt::QueuedConnection);
    connect(select_, &QAbstractButton::clicked, this, &reports_page::choose_accounts);
    connect(customize_, &QAbstractButton::clicked, this, &reports_page::customize);
    connect(chooser_, &QComboBox::currentIndexChanged, this, &reports_page::vehicle_chosen);

    const std::u16string current = prog_.config.current_account();
    if (!current.empty()) chosen_.push_back(current);
    refresh_summary();
    list_->select_row(0);
    setFocusProxy(list_);
}

reports_page::~reports_page() = default;

const std::u16string& reports_page::count_line() const {
    return count_->text();
}

const std::u16string& reports_page::names_line() const {
    return names_->text();
}

std::vector<std::u16string> reports_page::figure_lines() const {
    std::vector<std::u16string> lines;
    if (figures_shown_)
        for (const text_label* l : figures_) lines.push_back(l->text());
    return lines;
}

void reports_page::set_screen_size(int width, int height) {
    width_ = width;
    height_ = height;
    // The buttons grow with the screen as their text does.
    auto grown = [&](int length) { return scaled_length(length, width, height); };
    const int h = shown_height(width, height);
    const int w = width;
    // The buttons' captions and the list's rows follow the screen's text size.
    setFont(device_font({u"Arial", scaled_font_size(12, width, height)}));
    list_->fit_rows();
    const int line = scaled_font_size(12) + 3;
    const int button_h = grown(24);
    const int buttons_top = h - button_h - 6;
    const int figures_top = buttons_top - 2 - (figures_shown_ ? 3 * line : 0);
    const int names_top = figures_top - line;
    const int count_top = names_top - line;
    list_->setGeometry(0, 0, w, std::max(40, count_top - 3));
    count_->setGeometry(4, count_top, w - 8, line);
    names_->setGeometry(4, names_top, w - 8, line);
    for (int i = 0; i < 3; ++i) {
        figures_[i]->setGeometry(4, figures_top + i * line, w - 8, line);
        figures_[i]->setVisible(figures_shown_);
    }
    progress_->setGeometry(4, count_top, w - 8, 2 * line);
    select_->setGeometry(4, buttons_top, grown(110), button_h);
    customize_->setGeometry(w - 4 - grown(90), buttons_top, grown(90), button_h);
    chooser_label_->setGeometry(4, buttons_top - 26, 36, 22);
    chooser_->setGeometry(42, buttons_top - 26, w - 46, 22);
    // Both headings show whole: "Explanation" keeps the room its heading
    // needs beside the scroll bar, and the report names take the rest.
    const int explanation = list_->heading_width(1);
    list_->set_column_width(1, explanation);
    list_->set_column_width(
        0, std::max(10, std::min(200 + width - 240, list_->free_width() - explanation)));
    fit_summary();
}

void reports_page::fit_summary() {
    const int size = scaled_font_size(12);
    // The count line leaves room for its mark.
    count_->font_height =
        fitted_font_size(count_->text(), count_->font_face, size, count_->width() - 16);
    for (text_label* l : {names_, figures_[0], figures_[1], figures_[2]}) {
        l->font_height = fitted_font_size(l->text(), l->font_face, size, l->width() - 2);
        l->update();
    }
    count_->update();
}

void reports_page::refresh() {
    refresh_summary();
}

void reports_page::refresh_summary() {
    // An account deleted or renamed since it was chosen is no longer part of
    // the statistics.
    std::erase_if(chosen_,
                  [&](const std::u16string& name) { return !prog_.config.account_exists(name); });
    if (chosen_.size() <= 1) {
        chosen_.clear();
        const std::u16string current = prog_.config.current_account();
        if (!current.empty()) chosen_.push_back(current);
    }
    count_->set_text(kelvane::tr(u"Number of vehicles involved in statistics") +
                     format(": %d", static_cast<int>(chosen_.size())));
    names_->set_text(join(chosen_.data(), chosen_.data() + chosen_.size(), u","));
    // What the one vehicle costs; the open one's as held, with the changes
    // not yet written.
    std::array<std::u16string, 3> figures;
    if (chosen_.size() == 1) {
        const std::u16string& name = chosen_.front();
        figures = cost_summary_lines(
            name == prog_.fuel.account_name()
                ? figures_of(prog_.fuel, prog_.service, prog_.fees, prog_.margins)
                : prog_.account_cache.of(prog_.config.data_folder(), name, prog_.margins));
    }
    for (std::size_t i = 0; i < figures_.size(); ++i) figures_[i]->set_text(figures[i]);
    if (figures_shown_ != (chosen_.size() == 1)) {
        figures_shown_ = chosen_.size() == 1;
        set_screen_size(width_, height_);
    }
    fit_summary();
    fill_account_combo(*chooser_, prog_.config);
}

void reports_page::vehicle_chosen(int index) {
    if (index < 0) return;
    const std::u16string name = chooser_->itemText(index).toStdU16String();
    {
        busy_work busy;
        // A damaged file or a failed save has been shown by its store.
        (void)prog_.config.open_account(name);
    }
    refresh_summary();
}

void reports_page::choose_accounts() {
    std::vector<std::u16string> items = prog_.config.list_account_names();
    vehicle_picker picker(prog_.skin, items, chosen_, vehicle_picker::multiple_choice,
                          kelvane::tr(u"Please choose vehicle account"));
    if (picker.exec() == device_dialog::confirmed) chosen_ = items;
    refresh_summary();
}

void reports_page::load_chosen(report_records& records) {
    busy_work busy(progress_);
    busy.step(kelvane::tr(u"Reading records..."));
    // A file that cannot take the open account's changes, or cannot be
    // read, has been shown by its store; the report shows what the files hold.
    (void)write_owed_changes(prog_.fuel, prog_.service, prog_.fees);
    (void)records.load(prog_.config.data_folder(), chosen_,
                       [&](int done, int total, std::u16string_view account) {
                           if (account.empty()) return;
                           busy.step(kelvane::tr(u"Reading records...") + u" " +
                                     std::u16string(account) + format(" (%d/%d)", done + 1, total));
                       },
                       {&prog_.fuel, &prog_.service, &prog_.fees});
}

void reports_page::open_report(int kind) {
    if (kind < 0 || kind > 4) return;
    if (chosen_.empty()) {
        show_message(msg_open_account);
        return;
    }
    chart_screen::report r;
    r.engine = &engine_;
    r.source = static_cast<report_kind>(kind);
    r.title = report_title(kind);
    report_records records;
    if (r.source == report_kind::trip_cost) {
        // A trip brings its own vehicles and period; nothing else is read.
        const std::u16string trip =
            pick_trip(prog_.skin, prog_.trips, kelvane::tr(u"Please select trip for statistics:"));
        if (trip.empty()) return;
        busy_work busy(progress_);
        busy.step(kelvane::tr(u"Reading records..."));
        trip_figures figures(prog_.config.data_folder(), prog_.fuel, prog_.service, prog_.fees,
                             &prog_.trip_cache);
        chart_engine totals;
        r.title = figures.statistics(totals, prog_.trips, trip);
        if (r.title.empty() || totals.entries().size() != 3) return;
        colour_probe probe;
        fill_expense_shares(engine_, probe, totals.entries()[0].value, totals.entries()[1].value,
                            totals.entries()[2].value);
        r.range_editable = false;
    } else {
        load_chosen(records);
        busy_work busy(progress_);
        busy.step(kelvane::tr(u"Preparing the chart..."));
        colour_probe probe;
        fill_report(engine_, probe, r.source, records.stores(), selection_limits{});
        r.stores = records.stores();
    }
    r.kind = engine_.chart_type();
    chart_screen screen(prog_, r);
    screen.exec();
}

void reports_page::customize() {
    if (chosen_.empty()) {
        show_message(msg_open_account);
        return;
    }
    report_records records;
    load_chosen(records);
    engine_.clear_entries();
    chart_range_dialog range(prog_, engine_, records.stores());
    if (range.exec() != device_dialog::confirmed) return;
    chart_screen::report r;
    r.engine = &engine_;
    r.title = kelvane::tr(u"Customize");
    r.kind = range.kind();
    r.source = range.source();
    r.stores = records.stores();
    r.start_mileage = range.start_mileage();
    r.end_mileage = range.end_mileage();
    chart_screen screen(prog_, r);
    screen.exec();
}

}  // namespace kelvane
