#pragma once
// The part shared by the maintenance and the fees store: records that carry
// a cost, one header layout with the total of all costs, and one text that
// names a record in its list row and its chart entry (the description of a
// job, the category of a fee).
//
// Derived supplies, besides the engine's hooks:
//   static std::u16string_view record_label(const Record&).

#include <array>
#include <cstddef>
#include <cstdint>

#include "core/common/date_text.h"
#include "core/common/number_text.h"
#include "core/stores/account_store.h"
#include "core/stores/chart_sink.h"
#include "core/stores/record_layout.h"
#include "core/stores/record_store.h"
#include "core/stores/running_totals.h"
#include "platform/services.h"

namespace kelvane {

// The header of the repair and maintenance file and of the fees file.
struct cost_file_header : record_file_header {
    double total_cost;  // the sum of every record's cost (derived)
    std::uint8_t reserved3[104];
};
static_assert(sizeof(cost_file_header) == 1608);
KELVANE_FILE_LAYOUT_CHECKS_BEGIN
static_assert(offsetof(cost_file_header, total_cost) == 1496);
static_assert(offsetof(cost_file_header, reserved3) == 1504);
KELVANE_FILE_LAYOUT_CHECKS_END

template <class Derived, class Record>
class cost_record_store : public record_store<Derived, cost_file_header, Record, account_store> {
    using engine = record_store<Derived, cost_file_header, Record, account_store>;

public:
    // Recomputes the total of all costs and writes the header into the file.
    [[nodiscard]] bool recompute_total() { return engine::refresh_derived_and_header(); }

    // Mileage, label, cost and short date of the record at a position (0 = oldest).
    std::array<std::u16string, 4> row_texts(int index) const {
        const Record& r = engine::record_at(index);
        return {format(" %.f", r.mileage), std::u16string(Derived::record_label(r)),
                format("%.2f", r.cost), short_date_text(r.year, r.month, r.day)};
    }

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
        chart.expect_entries(engine::selection_.size());
        const std::uint16_t language = device().language_id();
        chart_value_batch batch(chart);
        for (int i : engine::selection_) {
            const Record& r = engine::records_[static_cast<std::size_t>(i)];
            append_decimal(batch.next_name(), r.mileage, 0);
            batch.add_dated(r.cost, language, r.year, r.month, r.day, Derived::record_label(r));
            if (!limits.has_dates()) chart.note_date(r.year, r.month, r.day);
        }
    }

    // Engine hooks. A full save writes the total held in memory.
    void recompute_derived() {
        start_derived(engine::records_.size());
        for (const Record& r : engine::records_) costs_.push_back(r.cost, r.mileage);
        finish_derived();
    }
    void start_derived(std::size_t count) {
        costs_.clear();
        costs_.reserve(count);
    }
    void derive_loaded(Record* list, std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i) costs_.push_back(list[i].cost, list[i].mileage);
    }
    void finish_derived() { engine::header_.total_cost = costs_.total(); }
    void before_full_save() {}
    bool derived_current() const { return true; }
    void on_newest_appended() {
        const Record& r = engine::records_.back();
        costs_.push_back(r.cost, r.mileage);
        engine::header_.total_cost = costs_.total();
    }
    void after_insert(std::size_t position) {
        const Record& r = engine::records_[position];
        costs_.insert(position, r.cost, r.mileage);
        engine::header_.total_cost = costs_.total();
    }
    void after_erase(std::size_t position, const Record&) {
        costs_.erase(position);
        engine::header_.total_cost = costs_.total();
    }
    void after_replace(std::size_t position, const Record&) {
        const Record& r = engine::records_[position];
        costs_.set(position, r.cost, r.mileage);
        engine::header_.total_cost = costs_.total();
    }

private:
    running_totals costs_;  // of the records in list order
};

}  // namespace kelvane
