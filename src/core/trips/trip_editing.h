#pragma once
// The data side of the trip editor: what the owner entered, the checks a
// trip must pass before it is kept (in the order their messages are given),
// the rule that a trip over several vehicles cannot keep a mileage range,
// and adding, replacing and deleting the trip in the trip store. The screen
// and the command-line tool share it, so both refuse the same trips with the
// same messages.

#include <string>
#include <string_view>
#include <vector>

#include "core/stores/trip_store.h"
#include "platform/local_time.h"

namespace kelvane {

// Characters of a trip's description.
inline constexpr std::size_t trip_description_length = 50;

// What the owner entered, as the editor's boxes hold it.
struct trip_form {
    std::u16string description;
    std::vector<std::u16string> vehicles;  // chosen account names, in order
    bool use_start_date = false;
    bool use_end_date = false;
    bool use_start_mileage = false;
    bool use_end_mileage = false;
    local_time start_date;  // only the day counts
    local_time end_date;
    std::u16string start_mileage;  // as typed; read with the shared number parser
    std::u16string end_mileage;
};

enum class trip_check {
    ok,
    no_description,
    name_exists,
    no_vehicle,
    too_many_vehicles,
    end_before_start,  // both dates are used and the end comes first
};

// The message the owner sees for a failed check (an English key); empty for ok.
std::u16string_view trip_check_message(trip_check check);
// Shown when a trip over several vehicles loses its mileage range.
inline constexpr char16_t msg_mileage_range_dropped[] =
    u"If select more than one vehicle account, trip will be based on time range and selected "
    u"mileage range will no long be effective.";

// The first check the form fails. `own_key` is the key of the trip being
// edited (empty when adding): its own description is not taken by another.
trip_check check_trip(const trip_store& trips, const trip_form& form, std::u16string_view own_key);

// True when the form's mileage range cannot be kept: more than one vehicle,
// and a start or end mileage is used.
bool mileage_range_dropped(const trip_form& form);

// The record the form describes, built over `base` (an edited trip keeps its
// number and key). A dropped mileage range is cleared: both flags and both
// mileages 0.
trip_record build_trip(const trip_form& form, const trip_record& base = {});

// The editor's boxes for a stored trip.
trip_form form_of(const trip_record& trip);

struct trip_save_outcome {
    trip_check check = trip_check::ok;  // not ok: nothing was kept
    bool mileage_dropped = false;       // the owner must be told
    std::u16string key;                 // the kept trip's key
    // False when Trip.tri could not take the change (the owner was told);
    // the trip is kept in memory under `key` all the same.
    bool written = true;
};

// Checks the form and, when it passes, adds the trip (editing == nullptr) or
// replaces the edited trip, found by its key. A trip that is no longer in
// the store (deleted meanwhile) is added again rather than lost.
trip_save_outcome save_trip(trip_store& trips, const trip_form& form,
                            const trip_record* editing = nullptr);

// Deletes the trip with this key.
change_result delete_trip(trip_store& trips, std::u16string_view key);

}  // namespace kelvane
