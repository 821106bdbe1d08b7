// A ".bng" language cache as input (with a small ".lng" beside it, which a
// cache that does not hold up gives way to).
#include "core/tools/language_table.h"
#include "fuzz_support.h"
#include "fuzz_target.h"

KELVANE_FUZZ_TARGET(language_cache)(const std::uint8_t* data, std::size_t size) {
    using namespace kelvane;
    using namespace kelvane::fuzz;
    fuzz_device d;
    d.put(u"Language.bng", data, size);
    const std::uint8_t source[] = {0xFF, 0xFE, 'F', 0, 'u', 0, 'e', 0, 'l', 0, '@', 0, 'X', 0};
    d.put(u"Language.lng", source, sizeof source);
    language_table table;
    (void)table.load(u"Language");
    expect(language_table::is_well_formed(table.units()), "the table holds a broken entry");
    for (auto key : {u"Fuel", u"Cost", u"", u"X"}) {
        (void)table.translate(key);
        (void)table.reverse_translate(key);
    }
    return 0;
}
