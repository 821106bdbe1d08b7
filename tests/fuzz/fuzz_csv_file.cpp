// A whole import file.
#include "fuzz_csv.h"

KELVANE_FUZZ_TARGET(csv_file)(const std::uint8_t* data, std::size_t size) {
    using namespace kelvane;
    using namespace kelvane::fuzz;
    fuzz_device d;
    d.fs.put(u"\\My Documents\\in.csv", std::vector<std::uint8_t>(data, data + size));
    open_account account;
    const import_summary done = account.exchange.import_file(u"\\My Documents\\in.csv");
    expect(done.read, "an import file in memory was not read");
    expect(!done.write_failed, "an import into memory failed to write");
    account.check_files(done);
    return 0;
}
