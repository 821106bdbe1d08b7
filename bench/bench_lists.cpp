// Scrolling the fuel list at 240 x 320: one row down (the selection moves and
// the list follows it) and one page down, each drawn as the screen draws it.
// The list holds no records and asks its store for the rows in view only, so
// a step should cost the same whatever the store holds: the baseline is the
// same steps over a list of 1,000 fill-ups, taken alternately with it.
#include <QApplication>
#include <QKeyEvent>
#include <QScrollBar>

#include "bench/bench_support.h"
#include "gui/records/record_list.h"
#include "platform/qt/qpainter_dc.h"

namespace kelvane::bench {
namespace {

constexpr std::size_t baseline_records = 1000;

// A fuel list laid out as the fuel page lays it out at 240 x 320, over a
// store loaded from a file of `count` fill-ups.
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

BENCHMARK(BM_list_row_down)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_list_page_down)->Arg(10000)->Arg(100000)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace kelvane::bench

// The list is a widget: the benchmarks run inside an application, on the
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
