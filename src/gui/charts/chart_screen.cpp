#include "gui/charts/chart_screen.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalBlocker>

#include "core/accounts/configuration.h"
#include "core/charts/cell_layout.h"
#include "core/charts/chart_page.h"
#include "core/common/folders.h"
#include "core/common/scaled_font.h"
#include "gui/charts/colour_probe.h"
#include "gui/shell/program.h"
#include "gui/tools/text_prompt.h"
#include "gui/widgets/busy_work.h"
#include "gui/widgets/date_picker.h"
#include "gui/widgets/fitted_text.h"
#include "gui/widgets/menu_items.h"
#include "gui/widgets/skin.h"
#include "gui/widgets/skin_button.h"
#include "gui/widgets/text_label.h"
#include "gui/widgets/translated.h"
#include "platform/qt/qpainter_dc.h"
#include "platform/services.h"

namespace kelvane {

namespace {

// The chart buttons' pictures: 15 x 15 pieces of the skin on one row.
constexpr int button_piece_y = 38, button_size = 15;
constexpr int kind_piece_x = 80, fit_on_piece_x = 95, fit_off_piece_x = 110, save_piece_x = 125;
constexpr int previous_piece_x = 50, next_piece_x = 66;
constexpr int hint_height = 15;
constexpr int hint_font_size = 13;
// The chart keeps its proportions beyond this width.
constexpr int chart_max_width = 320;
// A date picked by hand is drawn after a short pause, so that typing a date
// digit by digit does not refill a large report at every key.
constexpr int date_timer = 1;
constexpr int date_pause_ms = 200;

constexpr colour hint_plain = rgb(0, 0, 0);
constexpr colour trip_message_red = rgb(255, 50, 50);

local_time time_of(std::int64_t seconds) {
    return from_local_seconds(seconds);
}

}  // namespace

chart_screen::chart_screen(program& prog, report r, QWidget* parent)
    : device_dialog(parent), prog_(prog), report_(std::move(r)) {
    set_caption(u"Kelvane");
    const skin& pieces = prog_.skin;
    auto make_button = [&](int piece_x, int command) {
        auto* b = new skin_button(pieces, this);
        b->set_style(skin_button::icon_centred, piece_x, button_piece_y, button_size, button_size);
        b->setFocusPolicy(Qt::NoFocus);
        connect(b, &QAbstractButton::clicked, this, [this, command] { on_command(command); });
        return b;
    };
    kind_button_ = make_button(kind_piece_x, cmd_change_type);
    fit_button_ = make_button(fit_off_piece_x, cmd_fit);
    save_button_ = make_button(save_piece_x, cmd_save);
    previous_ = make_button(previous_piece_x, cmd_previous);
    next_ = make_button(next_piece_x, cmd_next);

    hint_ = new text_label(pieces, this);
    from_label_ = new QLabel(this);
    to_label_ = new QLabel(this);
    start_ = new date_picker(date_picker::shows::date, this);
    end_ = new date_picker(date_picker::shows::date, this);
    for (auto* picker : {start_, end_})
        connect(picker, &QDateTimeEdit::dateTimeChanged, this,
                [this] { start_timer(date_timer, date_pause_ms); });
    set_cancel_command(cmd_close);
}

void chart_screen::init_dialog() {
    set_menu({menu_command(u"Close", cmd_close),
              menu_popup(u"Menu", {menu_command(u"Change Report Type", cmd_change_type),
                                   menu_command(u"Save", cmd_save), menu_separator(),
                                   menu_command(u"Current Month", cmd_current_month),
                                   menu_command(u"Month Forward", cmd_month_forward),
                                   menu_command(u"Month Back", cmd_month_back), menu_separator(),
                                   menu_command(u"Current Week", cmd_current_week),
                                   menu_command(u"Week Forward", cmd_week_forward),
                                   menu_command(u"Week Back", cmd_week_back), menu_separator(),
                                   menu_command(u"All Period", cmd_all_period)})});
    report_.engine->set_chart_type(report_.kind);

    hint_->font_face = u"Arial";
    hint_->font_height = hint_font_size;
    hint_->icon = false;
    hint_->align = text_label::left_single;
    hint_->background = rgb(255, 255, 255);
    show_hint(kelvane::tr(u"Tap column to display detailed information."), hint_plain);

    from_label_->setText(translated(u"From"));
    to_label_->setText(translated(u"To"));
    for (auto* picker : {start_, end_}) {
        const QSignalBlocker quiet(picker);
        picker->set_value(
            time_of(picker == start_ ? report_.engine->earliest() : report_.engine->latest()));
    }
    fit_ = false;
    restore_controls();
    update_fit_button();
    update_arrows();
    place_controls();
    setFocus();
}

local_time chart_screen::range_start() const {
    return start_of_day(start_->value());
}

local_time chart_screen::range_end() const {
    return end_of_day(end_->value());
}

bool chart_screen::hint_shown() const {
    return hint_->isVisibleTo(this);
}

const std::u16string& chart_screen::hint_text() const {
    return hint_->text();
}

colour chart_screen::hint_colour() const {
    return hint_->text_colour;
}

bool chart_screen::previous_shown() const {
    return previous_->isVisibleTo(this);
}

bool chart_screen::next_shown() const {
    return next_->isVisibleTo(this);
}

bool chart_screen::fit_toggle_shown() const {
    return fit_button_->isVisibleTo(this);
}

bool chart_screen::dates_shown() const {
    return start_->isVisibleTo(this) && end_->isVisibleTo(this);
}

void chart_screen::on_command(int command) {
    switch (command) {
        case cmd_close:
            end_dialog(confirmed);
            return;
        case cmd_change_type:
            cycle_kind();
            return;
        case cmd_fit:
            toggle_fit();
            return;
        case cmd_save:
            save();
            return;
        case cmd_previous:
            step(false);
            return;
        case cmd_next:
            step(true);
            return;
        case cmd_current_month:
            set_period(current_month(device_clock().now()));
            return;
        case cmd_month_forward:
            set_period(month_forward(end_->value()));
            return;
        case cmd_month_back:
            set_period(month_back(start_->value()));
            return;
        case cmd_current_week:
            set_period(current_week(device_clock().now()));
            return;
        case cmd_week_forward:
            set_period(week_forward(end_->value()));
            return;
        case cmd_week_back:
            set_period(week_back(start_->value()));
            return;
        case cmd_all_period:
            all_period();
            return;
    }
}

void chart_screen::on_timer(int id) {
    if (id != date_timer) return;
    stop_timer(date_timer);
    refill(true);
}

void chart_screen::pick_dates(const local_time& start, const local_time& end) {
    start_->set_value(start);
    end_->set_value(end);
}

void chart_screen::cycle_kind() {
    chart_engine& e = *report_.engine;
    const int next = (static_cast<int>(e.chart_type()) + 1) % 3;
    e.set_chart_type(static_cast<chart_kind>(next));
    show_hint(kelvane::tr(u"Tap column to display detailed information."), hint_plain);
    update_fit_button();
    update();
}

void chart_screen::toggle_fit() {
    fit_ = !fit_;
    update_fit_button();
    update();
}

void chart_screen::update_fit_button() {
    fit_button_->set_style(skin_button::icon_centred, fit_ ? fit_on_piece_x : fit_off_piece_x,
                           button_piece_y, button_size, button_size);
    // The pie has no widths to fit.
    fit_button_->setVisible(!saving_ && report_.engine->chart_type() != chart_kind::pie);
}

void chart_screen::step(bool forward) {
    chart_engine& e = *report_.engine;
    if (forward)
        e.select_next();
    else
        e.select_previous();
    update_arrows();
    hint_->hide();
    update();
}

void chart_screen::update_arrows() {
    const chart_engine& e = *report_.engine;
    const int count = static_cast<int>(e.entries().size());
    previous_->setVisible(e.selected() > 0);
    // Nothing to step to on an empty chart.
    next_->setVisible(e.selected() + 1 < count);
}

void chart_screen::show_hint(std::u16string_view text, colour c) {
    hint_->text_colour = c;
    hint_->set_text(text);
    fit_hint();
    hint_->show();
}

void chart_screen::fit_hint() {
    hint_->font_height = fitted_font_size(hint_->text(), hint_->font_face,
                                          scaled_font_size(hint_font_size), hint_->width() - 2);
    hint_->update();
}

void chart_screen::set_period(const chart_period& p) {
    {
        const QSignalBlocker quiet_start(start_), quiet_end(end_);
        start_->set_value(p.start);
        end_->set_value(p.end);
    }
    stop_timer(date_timer);
    refill(true);
}

void chart_screen::refill(bool with_dates) {
    if (report_.source == report_kind::trip_cost) {
        // A trip's period is the trip's own.
        show_hint(kelvane::tr(u"Trip item can not change time range in statistics"),
                  trip_message_red);
        return;
    }
    busy_work busy;
    busy.step({});
    selection_limits limits;
    limits.lowest = report_.start_mileage;
    limits.highest = report_.end_mileage;
    if (with_dates) {
        limits.from = range_start();
        limits.to = range_end();
    }
    colour_probe probe;
    fill_report(*report_.engine, probe, report_.source, report_.stores, limits);
    update_fit_button();
    update_arrows();
    repaint();
}

void chart_screen::all_period() {
    refill(false);
    if (report_.source == report_kind::trip_cost) return;
    const QSignalBlocker quiet_start(start_), quiet_end(end_);
    start_->set_value(time_of(report_.engine->earliest()));
    end_->set_value(time_of(report_.engine->latest()));
    update();
}

void chart_screen::tap(QPoint at) {
    if (back_.isNull() || !back_.rect().contains(at)) render();
    if (back_.rect().contains(at)) {
        const colour c = from_qrgb(back_.pixel(at));
        if (c != rgb(0, 0, 0) && c != rgb(255, 255, 255)) {
            report_.engine->select_by_colour(c);
            update_arrows();
            update();
        }
    }
    hint_->hide();
}

void chart_screen::save() {
    const std::u16string initial = prog_.config.data_folder() + u"Output\\" +
                                   prog_.config.current_account() + u"[" +
                                   file_name_part(report_.title) + u"].bmp";
    text_prompt::options o;
    o.prompt = kelvane::tr(u"Please enter the file path and file name to save:");
    o.initial_text = initial;
    o.extension = u".bmp";
    const std::u16string path = prompt_for_text(prog_.skin, std::move(o));
    if (path.empty()) return;
    std::vector<std::u16string> made;
    (void)make_folder_path(path, &made);

    saving_ = true;
    for (QWidget* w : std::initializer_list<QWidget*>{kind_button_, fit_button_, save_button_,
                                                      hint_, start_, end_, from_label_, to_label_})
        w->hide();
    place_controls();
    // The picture is the whole screen; what lies outside the chart's window
    // (the menu bar) is stored white. Rendering the window paints the chart
    // afresh, with its title.
    QImage shot(device().screen_width(), device().screen_height(), QImage::Format_RGB32);
    shot.fill(Qt::white);
    {
        QPainter p(&shot);
        QWidget::render(&p, QPoint(0, 0), QRegion(client_rect()),
                        QWidget::DrawWindowBackground | QWidget::DrawChildren);
    }
    image_dc surface(shot);
    // A picture that cannot be written is reported by the engine; the
    // folders made for it go again.
    if (!report_.engine->save_bitmap(surface, 0, 0, shot.width(), shot.height(), path))
        remove_made_folders(made);

    saving_ = false;
    restore_controls();
    show_hint(hint_->text(), hint_->text_colour);
    place_controls();
    update();
}

void chart_screen::restore_controls() {
    kind_button_->show();
    save_button_->show();
    update_fit_button();
    const bool dates = report_.range_editable;
    for (QWidget* w : std::initializer_list<QWidget*>{start_, end_, from_label_, to_label_})
        w->setVisible(dates);
}

void chart_screen::on_size(int, int) {
    place_controls();
}

void chart_screen::place_controls() {
    const QRect client = client_rect();
    const int w = client.width(), h = client.height();
    // The dates follow the screen's text size, also when the screen changes
    // size under an open chart.
    const QFont small = device_font({u"Arial", scaled_font_size(12)});
    for (QWidget* date : std::initializer_list<QWidget*>{from_label_, to_label_, start_, end_})
        date->setFont(small);
    cell_layout cells;
    cells.set_gap(1);
    cells.set_max_width(chart_max_width);
    cells.set_area({0, 0, w, h});
    cells.cut_top(5, 13, cell_layout::align_right, false);
    const kelvane::rect save = cells.cut_top(15, 15, cell_layout::align_right, false);
    const kelvane::rect fit = cells.cut_top(15, 15, cell_layout::align_right, false);
    const kelvane::rect kind = cells.cut_top(15, 15, cell_layout::align_right, true);
    // The hint line grows with the screen's text; the chart ends above it,
    // so the legend's last rows never lie under it.
    const int hint_h = std::max(hint_height, scaled_font_size(hint_font_size) + 2);
    const kelvane::rect hint = cells.cut_bottom(-1, hint_h, cell_layout::align_left, true);
    chart_bottom_ = hint.top - 1;
    save_button_->setGeometry(save.left, save.top + 2, 15, 15);
    fit_button_->setGeometry(fit.left, fit.top + 2, 15, 15);
    kind_button_->setGeometry(kind.left, kind.top + 2, 15, 15);
    hint_->setGeometry(hint.left, hint.top, hint.width(), hint.height());
    fit_hint();

    // The two dates stand left of the buttons: on one row where they fit,
    // else one under the other. The chart starts below them.
    // The title row lies under the dates, where no title is written while
    // they show.
    QImage probe(1, 1, QImage::Format_RGB32);
    image_dc probe_dc(probe);
    title_height_ =
        chart_title_height(probe_dc, scaled_font_size(chart_font_request(device().screen_width())));
    chart_top_ = 0;
    if (report_.range_editable && !saving_) {
        const int left = 2, right = kind.left - 4;
        const int label_w =
            std::max(from_label_->sizeHint().width(), to_label_->sizeHint().width());
        const int picker_w = start_->sizeHint().width();
        const int row_h = std::max(start_->sizeHint().height(), 15);
        const int one_row = 2 * (label_w + 2 + picker_w) + 4;
        if (left + one_row <= right) {
            int x = left;
            from_label_->setGeometry(x, 1, label_w, row_h);
            start_->setGeometry(x += label_w + 2, 1, picker_w, row_h);
            to_label_->setGeometry(x += picker_w + 4, 1, label_w, row_h);
            end_->setGeometry(x + label_w + 2, 1, picker_w, row_h);
            chart_top_ = 1 + row_h + 2 - title_height_;
        } else {
            const int pw = std::min(picker_w, right - left - label_w - 2);
            from_label_->setGeometry(left, 1, label_w, row_h);
            start_->setGeometry(left + label_w + 2, 1, pw, row_h);
            to_label_->setGeometry(left, 2 + row_h, label_w, row_h);
            end_->setGeometry(left + label_w + 2, 2 + row_h, pw, row_h);
            chart_top_ = 2 + 2 * row_h + 2 - title_height_;
        }
        chart_top_ = std::max(0, chart_top_);
    }

    // The arrows stand at the two sides where the chart ends and its legend
    // begins.
    const int page_h = chart_bottom_ - chart_top_ - title_height_;
    const int arrows_bottom = chart_top_ + title_height_ + static_cast<int>(page_h * 66 * 0.01);
    const int left = cells.full().left, right = cells.full().right;
    previous_->setGeometry(left, arrows_bottom - 15, 15, 15);
    next_->setGeometry(right - 15, arrows_bottom - 15, 15, 15);
    for (QWidget* c : std::initializer_list<QWidget*>{previous_, next_, kind_button_, fit_button_,
                                                      save_button_, hint_})
        c->raise();
    update();
}

void chart_screen::render() {
    const QRect client = client_rect();
    if (client.width() <= 0 || client.height() <= 0) return;
    if (back_.size() != client.size()) back_ = QImage(client.size(), QImage::Format_RGB32);
    back_.fill(Qt::white);
    image_dc d(back_);
    draw_page(d);
}

void chart_screen::draw_page(dc& d) {
    const QRect client = client_rect();
    const int font = scaled_font_size(chart_font_request(device().screen_width()));
    // A title shown beside the chart's buttons stops short of them.
    const int title_right =
        kind_button_->isVisibleTo(this) ? kind_button_->geometry().left() - 2 : -1;
    draw_chart_page(*report_.engine, d, {0, chart_top_, client.width(), chart_bottom_}, fit_,
                    title_shown() ? std::u16string_view(report_.title) : std::u16string_view(),
                    font, title_right);
}

void chart_screen::paintEvent(QPaintEvent*) {
    render();
    QPainter(this).drawImage(0, 0, back_);
}

void chart_screen::mousePressEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton) tap(e->position().toPoint());
    device_dialog::mousePressEvent(e);
}

void chart_screen::keyPressEvent(QKeyEvent* e) {
    switch (e->key()) {
        case Qt::Key_Left:
        case Qt::Key_Up:
            step(false);
            return;
        case Qt::Key_Right:
        case Qt::Key_Down:
            step(true);
            return;
    }
    device_dialog::keyPressEvent(e);
}

}  // namespace kelvane
