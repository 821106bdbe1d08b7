// The records a report reads: the chosen accounts one after another, read
// from files the open account has brought up to date first.

#include <gtest/gtest.h>

#include "core/charts/report_records.h"
#include "core/test_store_support.h"

namespace kelvane {
namespace {

using testing::data_folder;
using testing::store_kind;

struct report_records_test : ::testing::Test, testing::device_fixture {
    void write_account(std::u16string_view name, std::vector<double> mileages) {
        fuel_store f;
        (void)f.load(data_folder, name, false);
        int day = 1;
        for (double m : mileages)
            EXPECT_TRUE(
                f.add_record(store_kind<fuel_store>::make(2026, 1, day++, 0, 0, 0, m)).added());
    }
    static std::vector<double> mileages(const fuel_store& s) {
        std::vector<double> out;
        for (int i = 0; i < s.record_count(); ++i) out.push_back(s.record_at(i).mileage);
        return out;
    }
};

TEST_F(report_records_test, accounts_follow_each_other_in_the_order_chosen) {
    write_account(u"Van", {100, 200});
    write_account(u"Golf", {50});
    report_records records;
    std::vector<std::u16string> told;
    EXPECT_TRUE(records.load(data_folder, {u"Golf", u"..\\Van", u"Van", u"Missing"},
                             [&](int done, int total, std::u16string_view account) {
                                 EXPECT_EQ(4, total);
                                 told.push_back(format("%d ", done) + std::u16string(account));
                             }));
    EXPECT_EQ((std::vector<double>{50, 100, 200}), mileages(records.fuel))
        << "a name that is no account reads nothing";
    EXPECT_EQ((std::vector<std::u16string>{u"0 Golf", u"1 ..\\Van", u"2 Van", u"3 Missing", u"4 "}),
              told);
    // A second report starts afresh.
    EXPECT_TRUE(records.load(data_folder, {u"Van"}));
    EXPECT_EQ((std::vector<double>{100, 200}), mileages(records.fuel));
    EXPECT_TRUE(messages().empty());
}

TEST_F(report_records_test, long_accounts_read_one_after_another_keep_every_record_in_order) {
    // Together more than a large block of memory holds at first.
    const std::pair<const char16_t*, int> accounts[] = {
        {u"Van", 6000}, {u"Golf", 5000}, {u"Bike", 4000}};
    std::vector<std::vector<double>> written;
    for (const auto& [name, count] : accounts) {
        fuel_store f;
        (void)f.load(data_folder, name, false);
        std::vector<fuel_store::record_type> records;
        std::vector<double> mileages;
        for (int i = 0; i < count; ++i) {
            mileages.push_back(1000 * (static_cast<double>(written.size()) + 1) + i);
            records.push_back(store_kind<fuel_store>::make(2000 + i / 300, i / 25 % 12 + 1,
                                                           i % 25 + 1, 0, 0, 0, mileages.back()));
        }
        EXPECT_TRUE(f.add_all(records));
        written.push_back(mileages);
    }
    report_records records;
    for (const std::vector<std::u16string>& order :
         {std::vector<std::u16string>{u"Van", u"Golf", u"Bike"}, {u"Bike", u"Van"}}) {
        EXPECT_TRUE(records.load(data_folder, order));
        std::vector<double> expected;
        for (const std::u16string& name : order) {
            const auto& m = written[name == u"Van" ? 0 : name == u"Golf" ? 1 : 2];
            expected.insert(expected.end(), m.begin(), m.end());
        }
        EXPECT_EQ(expected, mileages(records.fuel));
    }
    EXPECT_TRUE(messages().empty());
}

TEST_F(report_records_test, the_open_accounts_owed_changes_reach_its_files_first) {
    write_account(u"Van", {100, 200, 300});
    fuel_store open;
    service_store service;
    fee_store fees;
    for (account_store* s : std::initializer_list<account_store*>{&open, &service, &fees})
        (void)s->load(data_folder, u"Van", false);
    open.set_deferred_save(true);
    fuel_record middle = open.record_at(1);
    middle.mileage = 250;
    ASSERT_EQ(change_result::done, open.update_record(fixed_text(middle.key), middle));
    ASSERT_TRUE(open.dirty());

    EXPECT_TRUE(write_owed_changes(open, service, fees));
    EXPECT_FALSE(service.dirty());
    report_records records;
    EXPECT_TRUE(records.load(data_folder, {u"Van"}));
    EXPECT_EQ((std::vector<double>{100, 250, 300}), mileages(records.fuel));
    EXPECT_EQ(testing::image_of(open), fs.bytes(testing::file_of<fuel_store>(u"Van")));
}

}  // namespace
}  // namespace kelvane
