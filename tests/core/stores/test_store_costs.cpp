// The maintenance and the fees store: layouts, row texts, export lines,
// chart entries and mileage conversion.

#include "core/common/unit_factors.h"
#include "core/exchange/csv_rows.h"
#include "core/test_store_support.h"
#include "core/test_store_support_chart.h"
#include "platform/memory_file_system.h"

using namespace kelvane;
using namespace kelvane::testing;

namespace {

service_record job(int day, double mileage, double cost, std::u16string_view text, bool repair,
                   double next = 0) {
    service_record r{};
    r.year = 2007, r.month = 3, r.day = day, r.hour = 9, r.minute = 30;
    r.mileage = mileage;
    r.cost = cost;
    r.next_service_mileage = next;
    set_fixed(r.description, text);
    r.repair_flag = repair ? 1 : 0;
    return r;
}

fee_record fee(int day, double mileage, double cost, std::u16string_view category,
               std::u16string_view text) {
    fee_record r{};
    r.year = 2007, r.month = 3, r.day = day, r.hour = 9;
    r.mileage = mileage;
    r.cost = cost;
    set_fixed(r.category, category);
    set_fixed(r.description, text);
    return r;
}

TEST(maintenance_store, file_layout) {
    device_fixture device;
    service_store store;
    (void)store.load(data_folder, u"Van", false);
    EXPECT_TRUE(store.add_record(job(5, 1234.5, 99.5, u"oil change", false, 11234.5)).added());

    byte_image expected = common_header(1608, u"Van", data_folder, 1);
    expected.f64(1496, 99.5);
    byte_image record(400);
    record.text(0, u"DATA").text(16, u"Van0000000000071004022533");
    record.i32(140, 2007).i32(144, 3).i32(148, 5).i32(152, 9).i32(156, 30).i32(160, 0);
    record.f64(168, 1234.5).f64(176, 99.5).f64(184, 11234.5).text(192, u"oil change").u8(294, 0);
    EXPECT_EQ(device.fs.bytes(file_of<service_store>(u"Van")),
              expected.append(record.bytes()).bytes());

    EXPECT_TRUE(store.add_record(job(6, 1300, 1, u"", true)).added());
    EXPECT_EQ(device.fs.bytes(file_of<service_store>(u"Van"))[1608 + 400 + 294], 1);
}

TEST(fees_store, file_layout_and_a_full_category) {
    device_fixture device;
    fee_store store;
    (void)store.load(data_folder, u"Van", false);
    const std::u16string thirty(30, u'c');
    EXPECT_TRUE(store.add_record(fee(5, 1234.5, 7.25, thirty, u"parking")).added());

    byte_image expected = common_header(1608, u"Van", data_folder, 1);
    expected.f64(1496, 7.25);
    byte_image record(448);
    record.text(0, u"DATA").text(16, u"Van0000000000071004022533");
    record.i32(140, 2007).i32(144, 3).i32(148, 5).i32(152, 9);
    record.f64(168, 1234.5).f64(176, 7.25).text(184, thirty).text(246, u"parking");
    EXPECT_EQ(device.fs.bytes(file_of<fee_store>(u"Van")), expected.append(record.bytes()).bytes());
    EXPECT_EQ(fixed_text(store.record_at(0).category), thirty);
}

TEST(maintenance_store, row_texts_and_export_lines) {
    device_fixture device;
    service_store store;
    (void)store.load(data_folder, u"Van", false);
    const auto service = job(5, 1234.6, 99.5, u"oil", false, 11234.56);
    const auto repair = job(6, 1300, 20, u"tyre", true);
    EXPECT_EQ(export_line(service),
              u"\"03/05/2007\",\"1235\",\"Maintenance\",\"oil\",\"99.50\",\"\",\"\",\"\",\"\",\"\","
              u"\"11234.6\"\r\n");
    EXPECT_EQ(export_line(repair),
              u"\"03/06/2007\",\"1300\",\"Repair\",\"tyre\",\"20.00\",\"\",\"\",\"\",\"\",\"\","
              u"\"0.0\"\r\n");

    EXPECT_TRUE(store.add_record(service).added());
    EXPECT_TRUE(store.add_record(repair).added());
    EXPECT_EQ(store.row_texts(0),
              (std::array<std::u16string, 4>{u" 1235", u"oil", u"99.50", u"03/05/07"}));

    store.select_records({std::nullopt, std::nullopt, 1250, -1});
    memory_file_system out_fs;
    auto out = out_fs.create(u"\\out.csv");
    ASSERT_TRUE(export_rows(store, *out));
    out->close();
    const std::string line = to_utf8(export_line(repair));
    EXPECT_EQ(out_fs.bytes(u"\\out.csv"), std::vector<std::uint8_t>(line.begin(), line.end()));
}

TEST(fees_store, row_texts_and_export_line) {
    device_fixture device;
    device.dev.set_language_id(1031);
    fee_store store;
    (void)store.load(data_folder, u"Van", false);
    const auto parking = fee(5, 1234.56, 3.5, u"Parking", u"city, centre");
    EXPECT_EQ(export_line(parking),
              u"\"05.03.2007\",\"1234.6\",\"Fees\",\"city, centre\",\"3.50\",\"\",\"\",\"\",\"\","
              u"\"Parking\",\"\"\r\n");
    EXPECT_TRUE(store.add_record(parking).added());
    EXPECT_EQ(store.row_texts(0),
              (std::array<std::u16string, 4>{u" 1235", u"Parking", u"3.50", u"05.03.07"}));
}

TEST(cost_stores, chart_entries_collect_by_mileage) {
    device_fixture device;
    fee_store fees;
    (void)fees.load(data_folder, u"Van", false);
    EXPECT_TRUE(fees.add_record(fee(5, 1000, 3, u"Parking", u"a")).added());
    EXPECT_TRUE(fees.add_record(fee(6, 1000, 4, u"Toll", u"b")).added());
    EXPECT_TRUE(fees.add_record(fee(7, 1200, 5, u"Toll", u"c")).added());
    recorded_chart chart;
    fees.cost_series(chart, {});
    ASSERT_EQ(chart.entries.size(), 2u);
    EXPECT_EQ(chart.entries[0].name, u"1000");
    EXPECT_EQ(chart.entries[0].value, 7.0);
    EXPECT_EQ(chart.entries[0].note_text, u"Parking");
    EXPECT_EQ(chart.entries[1].date_text, u"03/07/07");
    EXPECT_EQ(chart.dates.size(), 3u);

    service_store jobs;
    (void)jobs.load(data_folder, u"Van", false);
    EXPECT_TRUE(jobs.add_record(job(5, 1000, 50, u"brakes", true)).added());
    recorded_chart job_chart;
    jobs.cost_series(job_chart, {local_time{2007, 1, 1}, std::nullopt});
    ASSERT_EQ(job_chart.entries.size(), 1u);
    EXPECT_EQ(job_chart.entries[0].note_text, u"brakes");
    EXPECT_TRUE(job_chart.dates.empty());
    EXPECT_EQ(jobs.selection_cost({std::nullopt, std::nullopt, 1001, -1}), 0.0);
}

TEST(cost_stores, mileage_conversion) {
    device_fixture device;
    service_store jobs;
    (void)jobs.load(data_folder, u"Van", false);
    EXPECT_TRUE(jobs.add_record(job(5, 1000, 50, u"service", false, 11000)).added());
    jobs.convert_mileage(0);
    EXPECT_EQ(jobs.record_at(0).mileage, 1000 * km_to_miles);
    EXPECT_EQ(jobs.record_at(0).next_service_mileage, 11000 * km_to_miles);

    fee_store fees;
    (void)fees.load(data_folder, u"Van", false);
    EXPECT_TRUE(fees.add_record(fee(5, 1000, 3, u"Parking", u"")).added());
    fees.convert_mileage(1);
    EXPECT_EQ(fees.record_at(0).mileage, 1000 * miles_to_km);
}

}  // namespace
