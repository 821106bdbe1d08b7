#include "core/stores/trip_store.h"

#include <algorithm>

#include "core/common/unit_factors.h"

namespace kelvane {

namespace {

change_result written(bool ok) {
    return ok ? change_result::done : change_result::write_failed;
}

}  // namespace

bool trip_store::reset() {
    // A store that was never named has no file to write.
    const bool saved = header_.account_name[0] == 0 || held_ || save_all();
    return engine::reset() && saved;
}

add_result trip_store::add_record(const trip_record& given) {
    trip_record trip = given;
    std::u16string key;
    if (!stamp(trip, key)) return {};
    records_.push_back(trip);
    const bool saved = write_file();
    return add_result{std::move(key), !saved};
}

change_result trip_store::update_record(std::u16string_view key, const trip_record& trip) {
    bool found = false;
    for (trip_record& r : records_) {
        if (fixed_text(r.key) == key) {
            // The trip keeps the stamp it was added with (its tag, number
            // and key), whatever the copy it is replaced with holds there.
            const record_stamp stamp = r;
            r = trip;
            static_cast<record_stamp&>(r) = stamp;
            found = true;
        }
    }
    if (!found) return change_result::not_found;
    return written(write_file());
}

change_result trip_store::delete_record(std::u16string_view key) {
    auto found = std::find_if(records_.begin(), records_.end(),
                              [&](const trip_record& r) { return fixed_text(r.key) == key; });
    if (found == records_.end()) return change_result::not_found;
    return delete_record_at(static_cast<int>(found - records_.begin()));
}

change_result trip_store::delete_record_at(int position) {
    if (position < 0 || position >= record_count()) return change_result::not_found;
    records_.erase(static_cast<std::size_t>(position));
    selection_.clear();
    cursor_ = -1;
    return written(write_file());
}

std::vector<std::u16string> trip_store::list_descriptions() const {
    std::vector<std::u16string> out;
    out.reserve(records_.size());
    for (const trip_record& r : records_) out.push_back(fixed_text(r.trip_description));
    return out;
}

bool trip_store::find_trip(std::u16string_view description, trip_record& out) const {
    for (const trip_record& r : records_) {
        if (fixed_text(r.trip_description) == description) {
            out = r;
            return true;
        }
    }
    return false;
}

bool trip_store::trip_exists(std::u16string_view description) const {
    trip_record ignored;
    return find_trip(description, ignored);
}

bool trip_store::rename_vehicle(std::u16string_view old_name, std::u16string_view new_name) {
    bool changed = false;
    for (trip_record& r : records_) {
        for (auto& slot : r.trip_vehicles) {
            if (fixed_text(slot) == old_name) {
                set_fixed(slot, new_name);
                changed = true;
            }
        }
    }
    // Written at once: the trips must not go on naming an account that no
    // longer exists if the program ends before the next trip change.
    return !changed || write_file();
}

bool trip_store::delete_trips_of_vehicle(std::u16string_view name) {
    const auto before = records_.size();
    records_.erase_if([&](const trip_record& r) { return fixed_text(r.trip_vehicles[0]) == name; });
    if (records_.size() == before) return true;
    selection_.clear();
    cursor_ = -1;
    return write_file();
}

bool trip_store::convert_mileage(int direction) {
    const double factor = mileage_factor(direction);
    if (factor == 0) return true;
    for (trip_record& r : records_) {
        r.start_mileage *= factor;
        r.end_mileage *= factor;
    }
    // Written at once so that the trips never disagree with the converted accounts.
    return records_.empty() || write_file();
}

selection_limits trip_limits(const trip_record& trip) {
    selection_limits limits;
    if (trip.use_start_date == 1)
        limits.from = local_time{trip.start_year, trip.start_month, trip.start_day, 0, 0, 0};
    if (trip.use_end_date == 1)
        limits.to = local_time{trip.end_year, trip.end_month, trip.end_day, 23, 59, 59};
    limits.lowest = trip.use_start_mileage == 1 ? trip.start_mileage : -1.0;
    limits.highest = trip.use_end_mileage == 1 ? trip.end_mileage : -1.0;
    return limits;
}

}  // namespace kelvane
