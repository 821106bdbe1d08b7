#pragma once
// The custom range of "Customize": a report type and, each only when its
// box is checked, a start and end date and a start and end mileage. "Ok"
// fills the chart engine with that report within those bounds and hands
// back what the chart screen needs to refill it the same way.

#include "core/charts/chart_engine.h"
#include "core/charts/report_filling.h"
#include "gui/widgets/range_fields.h"
#include "platform/qt/device_dialog.h"

class QComboBox;

namespace kelvane {

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
    const range_fields& range() const { return range_; }

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
    range_fields range_;
    skin_button* ok_;
};

}  // namespace kelvane
