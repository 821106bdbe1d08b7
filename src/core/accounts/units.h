#pragma once
// The fixed vocabularies of a vehicle account: distance and volume units
// (stored in the fuel store header as their English names), fuel economy
// units (stored as an index), the currency suggestions and the fuel types.
// Screens show every name through the language table; the names here are the
// English keys.

#include <array>
#include <string>
#include <string_view>

namespace kelvane {

inline constexpr char16_t unit_kilometer[] = u"Kilometer";
inline constexpr char16_t unit_mile[] = u"Mile";
inline constexpr char16_t unit_liter[] = u"Liter";
inline constexpr char16_t unit_us_gallon[] = u"US Gallon";
inline constexpr char16_t unit_uk_gallon[] = u"UK Gallon";
// Older data stored the US gallon under this name.
inline constexpr char16_t unit_old_gallon[] = u"Gallon";

// In the order of the account editor's lists.
inline constexpr std::array<std::u16string_view, 2> mileage_unit_names = {unit_kilometer,
                                                                          unit_mile};
inline constexpr std::array<std::u16string_view, 3> fuel_unit_names = {unit_liter, unit_us_gallon,
                                                                       unit_uk_gallon};
// Indexed by the account's economy mode (0-3).
inline constexpr std::array<std::u16string_view, 4> economy_unit_names = {
    u"Mile/US Gallon", u"Mile/UK Gallon", u"Liter/100Km", u"Km/Liter"};
// The fuel purchase editor's choices, top to bottom.
inline constexpr std::array<std::u16string_view, 6> fuel_type_names = {u"97", u"93", u"90",
                                                                       u"89", u"87", u"Diesel"};

struct currency_entry {
    std::u16string_view code;  // what the currency box takes
    std::u16string_view name;  // its note, shown translated
};
inline constexpr std::size_t currency_count = 56;
const std::array<currency_entry, currency_count>& currency_table();

// The stored fuel unit as the program treats it: "Gallon" is the US gallon.
std::u16string effective_fuel_unit(std::u16string_view stored);

// List positions in the account editor; -1 for a name that is not in the list.
int mileage_unit_index(std::u16string_view unit);
int fuel_unit_index(std::u16string_view unit);  // reads "Gallon" as "US Gallon"

// The economy mode a new account starts with for its units, until the owner
// chooses one: litres per 100 km with kilometres and litres, miles per
// gallon of the gallon bought, and miles per UK gallon with miles and litres
// (where fuel is sold by the litre and driven by the mile).
int economy_mode_for_units(std::u16string_view mileage_unit, std::u16string_view fuel_unit);

// The English key of a unit name as shown (possibly translated) in a list.
std::u16string unit_key_of_shown(std::u16string_view shown);

// Conversions of an account's stored values between its units.
// Direction of the stores' mileage conversion: 0 kilometres to miles, 1 miles
// to kilometres, -1 when the distance unit does not actually change.
int mileage_conversion_direction(std::u16string_view old_unit, std::u16string_view new_unit);
// Mode of the fuel store's first volume step, into litres: 0 from US gallons,
// 1 from UK gallons, -1 when the volume is already in litres.
int volume_to_litres_mode(std::u16string_view old_unit);
// Mode of the second step, out of litres: 2 to US gallons, 3 to UK gallons,
// -1 when the new unit is litres.
int volume_from_litres_mode(std::u16string_view new_unit);

double convert_mileage(double value, std::u16string_view from, std::u16string_view to);
// Through litres, in the two steps the stores use; the same gallon unit on
// both sides still goes there and back.
double convert_volume(double value, std::u16string_view from, std::u16string_view to);

}  // namespace kelvane
