#include "core/trips/trip_editing.h"

#include "core/common/parse_number.h"
#include "core/common/text.h"

namespace kelvane {

namespace {

// Only the day of a trip's date counts.
int date_key(const local_time& t) {
    return (t.year * 100 + t.month) * 100 + t.day;
}

}  // namespace

std::u16string_view trip_check_message(trip_check check) {
    switch (check) {
        case trip_check::ok:
            break;
        case trip_check::no_description:
            return u"You must enter trip in Description.";
        case trip_check::name_exists:
            return u"Trip name exists, please enter another name.";
        case trip_check::no_vehicle:
            return u"Please choose at least one vehicle account";
        case trip_check::too_many_vehicles:
            return u"Choose at most ten vehicle accounts";
        case trip_check::end_before_start:
            return u"The end date is before the start date.";
    }
    return {};
}

trip_check check_trip(const trip_store& trips, const trip_form& form, std::u16string_view own_key) {
    // The description is kept cut to its field; two trips must differ in
    // what is kept, or the reports could not tell them apart by name.
    const std::u16string description = cut(form.description, trip_description_length);
    if (description.empty()) return trip_check::no_description;
    for (int i = 0; i < trips.record_count(); ++i) {
        const trip_record& other = trips.record_at(i);
        if (fixed_text(other.trip_description) == description &&
            (own_key.empty() || fixed_text(other.key) != own_key))
            return trip_check::name_exists;
    }
    if (form.vehicles.empty()) return trip_check::no_vehicle;
    if (form.vehicles.size() > static_cast<std::size_t>(trip_vehicle_slots))
        return trip_check::too_many_vehicles;
    // Such a trip would select no record at all and show zero everywhere.
    if (form.use_start_date && form.use_end_date &&
        date_key(form.end_date) < date_key(form.start_date))
        return trip_check::end_before_start;
    return trip_check::ok;
}

bool mileage_range_dropped(const trip_form& form) {
    return form.vehicles.size() > 1 && (form.use_start_mileage || form.use_end_mileage);
}

trip_record build_trip(const trip_form& form, const trip_record& base) {
    trip_record trip = base;
    trip.use_start_date = form.use_start_date ? 1 : 0;
    trip.use_end_date = form.use_end_date ? 1 : 0;
    trip.use_start_mileage = form.use_start_mileage ? 1 : 0;
    trip.use_end_mileage = form.use_end_mileage ? 1 : 0;
    trip.start_year = form.start_date.year;
    trip.start_month = form.start_date.month;
    trip.start_day = form.start_date.day;
    trip.end_year = form.end_date.year;
    trip.end_month = form.end_date.month;
    trip.end_day = form.end_date.day;
    trip.start_mileage = parse_number(form.start_mileage);
    trip.end_mileage = parse_number(form.end_mileage);
    // Mileages of different vehicles cannot be compared: such a trip is
    // bounded by its dates alone.
    if (mileage_range_dropped(form)) {
        trip.use_start_mileage = trip.use_end_mileage = 0;
        trip.start_mileage = trip.end_mileage = 0;
    }
    set_fixed(trip.trip_description, cut(form.description, trip_description_length));
    for (auto& slot : trip.trip_vehicles) set_fixed(slot, u"");
    for (std::size_t i = 0; i < form.vehicles.size() && i < std::size(trip.trip_vehicles); ++i)
        set_fixed(trip.trip_vehicles[i], form.vehicles[i]);
    return trip;
}

trip_form form_of(const trip_record& trip) {
    trip_form form;
    form.description = fixed_text(trip.trip_description);
    for (const auto& slot : trip.trip_vehicles)
        if (slot[0]) form.vehicles.push_back(fixed_text(slot));
    form.use_start_date = trip.use_start_date == 1;
    form.use_end_date = trip.use_end_date == 1;
    form.use_start_mileage = trip.use_start_mileage == 1;
    form.use_end_mileage = trip.use_end_mileage == 1;
    form.start_date = {trip.start_year, trip.start_month, trip.start_day, 0, 0, 0};
    form.end_date = {trip.end_year, trip.end_month, trip.end_day, 0, 0, 0};
    form.start_mileage = format("%.1f", trip.start_mileage);
    form.end_mileage = format("%.1f", trip.end_mileage);
    return form;
}

trip_save_outcome save_trip(trip_store& trips, const trip_form& form, const trip_record* editing) {
    trip_save_outcome outcome;
    const std::u16string own_key = editing ? fixed_text(editing->key) : std::u16string();
    outcome.check = check_trip(trips, form, own_key);
    if (outcome.check != trip_check::ok) return outcome;
    outcome.mileage_dropped = mileage_range_dropped(form);
    if (editing) {
        const trip_record trip = build_trip(form, *editing);
        const change_result changed = trips.update_record(own_key, trip);
        if (changed != change_result::not_found) {
            outcome.key = own_key;
            outcome.written = changed == change_result::done;
            return outcome;
        }
    }
    const add_result added = trips.add_record(build_trip(form));
    outcome.key = added.key;
    outcome.written = !added.write_failed;
    return outcome;
}

change_result delete_trip(trip_store& trips, std::u16string_view key) {
    if (key.empty()) return change_result::not_found;
    return trips.delete_record(key);
}

}  // namespace kelvane
