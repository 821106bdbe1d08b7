// A whole import file.
#include "fuzz_csv.h"

KELVANE_FUZZ_TARGET(csv_file)(const std::uint8_t* data, std::size_t size) {
    using namespace kelvane;
    using namespace kelvane::fuzz;
    fuzz_device d;
    d.fs.put(u"\\My Documents\\in.csv", std::vector<std::uint8_t>(data, data + size));
    open_account account;
    import_summary done = account.exchange.import_file(u"\\My Documents\\in.csv");
    expect(done.read, "an import file in memory was not read");
    // Another tracker's file refused for a choice is read again with the
    // choice made, as the program does after asking.
    import_options options;
    for (int again = 0; again < 2 && done.refusal != import_refusal::none; ++again) {
        expect(done.fuel + done.service + done.fees == 0, "a refused import added records");
        if (done.refusal == import_refusal::ambiguous_dates)
            options.dates = date_choice::day_first;
        else if (done.refusal == import_refusal::several_vehicles && !done.choices.empty())
            options.vehicle = done.choices.back();
        else
            break;
        done = account.exchange.import_file(u"\\My Documents\\in.csv", options);
    }
    expect(!done.write_failed, "an import into memory failed to write");
    account.check_files(done);
    return 0;
}
