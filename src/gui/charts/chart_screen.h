#pragma once
// The chart screen: one report of the chart engine drawn full-screen as
// columns, a line or a pie with its legend. The owner steps the chosen entry
// with the arrows or a tap on its colour, switches the chart kind and the
// fitted widths, moves the period by month or week or sets it with the two
// dates, and saves the screen as a picture. The engine and the records
// belong to the reports page; the screen refills the engine on every change
// of period.

#include <QImage>
#include <string>

#include "core/charts/chart_engine.h"
#include "core/charts/chart_period.h"
#include "core/charts/report_filling.h"
#include "platform/qt/device_dialog.h"

class QLabel;

namespace kelvane {

class date_picker;
class skin_button;
class text_label;
struct program;

class chart_screen : public device_dialog {
    Q_OBJECT
public:
    static constexpr int cmd_close = 32786;
    static constexpr int cmd_change_type = 32794;
    static constexpr int cmd_save = 32796;
    static constexpr int cmd_current_month = 32801;
    static constexpr int cmd_month_forward = 32803;
    static constexpr int cmd_month_back = 32805;
    static constexpr int cmd_current_week = 32807;
    static constexpr int cmd_week_forward = 32809;
    static constexpr int cmd_week_back = 32811;
    static constexpr int cmd_all_period = 32813;
    // The buttons' own commands.
    static constexpr int cmd_fit = 1002;
    static constexpr int cmd_previous = 1004;
    static constexpr int cmd_next = 1005;

    // What the opener hands over.
    struct report {
        chart_engine* engine = nullptr;  // filled and prepared
        std::u16string title;            // the report's name, or "Customize"
        chart_kind kind = chart_kind::line;
        report_kind source = report_kind::fuel_economy;
        report_stores stores;
        bool range_editable = true;   // false for trips
        double start_mileage = -1.0;  // bounds of every refill; negative: none
        double end_mileage = -1.0;
    };

    chart_screen(program& prog, report r, QWidget* parent = nullptr);

    void run_command(int command) { on_command(command); }
    // A tap at a point of the screen.
    void tap(QPoint at);
    // The owner picking the two dates (the chart follows after a moment).
    void pick_dates(const local_time& start, const local_time& end);

    chart_kind shown_kind() const { return report_.engine->chart_type(); }
    bool fit() const { return fit_; }
    // The first and last moment the two dates stand for.
    local_time range_start() const;
    local_time range_end() const;
    bool hint_shown() const;
    const std::u16string& hint_text() const;
    colour hint_colour() const;
    bool previous_shown() const;
    bool next_shown() const;
    bool fit_toggle_shown() const;
    bool dates_shown() const;
    // The chart as last drawn (without the controls lying over it).
    const QImage& picture() const { return back_; }

protected:
    void init_dialog() override;
    void on_command(int command) override;
    void on_timer(int id) override;
    void on_size(int width, int height) override;
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void cycle_kind();
    void toggle_fit();
    void step(bool forward);
    void refill(bool with_dates);
    void all_period();
    void set_period(const chart_period& p);
    void save();
    void show_hint(std::u16string_view text, colour c);
    void fit_hint();
    void update_arrows();
    void update_fit_button();
    void restore_controls();
    void place_controls();
    // Draws the chart page into back_; the title only when it is to be shown.
    void render();
    bool title_shown() const { return saving_ || !report_.range_editable; }

    program& prog_;
    report report_;
    bool fit_ = false;
    bool saving_ = false;
    int chart_top_ = 0;      // where the chart page starts (below the dates)
    int chart_bottom_ = 0;   // where it ends (above the hint line)
    int title_height_ = 13;  // the page's title row
    QImage back_;

    skin_button* kind_button_;
    skin_button* fit_button_;
    skin_button* save_button_;
    skin_button* previous_;
    skin_button* next_;
    text_label* hint_;
    QLabel* from_label_;
    QLabel* to_label_;
    date_picker* start_;
    date_picker* end_;
};

}  // namespace kelvane
