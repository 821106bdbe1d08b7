#include "gui/trips/trips_page.h"

#include <QComboBox>
#include <QLabel>

#include "core/common/scaled_font.h"
#include "core/common/text.h"
#include "core/trips/trip_editing.h"
#include "core/trips/trip_figures.h"
#include "gui/shell/program.h"
#include "gui/trips/trip_editor.h"
#include "gui/trips/trip_list.h"
#include "gui/widgets/account_combo.h"
#include "gui/widgets/busy_work.h"
#include "gui/widgets/menu_items.h"
#include "gui/widgets/skin_button.h"
#include "gui/widgets/tap_and_hold.h"
#include "gui/widgets/text_label.h"
#include "gui/widgets/translated.h"
#include "platform/qt/modal_service.h"
#include "platform/qt/qpainter_dc.h"
#include "platform/screen_scale.h"

namespace kelvane {

namespace {

constexpr int description_width = 160, cost_width = 60;

}  // namespace

trips_page::trips_page(program& prog, QWidget* parent) : list_page(prog, page_id::trips, parent) {
    list_ = new trip_list(this);
    progress_ = make_progress_line(prog_.skin, this);
    add_ = new skin_button(prog_.skin, this);
    chooser_label_ = new QLabel(this);
    chooser_ = new QComboBox(this);

    list_->set_columns({{kelvane::tr(u"Description"), description_width, false},
                        {kelvane::tr(u"Cost"), cost_width, true}});
    add_->set_text(kelvane::tr(u"Add Trip"));
    // An empty page tells a new owner where to begin, as the record pages do.
    list_->set_empty_hint(u"No trips yet: tap Add Trip below to start the first one.");
    chooser_label_->setText(translated(u"Auto:"));
    // The vehicle chooser is kept for keypad devices but not shown.
    chooser_label_->hide();
    chooser_->hide();

    connect(add_, &QAbstractButton::clicked, this, [this] { run_command(cmd_new); });
    connect(
        list_, &drawn_list::row_activated, this, [this] { run_command(cmd_edit); },
        Qt::QueuedConnection);
    connect(chooser_, &QComboBox::currentIndexChanged, this, &trips_page::vehicle_chosen);
    on_tap_and_hold(list_, [this](QPoint at) { context_menu(at); });
    setFocusProxy(list_);
}

void trips_page::set_screen_size(int width, int height) {
    width_ = width;
    height_ = height;
    // The button grows with the screen as its text does.
    const int button_h = scaled_length(24, width, height);
    const int button_w = scaled_length(90, width, height);
    const int h = shown_height(width, height);
    const int buttons_top = h - button_h - 6;
    // The button's caption follows the screen's text size.
    setFont(device_font({u"Arial", scaled_font_size(12, width, height)}));
    const int line = scaled_font_size(12) + 6;
    list_->setGeometry(0, 0, width, std::max(40, buttons_top - 4));
    progress_->setGeometry(4, buttons_top - 4 - line, width - 8, line);
    add_->setGeometry(4, buttons_top, button_w, button_h);
    chooser_label_->setGeometry(button_w + 10, buttons_top, 36, button_h);
    chooser_->setGeometry(button_w + 48, buttons_top, std::max(20, width - button_w - 52),
                          button_h);
    fit_columns();
}

void trips_page::fit_columns() {
    // A total too wide for the Cost column takes its room from the
    // description, so that no figure is cut.
    const int cost = std::max(scaled_length(cost_width, width_, height_), list_->cost_width());
    list_->set_column_width(1, cost);
    list_->set_column_width(0,
                            std::max(10, description_width + width_ - 240 - (cost - cost_width)));
}

void trips_page::refresh() {
    fill_account_combo(*chooser_, prog_.config);
    // The list stands until a store changes or a vehicle's files do (a
    // restore, another program).
    if (prog_.changes.any() || !prog_.trip_cache.unchanged(prog_.config.data_folder(), prog_.trips))
        rebuild();
}

void trips_page::rebuild() {
    const int chosen = list_->selected();
    busy_work busy(progress_);
    busy.step(kelvane::tr(u"Reading records..."));
    trip_figures figures(prog_.config.data_folder(), prog_.fuel, prog_.service, prog_.fees,
                         &prog_.trip_cache);
    list_->set_rows(figures.build_rows(prog_.trips));
    // What the list shows now includes every change so far, the writes of
    // the open account's owed changes just made among them.
    prog_.changes.lower();
    list_->select_row(chosen);
    fit_columns();
}

void trips_page::vehicle_chosen(int index) {
    if (index < 0) return;
    {
        busy_work busy;
        // A damaged file or a failed save has been shown by its store.
        (void)prog_.config.open_account(chooser_->itemText(index).toStdU16String());
    }
    refresh();
}

void trips_page::context_menu(QPoint at) {
    std::vector<soft_menu_item> items{menu_command(u"New Trip", cmd_new)};
    if (list_->selected() >= 0) {
        items.push_back(menu_command(u"Edit", cmd_edit));
        items.push_back(menu_command(u"Delete", cmd_delete));
    }
    if (const int chosen = popup_menu(list_, at, items)) run_command(chosen);
}

bool trips_page::entry_chosen() const {
    const int index = list_->selected_trip();
    return list_->row_count() > 0 && index >= 0 && index < prog_.trips.record_count();
}

void trips_page::start_new() {
    trip_editor editor(prog_);
    editor.exec();
    refresh();
}

void trips_page::edit_chosen() {
    trip_editor editor(prog_, prog_.trips.record_at(list_->selected_trip()));
    editor.exec();
    refresh();
}

void trips_page::delete_chosen() {
    // A failed write has been shown by the store.
    (void)delete_trip(prog_.trips, fixed_text(prog_.trips.record_at(list_->selected_trip()).key));
}

}  // namespace kelvane
