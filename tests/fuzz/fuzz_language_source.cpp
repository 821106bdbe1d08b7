// A translator's ".lng" language file as input.
#include "core/tools/language_table.h"
#include "fuzz_support.h"
#include "fuzz_target.h"

KELVANE_FUZZ_TARGET(language_source)(const std::uint8_t* data, std::size_t size) {
    using namespace kelvane;
    using namespace kelvane::fuzz;
    fuzz_device d;
    d.put(u"Language.lng", data, size);
    language_table table;
    const load_result loaded = table.load(u"Language");
    expect(language_table::is_well_formed(table.units()), "the table holds a broken entry");
    for (auto key : {u"Fuel", u"Cost", u"", u"Failed! An error occurs when writing data file."}) {
        (void)table.translate(key);
        (void)table.reverse_translate(key);
    }
    // The cache written from the file gives the same table.
    if (loaded == load_result::loaded) {
        language_table cached;
        expect(cached.load(u"Language") == load_result::loaded, "the cache did not load");
        expect(cached.units() == table.units(), "the cache differs from its file");
    }
    return 0;
}
