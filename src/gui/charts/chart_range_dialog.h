#pragma once
// The custom range of "Customize": a report type and, each only when its
// box is checked, a start and end date and a start and end mileage. "Ok"
// fills the chart engine with that report within those bounds and hands
// back what the chart screen needs to refill it the same way.

#include "core/charts/chart_engine.h"
#include "core/charts/report_filling.h"
#include "platform/qt/device_dialog.h"

class QCheckBox;
class QComboBox;
class QLabel;

namespace kelvane {

class date_picker;
class edit_box;
class skin_button;
struct program;

class chart_range_dialog : public device_dialog {
    Q_OBJECT
public:
    static constexpr int cmd_ok = 32784;
    static constexpr int cmd_cancel = 32789;

    chart_range_dialog(program& prog, chart_engine& engine, report_stores stores,
                       QWidget* parent = nullptr);

    // What "Ok" handed back.
    chart_kind kind() const { return kind_; }
    report_kind source() const { return source_; }
    double start_mileage() const { return start_mileage_; }
    double end_mileage() const { return end_mileage_; }

    // The controls, as the owner uses them.
    QComboBox& report_type() { return *type_; }
    QCheckBox& use_start_mileage() { return *use_start_mileage_; }
    QCheckBox& use_start_date() { return *use_start_date_; }
    QCheckBox& use_end_mileage() { return *use_end_mileage_; }
    QCheckBox& use_end_date() { return *use_end_date_; }
    edit_box& start_mileage_box() { return *start_mileage_box_; }
    edit_box& end_mileage_box() { return *end_mileage_box_; }
    date_picker& start_date() { return *start_date_; }
    date_picker& end_date() { return *end_date_; }

protected:
    void init_dialog() override;
    void on_command(int command) override;
    void on_size(int width, int height) override;

private:
    void confirm();

    program& prog_;
    chart_engine& engine_;
    report_stores stores_;
    chart_kind kind_ = chart_kind::line;
    report_kind source_ = report_kind::fuel_economy;
    double start_mileage_ = -1.0;
    double end_mileage_ = -1.0;

    QComboBox* type_;
    QCheckBox* use_start_mileage_;
    QCheckBox* use_start_date_;
    QCheckBox* use_end_mileage_;
    QCheckBox* use_end_date_;
    edit_box* start_mileage_box_;
    edit_box* end_mileage_box_;
    QLabel* start_unit_;
    QLabel* end_unit_;
    date_picker* start_date_;
    date_picker* end_date_;
    skin_button* ok_;
};

}  // namespace kelvane
