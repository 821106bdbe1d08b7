// A fuel store file as input.
#include "fuzz_record_store.h"

KELVANE_FUZZ_TARGET(fuel_store)(const std::uint8_t* data, std::size_t size) {
    return kelvane::fuzz::exercise_record_store<kelvane::fuel_store>(data, size);
}
