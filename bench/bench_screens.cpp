// Screens at 240 x 320 whose cost must not grow with the records: the fuel
// list scrolled, and the reports page shown. Neither holds records, so each
// is measured at 100k fill-ups against the same work at 1,000.
#include <QApplication>
#include <QKeyEvent>
#include <QScrollBar>

#include "bench/bench_support.h"
#include "core/accounts/configuration.h"
#include "gui/accounts/accounts_page.h"
#include "gui/charts/reports_page.h"
#include "gui/records/record_list.h"
#include "gui/shell/program.h"
#include "platform/qt/qpainter_dc.h"

namespace kelvane::bench {
namespace {

constexpr std::size_t baseline_records = 1000;

// A fuel list laid out as the fuel page lays it out at 240 x 320, over a
// store loaded from a file of `count` fill-ups. A step is one row down (the
// selection moves and the list follows it) or one page down, by the keys,
// and the rows then in view drawn as the screen draws them; the two lists
// take their steps alternately.
struct fuel_list_view {
    explicit fuel_list_view(std::size_t count) {
        device.write_fuel_file(u"Car", count);
        require(store.load(device.folder(), u"Car", false) == load_result::loaded,
                "reading Car.ful");
        list.set_column(0, u"Mileage", 60);
        list.set_column(1, u"Fuel", 50);
        list.set_column(2, u"MPG/LPK", 63);
        list.set_column(3, u"Date", 55);
        list.set_stretch_column(2, 10);
        list.resize(240, 270);
        list.set_row_count(store.record_count());
        list.select_row(0);
    }

    // One key press on the list and the rows then in view drawn; from the
    // last row it goes back to the top first, unmeasured.
    double step(int key) {
        if (list.selected_row() >= list.row_count() - 1) {
            list.select_row(0);
            draw();
        }
        return seconds_of([&] {
            QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
            QApplication::sendEvent(&list, &press);
            draw();
        });
    }
    void draw() {
        image_dc d(shown);
        list.draw_rows(d);
        benchmark::DoNotOptimize(shown.constBits());
    }

    bench_device device;
    fuel_store store;
    record_list<fuel_store> list{store, u"Add Fuel Purchase"};
    QImage shown{240, 270, QImage::Format_RGB32};
};

void steps(benchmark::State& state, int key) {
    fuel_list_view large(static_cast<std::size_t>(state.range(0)));
    fuel_list_view small(baseline_records);
    require(large.list.rows_per_page() > 1, "a list with room for rows");
    double total = 0, plain = 0;
    for (auto _ : state) {
        total += large.step(key);
        state.PauseTiming();
        plain += small.step(key);
        state.ResumeTiming();
    }
    const double count = static_cast<double>(state.iterations());
    state.counters["step_ms"] = count > 0 ? total / count * 1e3 : 0;
    report_ratio(state, total, count > 0 ? plain / count : 0);
}

void BM_list_row_down(benchmark::State& state) {
    steps(state, Qt::Key_Down);
}
void BM_list_page_down(benchmark::State& state) {
    steps(state, Qt::Key_PageDown);
}

// Lays a page of the main screen out at 240 x 320; the step returned brings
// it up to date, as showing it does, and draws it.
template <class Page>
auto shown(Page& page) {
    page.set_screen_size(240, 320);
    page.resize(240, 320);
    return [&page] {
        page.refresh();
        benchmark::DoNotOptimize(page.grab());
    };
}

// The reports page shown with the open account of n fill-ups (a tenth as
// many repairs and fees) as the only vehicle chosen: its summary brought up
// to date, with what the vehicle costs, and the page drawn. The baseline is
// the same with an account of 1,000 fill-ups open.
void BM_reports_page(benchmark::State& state) {
    const auto count = static_cast<std::size_t>(state.range(0));
    bench_device device;
    for (const auto& [name, n] : {std::pair{u"Large", count}, {u"Small", baseline_records}}) {
        device.write_fuel_file(name, n);
        device.write_cost_files(name, n / 10, static_cast<std::int64_t>(n) * 3 * 3600);
    }
    program prog;
    prog.skin.load_skin();
    (void)prog.data.load_configuration();
    require(prog.config.add_account(u"Large") == account_change::done &&
                prog.config.add_account(u"Small") == account_change::done,
            "adding the accounts");
    const auto open = [&](std::u16string_view name) {
        require(prog.data.load_account(name) == load_result::loaded, "reading an account");
        prog.config.set_current_account(name);
    };
    reports_page page(prog, nullptr);
    const auto show = shown(page);
    open(u"Large");
    double total = 0;
    for (auto _ : state) total += seconds_of(show);
    require(page.chosen_accounts() == std::vector<std::u16string>{u"Large"}, "the open account");
    const std::u16string large_cost = page.figure_lines().at(0);
    open(u"Small");
    const double baseline = baseline_seconds(show);
    require(page.figure_lines().at(0) != large_cost, "the figures of each account");
    state.counters["show_ms"] = state.iterations() ? total / state.iterations() * 1e3 : 0;
    report_ratio(state, total, baseline);
}

// The accounts page shown again over 20 vehicles whose fill-ups together
// number n (a tenth as many repairs and fees), nothing changed since it was
// last shown: each vehicle's services due are kept while its files stay as
// they were. Goal: below 10 ms, as the trips page; the baseline is the plain
// read of the 60 files that showing it without kept figures would need.
void BM_accounts_page_revisit(benchmark::State& state) {
    constexpr int vehicles = 20;
    const auto per_vehicle = static_cast<std::size_t>(state.range(0)) / vehicles;
    bench_device device;
    program prog;
    prog.skin.load_skin();
    (void)prog.data.load_configuration();
    for (int v = 0; v < vehicles; ++v) {
        const std::u16string name = u"Car" + format("%d", v + 1);
        device.write_fuel_file(name, per_vehicle, 3 * 3600, static_cast<unsigned>(v + 1));
        device.write_cost_files(name, per_vehicle / 10,
                                static_cast<std::int64_t>(per_vehicle) * 3 * 3600);
        require(prog.config.add_account(name) == account_change::done, "adding an account");
    }
    require(prog.data.load_account(u"Car1") == load_result::loaded, "reading the open account");
    prog.config.set_current_account(u"Car1");
    std::vector<char> buffer;
    const double baseline = baseline_seconds([&] {
        for (int v = 0; v < vehicles; ++v)
            for (const char16_t* extension : {u".ful", u".mat", u".fee"}) {
                plain_read_into(device.host_file(u"Car" + format("%d", v + 1) + extension), buffer);
                benchmark::DoNotOptimize(buffer.data());
            }
    });
    accounts_page page(prog, nullptr);
    const auto show = shown(page);
    show();
    double total = 0;
    for (auto _ : state) total += seconds_of(show);
    state.counters["show_ms"] = state.iterations() ? total / state.iterations() * 1e3 : 0;
    report_ratio(state, total, baseline);
}

BENCHMARK(BM_list_row_down)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_list_page_down)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_reports_page)->Arg(100000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_accounts_page_revisit)->Arg(200000)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace kelvane::bench

// The screens are widgets: the benchmarks run inside an application, on the
// offscreen platform unless another is asked for.
int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
