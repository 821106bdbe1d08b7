// A fee store file as input.
#include "fuzz_record_store.h"

KELVANE_FUZZ_TARGET(fee_store)(const std::uint8_t* data, std::size_t size) {
    return kelvane::fuzz::exercise_record_store<kelvane::fee_store>(data, size);
}
