#include "core/accounts/units.h"

#include "core/common/translate.h"
#include "core/common/unit_factors.h"

namespace kelvane {

const std::array<currency_entry, currency_count>& currency_table() {
    static constexpr std::array<currency_entry, currency_count> table = {{
        {u"AED", u"United Arab Emirates, Dirhams"},
        {u"AFN", u"Afghanistan, Afghanis"},
        {u"ANG", u"Netherlands Antilles, Guilders"},
        {u"ARS", u"Argentina, Pesos"},
        {u"AUD", u"Australia, Dollars"},
        {u"BAM", u"Bosnia and Herzegovina"},
        {u"BGN", u"Bulgaria, Leva"},
        {u"BRL", u"Brazil, Brazil Real"},
        {u"BYR", u"Belarus, Rubles"},
        {u"CAD", u"Canada, Dollars"},
        {u"CHF", u"Switzerland, Francs"},
        {u"CLP", u"Chile, Pesos"},
        {u"CNY", u"China, Yuan Renminbi"},
        {u"CSD", u"Serbia, Dinars"},
        {u"CZK", u"Czech Republic, Koruny"},
        {u"DKK", u"Denmark, Kroner"},
        {u"EGP", u"Egypt, Pounds"},
        {u"EUR", u"Euro Countries, Euro"},
        {u"GBP", u"United Kingdom, Pounds"},
        {u"GEL", u"Georgia, Lari"},
        {u"HKD", u"Hong Kong, Dollars"},
        {u"HRK", u"Croatia, Kuna"},
        {u"HUF", u"Hungary, Forint"},
        {u"IDR", u"Indonesia, Rupiahs"},
        {u"ILS", u"Israel, New Shekels"},
        {u"INR", u"India, Rupees"},
        {u"IQD", u"Iraq, Dinars"},
        {u"IRR", u"Iran, Rials"},
        {u"ISK", u"Iceland, Kronur"},
        {u"JOD", u"Jordan, Dinars"},
        {u"JPY", u"Japan, Yen"},
        {u"KRW", u"Korea (South), Won"},
        {u"KWD", u"Kuwait, Dinars"},
        {u"LTL", u"Lithuania, Litai"},
        {u"LVL", u"Latvia, Lati"},
        {u"MAD", u"Morocco, Dirhams"},
        {u"MKD", u"Macedonia, Denars"},
        {u"MOP", u"Macau, Patacas"},
        {u"MXN", u"Mexico, Pesos"},
        {u"MYR", u"Malaysia, Ringgits"},
        {u"NOK", u"Norway, Krone"},
        {u"NZD", u"New Zealand, Dollars"},
        {u"PHP", u"Philippines, Pesos"},
        {u"PKR", u"Pakistan, Rupees"},
        {u"PLN", u"Poland, Zlotych"},
        {u"RON", u"Romania, New Lei"},
        {u"RUB", u"Russia, Rubles"},
        {u"SAR", u"Saudi Arabia, Riyals"},
        {u"SEK", u"Sweden, Kronor"},
        {u"SGD", u"Singapore, Dollars"},
        {u"SZL", u"Swaziland, Emalangeni"},
        {u"THB", u"Thailand, Baht"},
        {u"TRY", u"Turkey, New Lira"},
        {u"TWD", u"Taiwan, New Dollars"},
        {u"USD", u"United States, Dollars"},
        {u"ZAR", u"South Africa, Rand"},
    }};
    return table;
}

std::u16string effective_fuel_unit(std::u16string_view stored) {
    if (stored == unit_old_gallon) return unit_us_gallon;
    return std::u16string(stored);
}

int mileage_unit_index(std::u16string_view unit) {
    for (std::size_t i = 0; i < mileage_unit_names.size(); ++i)
        if (mileage_unit_names[i] == unit) return static_cast<int>(i);
    return -1;
}

int fuel_unit_index(std::u16string_view unit) {
    const auto effective = effective_fuel_unit(unit);
    for (std::size_t i = 0; i < fuel_unit_names.size(); ++i)
        if (fuel_unit_names[i] == effective) return static_cast<int>(i);
    return -1;
}

int economy_mode_for_units(std::u16string_view mileage_unit, std::u16string_view fuel_unit) {
    constexpr int miles_per_us_gallon = 0, miles_per_uk_gallon = 1, litres_per_100_km = 2;
    const std::u16string volume = effective_fuel_unit(fuel_unit);
    if (volume == unit_us_gallon) return miles_per_us_gallon;
    if (volume == unit_uk_gallon) return miles_per_uk_gallon;
    return mileage_unit == unit_mile ? miles_per_uk_gallon : litres_per_100_km;
}

std::u16string unit_key_of_shown(std::u16string_view shown) {
    return reverse_tr(shown);
}

int mileage_conversion_direction(std::u16string_view old_unit, std::u16string_view new_unit) {
    if (old_unit == unit_kilometer && new_unit == unit_mile) return 0;
    if (old_unit == unit_mile && new_unit == unit_kilometer) return 1;
    return -1;
}

int volume_to_litres_mode(std::u16string_view old_unit) {
    const auto unit = effective_fuel_unit(old_unit);
    if (unit == unit_us_gallon) return 0;
    if (unit == unit_uk_gallon) return 1;
    return -1;
}

int volume_from_litres_mode(std::u16string_view new_unit) {
    const auto unit = effective_fuel_unit(new_unit);
    if (unit == unit_us_gallon) return 2;
    if (unit == unit_uk_gallon) return 3;
    return -1;
}

double convert_mileage(double value, std::u16string_view from, std::u16string_view to) {
    switch (mileage_conversion_direction(from, to)) {
        case 0:
            return value * km_to_miles;
        case 1:
            return value * miles_to_km;
        default:
            return value;
    }
}

double convert_volume(double value, std::u16string_view from, std::u16string_view to) {
    switch (volume_to_litres_mode(from)) {
        case 0:
            value *= us_gallons_to_litres;
            break;
        case 1:
            value *= uk_gallons_to_litres;
            break;
        default:
            break;
    }
    switch (volume_from_litres_mode(to)) {
        case 2:
            value *= litres_to_us_gallons;
            break;
        case 3:
            value *= litres_to_uk_gallons;
            break;
        default:
            break;
    }
    return value;
}

}  // namespace kelvane
