// A "Config_key.dat" key table as input.
#include "core/tools/key_table.h"
#include "fuzz_support.h"
#include "fuzz_target.h"

KELVANE_FUZZ_TARGET(key_table)(const std::uint8_t* data, std::size_t size) {
    using namespace kelvane;
    using namespace kelvane::fuzz;
    fuzz_device d;
    d.put(u"Config_key.dat", data, size);
    key_table table;
    (void)table.load();
    const auto bytes = table.to_bytes();
    expect(bytes.size() == key_table::file_size, "the table is not 180 bytes");
    for (std::uint16_t code = 0; code < 256; ++code) (void)table.character_of_key(code);
    expect(table.save(), "a save to memory failed");
    key_table again;
    expect(again.load() == load_result::loaded && again == table,
           "a saved table reads back otherwise");
    return 0;
}
