#pragma once
// The reports page (page 4 of the main screen): the five reports, the
// vehicle accounts they cover and the choice of those accounts. Opening a
// report reads the chosen accounts' records, fills the page's chart engine
// and shows the chart screen; "Customize" first asks for a report type and
// a range.

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "core/charts/chart_engine.h"
#include "core/charts/report_filling.h"
#include "gui/shell/main_page.h"

class QComboBox;
class QLabel;

namespace kelvane {

class report_list;
class report_records;
class skin_button;
class text_label;

class reports_page : public main_page {
    Q_OBJECT
public:
    reports_page(program& prog, QWidget* parent);
    ~reports_page() override;

    void set_screen_size(int width, int height) override;
    // Brings the summary up to date with the accounts.
    void refresh() override;

    // The report of a row of the list (its kind).
    void open_report(int kind);
    void customize();
    void choose_accounts();

    const std::vector<std::u16string>& chosen_accounts() const { return chosen_; }
    report_list& list() { return *list_; }
    chart_engine& engine() { return engine_; }
    const std::u16string& count_line() const;
    const std::u16string& names_line() const;
    // The lines of cost figures: those of the one account chosen; none for
    // several, and the list takes their room.
    std::vector<std::u16string> figure_lines() const;
    QComboBox& vehicle_chooser() { return *chooser_; }

private:
    void refresh_summary();
    void fit_summary();
    void vehicle_chosen(int index);
    // Reads the chosen accounts' records, showing how far it has come.
    void load_chosen(report_records& records);

    std::vector<std::u16string> chosen_;
    chart_engine engine_;
    report_list* list_;
    text_label* count_;
    text_label* names_;
    std::array<text_label*, 3> figures_;
    bool figures_shown_ = false;
    int width_ = 240, height_ = 320;
    text_label* progress_;
    skin_button* select_;
    skin_button* customize_;
    QLabel* chooser_label_;
    QComboBox* chooser_;
};

}  // namespace kelvane
