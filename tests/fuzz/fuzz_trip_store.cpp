// A trip store file as input.
#include "fuzz_record_store.h"

KELVANE_FUZZ_TARGET(trip_store)(const std::uint8_t* data, std::size_t size) {
    return kelvane::fuzz::exercise_record_store<kelvane::trip_store>(data, size);
}
