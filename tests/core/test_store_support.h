#pragma once
// What the store tests share: the device services of one test, expected
// file bytes built by hand, and one description per store kind so that a
// test body can run over all of them.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "core/common/messages.h"
#include "core/common/text.h"
#include "core/stores/fee_store.h"
#include "core/stores/fuel_store.h"
#include "core/stores/service_store.h"
#include "core/stores/trip_store.h"
#include "core/test_services.h"
#include "platform/device_info.h"
#include "platform/memory_file_system.h"
#include "platform/message_box.h"
#include "platform/services.h"
#include "platform/shell_service.h"

namespace kelvane::testing {

inline const std::u16string data_folder = u"\\Program Files\\Kelvane\\";

// The services of one test; the data folder exists and the clock shows
// 4 October 2007 02:25:33.
struct device_fixture : test_services {
    device_fixture() {
        fs.create_folder(u"\\Program Files");
        fs.create_folder(u"\\Program Files\\Kelvane");
        clock.set(2007, 10, 4, 2, 25, 33);
    }
    std::vector<std::u16string> messages() const { return boxes.texts(); }
};

// Little-endian bytes placed at offsets, for comparing with files.
class byte_image {
public:
    explicit byte_image(std::size_t size = 0) : bytes_(size, 0) {}
    byte_image& i32(std::size_t at, std::int32_t v) { return raw(at, &v, 4); }
    byte_image& u16(std::size_t at, std::uint16_t v) { return raw(at, &v, 2); }
    byte_image& f64(std::size_t at, double v) { return raw(at, &v, 8); }
    byte_image& u8(std::size_t at, std::uint8_t v) { return raw(at, &v, 1); }
    // UTF-16LE units, without the terminator (the image is zero already).
    byte_image& text(std::size_t at, std::u16string_view t) {
        for (std::size_t i = 0; i < t.size(); ++i) {
            u8(at + 2 * i, static_cast<std::uint8_t>(t[i] & 0xFF));
            u8(at + 2 * i + 1, static_cast<std::uint8_t>(t[i] >> 8));
        }
        return *this;
    }
    byte_image& append(const std::vector<std::uint8_t>& more) {
        bytes_.insert(bytes_.end(), more.begin(), more.end());
        return *this;
    }
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }

private:
    byte_image& raw(std::size_t at, const void* v, std::size_t n) {
        if (bytes_.size() < at + n) bytes_.resize(at + n, 0);
        std::memcpy(bytes_.data() + at, v, n);
        return *this;
    }
    std::vector<std::uint8_t> bytes_;
};

// The bytes of a file part, for comparing with a hand-built image.
inline std::vector<std::uint8_t> slice(const std::vector<std::uint8_t>& b, std::size_t from,
                                       std::size_t count) {
    if (from >= b.size()) return {};
    count = std::min(count, b.size() - from);
    return {b.begin() + static_cast<std::ptrdiff_t>(from),
            b.begin() + static_cast<std::ptrdiff_t>(from + count)};
}

// A header image with the common part every store writes.
inline byte_image common_header(std::size_t size, std::u16string_view account,
                                std::u16string_view folder, std::int32_t next_number) {
    byte_image h(size);
    h.text(0, u"DCKJ").u16(22, 1).text(24, account).text(282, folder).i32(1488, next_number);
    return h;
}

// Per store kind: file names and a record with a date and a mileage.
template <class Store>
struct store_kind;

template <>
struct store_kind<fuel_store> {
    static constexpr std::size_t header_size = 1920, record_size = 480;
    static constexpr const char16_t* extension = u".ful";
    static constexpr bool dated = true;
    static double mileage(const fuel_record& r) { return r.mileage; }
    static double cost(const fuel_record& r) { return r.fuel_cost; }
    static double total(const fuel_header& h) { return h.total_fuel_cost; }
    static fuel_record make(int y, int mo, int d, int h, int mi, int s, double mileage,
                            double cost = 10) {
        fuel_record r{};
        r.year = y, r.month = mo, r.day = d, r.hour = h, r.minute = mi, r.second = s;
        r.mileage = mileage;
        r.fuel_cost = cost;
        r.fuel_purchased = 20;
        r.fuel_gauge = 40;
        return r;
    }
};

template <>
struct store_kind<service_store> {
    static constexpr std::size_t header_size = 1608, record_size = 400;
    static constexpr const char16_t* extension = u".mat";
    static constexpr bool dated = true;
    static double mileage(const service_record& r) { return r.mileage; }
    static double cost(const service_record& r) { return r.cost; }
    static double total(const service_header& h) { return h.total_cost; }
    static service_record make(int y, int mo, int d, int h, int mi, int s, double mileage,
                               double cost = 10) {
        service_record r{};
        r.year = y, r.month = mo, r.day = d, r.hour = h, r.minute = mi, r.second = s;
        r.mileage = mileage;
        r.cost = cost;
        return r;
    }
};

template <>
struct store_kind<fee_store> {
    static constexpr std::size_t header_size = 1608, record_size = 448;
    static constexpr const char16_t* extension = u".fee";
    static constexpr bool dated = true;
    static double mileage(const fee_record& r) { return r.mileage; }
    static double cost(const fee_record& r) { return r.cost; }
    static double total(const fee_header& h) { return h.total_cost; }
    static fee_record make(int y, int mo, int d, int h, int mi, int s, double mileage,
                           double cost = 10) {
        fee_record r{};
        r.year = y, r.month = mo, r.day = d, r.hour = h, r.minute = mi, r.second = s;
        r.mileage = mileage;
        r.cost = cost;
        return r;
    }
};

template <>
struct store_kind<trip_store> {
    static constexpr std::size_t header_size = 1592, record_size = 3048;
    static constexpr const char16_t* extension = u".tri";
    static constexpr bool dated = false;
    static double mileage(const trip_record& r) { return r.start_mileage; }
    // Trips have no record date; the arguments shape the trip's bounds.
    static trip_record make(int y, int mo, int d, int, int, int, double mileage, double = 0) {
        trip_record r{};
        r.start_year = y, r.start_month = mo, r.start_day = d;
        r.end_year = y, r.end_month = mo, r.end_day = d;
        r.start_mileage = mileage;
        r.end_mileage = mileage + 100;
        set_fixed(r.trip_description, format("Trip at %.f", mileage));
        set_fixed(r.trip_vehicles[0], u"Car");
        return r;
    }
};

// The raw bytes of a record as the store holds it (for building files whose
// records must be whatever the store wrote).
template <class Record>
std::vector<std::uint8_t> bytes_of(const Record& r) {
    const auto* p = reinterpret_cast<const std::uint8_t*>(&r);
    return {p, p + sizeof r};
}

// The bytes a store's file holds when it matches the store's memory.
template <class Store>
std::vector<std::uint8_t> image_of(const Store& s) {
    std::vector<std::uint8_t> out = bytes_of(s.header());
    for (int i = 0; i < s.record_count(); ++i) {
        const auto r = bytes_of(s.record_at(i));
        out.insert(out.end(), r.begin(), r.end());
    }
    return out;
}

template <class Store>
std::u16string file_of(std::u16string_view account) {
    return data_folder + std::u16string(account) + store_kind<Store>::extension;
}

}  // namespace kelvane::testing
