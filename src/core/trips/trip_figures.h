#pragma once
// The figures of trips: costs, mileage and the rows of the trips list, and
// the totals of the trip chart. They are computed from the vehicles' record
// files, read into store objects of this class's own, after the open
// account's stores have written their pending changes.

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/stores/chart_sink.h"
#include "core/stores/fee_store.h"
#include "core/stores/fuel_store.h"
#include "core/stores/service_store.h"
#include "core/stores/trip_store.h"
#include "platform/dc.h"

namespace kelvane {

// One row of the trips list, ready to paint.
struct trip_row {
    std::u16string text;       // Description column
    std::u16string cost_text;  // Cost column; empty on the vehicles row
    colour text_colour = rgb(0, 0, 0);
    colour background = rgb(200, 200, 200);
    std::u16string font_name = u"System";
    int font_size = 0;   // 0 = the list's own font
    int indent = 0;      // 0 on a trip's first row, 10 below it
    int trip_index = 0;  // position of the trip in the trip store
};

// A trip's costs over its vehicles and limits.
struct trip_totals {
    double fuel = 0;
    double repair = 0;
    double fees = 0;
    int vehicle_count = 0;  // non-empty vehicle slots
    double mileage = 0;     // the trip mileage; only computed for fewer than two vehicles
};

// The number of non-empty vehicle slots of a trip.
int trip_vehicle_count(const trip_store::record_type& trip);
// The distance a trip covers in the fill-ups of a fuel store: the mileage
// range where the trip gives one, else the spread of the selected fill-ups.
double trip_mileage(fuel_store& fuel, const trip_store::record_type& trip);

// What the trip figures need of one vehicle's three files: the date,
// mileage and cost of every record, packed, and the stamps of the files they
// were read from.
struct vehicle_summary;

// The vehicles' summaries kept from one rebuild of the trips to the next:
// a vehicle's files are read again only when one of them changed.
class trip_summaries {
public:
    trip_summaries();
    ~trip_summaries();
    trip_summaries(const trip_summaries&) = delete;
    trip_summaries& operator=(const trip_summaries&) = delete;

    // True when every vehicle the trips name still has the files its kept
    // summary was read from.
    bool unchanged(std::u16string_view data_folder, const trip_store& trips);
    // Drops every summary.
    void clear();

private:
    friend class trip_figures;
    std::map<std::u16string, std::unique_ptr<vehicle_summary>> kept_;
};

class trip_figures {
public:
    // The data folder holds the vehicles' files; the three stores are those
    // of the open account. With `kept`, the vehicles' summaries are taken
    // from there while their files are unchanged, and left there.
    trip_figures(std::u16string_view data_folder, fuel_store& fuel, service_store& service,
                 fee_store& fees, trip_summaries* kept = nullptr);
    ~trip_figures();

    // The rows of every trip in store order: the description with the total
    // cost, "Fuel", "Repair" and "Fees", then "Total Mileage" for a trip of
    // one vehicle or the vehicles' names in brackets.
    std::vector<trip_row> build_rows(const trip_store& trips);
    // The costs of one trip.
    trip_totals totals(const trip_store::record_type& trip);
    // Fills the chart with "Fuel", "Repair" and "Fees" of the trip with this
    // description and returns the chart's title; empty (and nothing added)
    // when no trip has the description.
    std::u16string statistics(chart_sink& chart, const trip_store& trips,
                              std::u16string_view description);
    // After build_rows, totals or statistics: false when the open account's
    // pending changes could not be written first, or a vehicle's file was
    // damaged (the owner was told of each). The figures then leave out what
    // those files should have held.
    [[nodiscard]] bool files_ok() const { return files_ok_; }

private:
    // Writes the open account's pending changes, so that its files are
    // current; false when a store could not write them.
    [[nodiscard]] bool save_open_account();
    // A vehicle's summary, read once per rebuild (or kept from an earlier one).
    const vehicle_summary& vehicle(const std::u16string& name);
    trip_totals totals_from_cache(const trip_store::record_type& trip);
    // Forgets the summaries of this rebuild unless they are kept.
    void done();

    std::u16string data_folder_;
    fuel_store& fuel_;
    service_store& service_;
    fee_store& fees_;
    trip_summaries own_;
    trip_summaries& kept_;
    std::map<std::u16string, bool> checked_;  // vehicles looked at in this rebuild
    bool files_ok_ = true;
    // The stores other vehicles' files are read into, one vehicle after
    // another: their memory is made once for a whole rebuild.
    struct {
        fuel_store fuel;
        service_store service;
        fee_store fees;
    } reading_;
};

}  // namespace kelvane
