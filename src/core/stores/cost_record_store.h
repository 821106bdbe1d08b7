#pragma once
// The part shared by the maintenance and the fees store: records that carry
// a cost, and a header total of all costs.
//
// Derived supplies, besides the engine's hooks: static double& total(Header&)
// and static std::u16string chart_note(const Record&).

#include "core/common/date_text.h"
#include "core/stores/account_store.h"
#include "core/stores/chart_sink.h"
#include "core/stores/record_store.h"
#include "platform/text_encoding.h"

namespace kelvane {

template <class Derived, class Header, class Record>
class cost_record_store : public record_store<Derived, Header, Record, account_store> {
    using engine = record_store<Derived, Header, Record, account_store>;

public:
    // Recomputes the total of all costs and writes the header into the file.
    bool recompute_total() { return engine::refresh_derived_and_header(); }

    // Selects and sums the cost; a chart without date bounds is widened by
    // every selected record's date.
    double selection_cost(const selection_limits& limits, chart_sink* chart = nullptr) {
        engine::select_records(limits);
        double sum = 0;
        for (int i : engine::selection_) {
            const Record& r = engine::records_[static_cast<std::size_t>(i)];
            sum += r.cost;
            if (chart && !limits.has_dates()) chart->note_date(r.year, r.month, r.day);
        }
        return sum;
    }

    // One chart entry per selected record, named by its mileage.
    void cost_series(chart_sink& chart, const selection_limits& limits) {
        chart.clear_entries();
        engine::select_records(limits);
        for (int i : engine::selection_) {
            const Record& r = engine::records_[static_cast<std::size_t>(i)];
            chart.add_value(format("%.f", r.mileage), r.cost, 0, 0,
                            short_date_text(r.year, r.month, r.day), Derived::chart_note(r));
            if (!limits.has_dates()) chart.note_date(r.year, r.month, r.day);
        }
    }

    // Writes the lines of the current selection as UTF-8; false on a short write.
    bool export_rows(device_file& out) {
        for (int i : engine::selection_) {
            if (i < 0 || i >= engine::record_count()) continue;
            const std::string bytes = to_utf8(static_cast<const Derived&>(*this).export_line(
                engine::records_[static_cast<std::size_t>(i)]));
            if (out.write(bytes.data(), bytes.size()) != bytes.size()) return false;
        }
        return true;
    }

    // Engine hooks. A full save writes the total held in memory.
    void recompute_derived() {
        double sum = 0;
        for (const Record& r : engine::records_) sum += r.cost;
        Derived::total(engine::header_) = sum;
    }
    void before_full_save() {}
    void on_newest_appended() { Derived::total(engine::header_) += engine::records_.back().cost; }
};

}  // namespace kelvane
