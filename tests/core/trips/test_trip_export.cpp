// The export of a trip: the records of the trip's own vehicles within its
// limits, whichever account is open.

#include <gtest/gtest.h>

#include "core/test_store_support.h"
#include "core/trips/trip_export.h"

namespace kelvane {
namespace {

using testing::data_folder;

struct trip_export_test : ::testing::Test, testing::device_fixture {
    fuel_store fuel;
    service_store service;
    fee_store fees;

    // Writes one record of each kind for a vehicle, noted with its name.
    void records_of(std::u16string_view name, double mileage) {
        (void)fuel.load(data_folder, name, false);
        (void)service.load(data_folder, name, false);
        (void)fees.load(data_folder, name, false);
        auto f = testing::store_kind<fuel_store>::make(2007, 3, 5, 12, 0, 0, mileage);
        set_fixed(f.note, std::u16string(name) + u" fuel");
        EXPECT_TRUE(fuel.add_record(f).added());
        auto s = testing::store_kind<service_store>::make(2007, 3, 6, 12, 0, 0, mileage);
        set_fixed(s.description, std::u16string(name) + u" job");
        EXPECT_TRUE(service.add_record(s).added());
        auto e = testing::store_kind<fee_store>::make(2007, 3, 7, 12, 0, 0, mileage);
        set_fixed(e.description, std::u16string(name) + u" fee");
        EXPECT_TRUE(fees.add_record(e).added());
    }
    std::string file(std::u16string_view path) {
        std::vector<std::uint8_t> bytes;
        if (!read_whole_file(fs, path, bytes)) return {};
        return std::string(bytes.begin(), bytes.end());
    }
    static trip_record trip_over(std::initializer_list<std::u16string_view> vehicles) {
        trip_record t{};
        std::size_t i = 0;
        for (auto v : vehicles) set_fixed(t.trip_vehicles[i++], v);
        return t;
    }
};

TEST_F(trip_export_test, covers_the_trips_vehicles_in_slot_order_and_not_the_open_account) {
    records_of(u"Van", 500);
    records_of(u"Bus", 900);
    records_of(u"Car", 100);  // left open, with the fee not yet in its file
    fuel.set_deferred_save(true);
    fees.set_deferred_save(true);
    auto early = testing::store_kind<fee_store>::make(2007, 3, 1, 12, 0, 0, 50);
    set_fixed(early.description, u"Car early fee");
    EXPECT_TRUE(fees.add_record(early).added());
    ASSERT_TRUE(fees.dirty());

    trip_record trip = trip_over({u"Bus", u"Car", u"Bus"});
    trip.use_start_mileage = 1;
    trip.start_mileage = 60;
    ASSERT_EQ(trip_export_result::written,
              export_trip_records(data_folder, {fuel, service, fees}, trip, u"\\trip.csv"));
    const std::string text = file(u"\\trip.csv");
    EXPECT_EQ(std::string::npos, text.find("Van")) << "Van is not on the trip";
    EXPECT_EQ(std::string::npos, text.find("Car early fee")) << "below the start mileage";
    const std::vector<std::string> in_order = {"Bus fuel", "Car fuel", "Bus job",
                                               "Car job",  "Bus fee",  "Car fee"};
    std::size_t at = 0;
    for (const auto& piece : in_order) {
        const std::size_t found = text.find(piece, at);
        ASSERT_NE(std::string::npos, found) << piece;
        at = found + piece.size();
    }
    EXPECT_EQ(std::string::npos, text.find("Bus fuel", at)) << "a vehicle named twice counts once";

    // The pending fee of the open account was written so that it could be read.
    trip.use_start_mileage = 0;
    ASSERT_EQ(trip_export_result::written,
              export_trip_records(data_folder, {fuel, service, fees}, trip, u"\\all.csv"));
    EXPECT_NE(std::string::npos, file(u"\\all.csv").find("Car early fee"));
}

TEST_F(trip_export_test, a_vehicle_file_that_cannot_be_read_writes_nothing) {
    records_of(u"Van", 500);
    EXPECT_TRUE(fuel.reset());
    EXPECT_TRUE(service.reset());
    EXPECT_TRUE(fees.reset());
    const std::uint8_t junk[] = {'n', 'o', 't', ' ', 'a', ' ', 'f', 'i', 'l', 'e'};
    std::vector<std::uint8_t> bad(1608, 0);
    std::copy(std::begin(junk), std::end(junk), bad.begin());
    ASSERT_TRUE(write_file_atomically(fs, data_folder + u"Van.fee", bad.data(), bad.size()));

    EXPECT_EQ(trip_export_result::files_unreadable,
              export_trip_records(data_folder, {fuel, service, fees}, trip_over({u"Van"}),
                                  u"\\trip.csv"));
    EXPECT_FALSE(fs.file_exists(u"\\trip.csv"));
}

}  // namespace
}  // namespace kelvane
