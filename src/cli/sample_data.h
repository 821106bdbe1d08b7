#pragma once
// Realistic sample data: a few vehicles with years of fill-ups (partial and
// full, with the gauge readings that make the fuel economy work), repairs,
// maintenance with the next service due, fees by category, and trips over
// them. A newcomer tries the program on it; the benchmarks are fed from it.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/local_time.h"
#include "stores/data_class.h"
#include "stores/datamaint_class.h"
#include "stores/datarepair_class.h"
#include "stores/tripdata_class.h"

namespace kelvane {

class config_class;

class sample_data {
public:
    struct options {
        int vehicles = 3;  // 1 to 5
        int years = 4;
        unsigned seed = 1;
        local_time end{2026, 12, 1, 12, 0, 0};  // the data runs up to this moment
    };
    struct vehicle {
        std::u16string name;
        fuel_header settings{};  // units, currency, tank, initial mileage
        std::vector<data_class::dw_struct> fuel;
        std::vector<datamaint_class::dw_struct> maintenance;
        std::vector<datarepair_class::dw_struct> fees;
    };
    struct stores {
        data_class* fuel = nullptr;
        datamaint_class* maintenance = nullptr;
        datarepair_class* fees = nullptr;
    };

    explicit sample_data(const options& o);

    const std::vector<vehicle>& vehicles() const { return vehicles_; }
    const std::vector<tripdata_class::dw_struct>& trips() const { return trips_; }

    // Registers every vehicle as an account, writes its three record files
    // through the stores and adds the trips; the first vehicle is left open.
    // False when an account could not be registered.
    bool install(config_class& config, const stores& to, tripdata_class& trip_store) const;

    // `count` fill-ups of one car in litres and kilometres, oldest first,
    // every `step_seconds` from `start`: the bulk material of the benchmarks.
    static std::vector<data_class::dw_struct> fuel_series(std::size_t count, unsigned seed,
                                                          const local_time& start,
                                                          std::int64_t step_seconds);

private:
    std::vector<vehicle> vehicles_;
    std::vector<tripdata_class::dw_struct> trips_;
};

}  // namespace kelvane
