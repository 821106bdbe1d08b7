#pragma once
// Realistic sample data: a few vehicles with years of fill-ups (partial and
// full, with the gauge readings that make the fuel economy work), repairs,
// maintenance with the next service due, fees by category, and trips over
// them. A newcomer tries the program on it; the benchmarks are fed from it.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/stores/fee_store.h"
#include "core/stores/fuel_store.h"
#include "core/stores/service_store.h"
#include "core/stores/trip_store.h"
#include "platform/local_time.h"

namespace kelvane {

class configuration;

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
        std::vector<fuel_store::record_type> fuel;
        std::vector<service_store::record_type> services;
        std::vector<fee_store::record_type> fees;
    };
    struct stores {
        fuel_store* fuel = nullptr;
        service_store* service = nullptr;
        fee_store* fees = nullptr;
    };

    explicit sample_data(const options& o);

    const std::vector<vehicle>& vehicles() const { return vehicles_; }
    const std::vector<trip_store::record_type>& trips() const { return trips_; }

    // Registers every vehicle as an account, writes its three record files
    // through the stores and adds the trips; the first vehicle is left open.
    // False when an account could not be registered.
    bool install(configuration& config, const stores& to, trip_store& trip_store) const;

    // `count` fill-ups of one car in litres and kilometres, oldest first,
    // every `step_seconds` from `start`: the bulk material of the benchmarks.
    static std::vector<fuel_store::record_type> fuel_series(std::size_t count, unsigned seed,
                                                            const local_time& start,
                                                            std::int64_t step_seconds);

private:
    std::vector<vehicle> vehicles_;
    std::vector<trip_store::record_type> trips_;
};

}  // namespace kelvane
