#pragma once
// Conversion factors between the account units. Each is the exact double the
// device uses; the two distance factors are not each other's reciprocal (the
// second is the single-precision 1.6093 widened).

namespace kelvane {

inline constexpr double km_to_miles = 0.6213881744949012;
inline constexpr double miles_to_km = 1.6093000173568726;
inline constexpr double us_gallons_to_litres = 3.785;
inline constexpr double uk_gallons_to_litres = 4.546;
inline constexpr double litres_to_us_gallons = 0.2642007926023778;
inline constexpr double litres_to_uk_gallons = 0.21997360316761988;

static_assert(miles_to_km == static_cast<double>(1.6093f));

// The factor of a mileage conversion: direction 0 is kilometres to miles,
// 1 miles to kilometres; any other direction converts nothing (0).
constexpr double mileage_factor(int direction) {
    return direction == 0 ? km_to_miles : direction == 1 ? miles_to_km : 0.0;
}

}  // namespace kelvane
