// The accounts page's rows: every account's mileage and costs, read from the
// headers of its files.

#include <gtest/gtest.h>

#include "core/accounts/account_summary_row.h"
#include "core/accounts/configuration.h"
#include "core/test_store_support.h"

namespace kelvane {
namespace {

using testing::data_folder;

TEST(fill_account_summary, rows_in_reverse_slot_order_and_the_running_total) {
    testing::device_fixture f;
    configuration config;
    for (auto name : {u"Alpha", u"Bravo", u"Charlie", u"Delta"})
        EXPECT_EQ(account_change::done, config.add_account(name));
    EXPECT_EQ(account_change::done, config.delete_account(u"Bravo"));  // slot 1 stays free

    // Alpha: headers written by hand (mileage 12345.6, costs 100.4 + 20.3 + 0.2).
    f.fs.put(data_folder + u"Alpha.ful", testing::common_header(1920, u"Alpha", data_folder, 0)
                                             .f64(1496, 100.4)
                                             .f64(1528, 12345.6)
                                             .bytes());
    f.fs.put(data_folder + u"Alpha.mat",
             testing::common_header(1608, u"Alpha", data_folder, 0).f64(1496, 20.3).bytes());
    f.fs.put(data_folder + u"Alpha.fee",
             testing::common_header(1608, u"Alpha", data_folder, 0).f64(1496, 0.2).bytes());
    // Charlie: only a fees file. Delta: no files at all.
    f.fs.put(data_folder + u"Charlie.fee",
             testing::common_header(1608, u"Charlie", data_folder, 0).f64(1496, 7.6).bytes());

    std::vector<account_summary_row> rows{{u"stale", u"", u""}};
    const double total = config.fill_account_summary(rows);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].name, u"Delta");
    EXPECT_EQ(rows[1].name, u"Charlie");
    EXPECT_EQ(rows[2].name, u"Alpha");
    EXPECT_EQ(rows[2].mileage_text, u"12346");
    EXPECT_EQ(rows[2].cost_text, u"121");
    EXPECT_EQ(rows[1].mileage_text, u"0");
    EXPECT_EQ(rows[1].cost_text, u"8");
    EXPECT_EQ(rows[0].cost_text, u"0");
    // The total adds the costs, not their rounded texts.
    EXPECT_DOUBLE_EQ(total, 128.5);
    EXPECT_TRUE(f.messages().empty());

    // A damaged file is reported and counts as zero.
    f.fs.put(data_folder + u"Delta.ful", std::vector<std::uint8_t>(100, 1));
    config.fill_account_summary(rows);
    EXPECT_EQ(rows[0].cost_text, u"0");
    EXPECT_EQ(f.messages(), std::vector<std::u16string>{u"Database file format error."});
}

TEST(fill_account_summary, no_accounts_no_rows) {
    testing::device_fixture f;
    configuration config;
    std::vector<account_summary_row> rows;
    EXPECT_EQ(config.fill_account_summary(rows), 0);
    EXPECT_TRUE(rows.empty());
}

}  // namespace
}  // namespace kelvane
