// The commands of kelvane-tool that move whole data sets: trips, export,
// import, backup, restore and the sample data.
#include <ostream>

#include "cli/kelvane_tool.h"
#include "cli/sample_data.h"
#include "cli/tool_session.h"
#include "platform/text_encoding.h"

namespace kelvane {

int kelvane_tool::trips(tool_session&) {
    return fail("'trips' is not available in this build");
}
int kelvane_tool::export_csv(tool_session&) {
    return fail("'export' is not available in this build");
}
int kelvane_tool::import_csv(tool_session&) {
    return fail("'import' is not available in this build");
}
int kelvane_tool::backup(tool_session&) {
    return fail("'backup' is not available in this build");
}
int kelvane_tool::restore(tool_session&) {
    return fail("'restore' is not available in this build");
}

int kelvane_tool::sample(tool_session& s) {
    if (!args_.positionals().empty()) return usage_error("'sample' takes no arguments");
    sample_data::options o;
    if (auto v = args_.option("--vehicles"); v && !read_int(*v, 1, 5, o.vehicles))
        return usage_error("--vehicles is a number from 1 to 5");
    if (auto y = args_.option("--years"); y && !read_int(*y, 1, 30, o.years))
        return usage_error("--years is a number from 1 to 30");
    int seed = 1;
    if (auto v = args_.option("--seed"); v && !read_int(*v, 0, 1000000000, seed))
        return usage_error("--seed is a whole number");
    o.seed = static_cast<unsigned>(seed);
    o.end = device_clock().now();
    if (!s.config().list_account_names().empty())
        return fail("the data folder already holds accounts; sample data goes into an empty one");
    const sample_data data(o);
    s.ensure_data_folder();
    s.load_trips();
    if (!data.install(s.config(), {&s.fuel(), &s.maintenance(), &s.fees()}, s.trips())) return 1;
    for (const auto& v : data.vehicles())
        out_ << to_utf8(v.name) << ": " << v.fuel.size() << " fill-ups, " << v.maintenance.size()
             << " repairs and services, " << v.fees.size() << " fees\n";
    out_ << data.trips().size() << " trips\n";
    return 0;
}

}  // namespace kelvane
