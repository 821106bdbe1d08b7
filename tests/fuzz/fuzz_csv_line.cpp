// One line of an import file (any bytes, decoded as the import decodes them).
#include "core/common/parse_number.h"
#include "fuzz_csv.h"

KELVANE_FUZZ_TARGET(csv_line)(const std::uint8_t* data, std::size_t size) {
    using namespace kelvane;
    using namespace kelvane::fuzz;
    fuzz_device d;
    open_account account;
    const std::u16string text =
        decode_import_text(std::string_view(reinterpret_cast<const char*>(data), size));
    for (const std::u16string& cell : split_csv_line(text)) {
        int year = 0, month = 0, day = 0;
        for (std::uint16_t language : {1033, 9, 12, 1031, 2052})
            if (read_import_date(cell, language, year, month, day))
                expect(is_valid_date(year, month, day), "an impossible date was read");
        (void)parse_number(cell);
    }
    import_summary done;
    account.exchange.import_line(text, done);
    expect(done.fuel + done.service + done.fees + done.skipped <= 1,
           "one line gave more than one record");
    account.check_files(done);
    return 0;
}
