#include "core/accounts/account_entry.h"

#include "core/common/parse_number.h"
#include "core/common/text.h"
#include "core/common/unit_factors.h"

namespace kelvane {

namespace {

// A volume shown in one unit, as shown in another: through litres, each
// step written with three decimals as the box shows it.
std::u16string convert_shown_volume(std::u16string_view shown, std::u16string_view from,
                                    std::u16string_view to) {
    std::u16string text(shown);
    if (from == unit_us_gallon || from == unit_uk_gallon)
        text = format("%.3f", parse_number(text) * (from == unit_us_gallon ? us_gallons_to_litres
                                                                           : uk_gallons_to_litres));
    if (to == unit_us_gallon || to == unit_uk_gallon)
        text = format("%.3f", parse_number(text) * (to == unit_us_gallon ? litres_to_us_gallons
                                                                         : litres_to_uk_gallons));
    return text;
}

}  // namespace

account_entry account_entry::of(const account_settings& stored) {
    account_entry e;
    e.name = stored.name;
    e.tank_capacity = format("%.2f", stored.tank_capacity);
    e.initial_mileage = format("%.1f", stored.initial_mileage);
    e.initial_fuel = format("%.2f", stored.initial_fuel);
    e.mileage_unit = mileage_unit_index(stored.mileage_unit) >= 0 ? stored.mileage_unit
                                                                  : std::u16string(unit_kilometer);
    const std::u16string volume = effective_fuel_unit(stored.fuel_unit);
    e.fuel_unit = fuel_unit_index(volume) >= 0 ? volume : std::u16string(unit_liter);
    e.economy_mode =
        stored.economy_mode >= 0 && stored.economy_mode < int(economy_unit_names.size())
            ? stored.economy_mode
            : 0;
    e.currency = stored.currency;
    e.year = stored.year;
    e.month = stored.month;
    e.day = stored.day;
    e.note = stored.note;
    return e;
}

void account_entry::change_mileage_unit(std::u16string_view unit) {
    if (mileage_conversion_direction(mileage_unit, unit) >= 0 && !initial_mileage.empty())
        initial_mileage =
            format("%.1f", convert_mileage(parse_number(initial_mileage), mileage_unit, unit));
    mileage_unit = std::u16string(unit);
}

void account_entry::change_fuel_unit(std::u16string_view unit) {
    for (std::u16string* box : {&initial_fuel, &tank_capacity})
        if (!box->empty()) *box = convert_shown_volume(*box, fuel_unit, unit);
    fuel_unit = std::u16string(unit);
}

account_settings account_entry::settings() const {
    account_settings s;
    s.name = name;
    s.tank_capacity = parse_number(tank_capacity);
    s.initial_mileage = parse_number(initial_mileage);
    s.initial_fuel = parse_number(initial_fuel);
    s.mileage_unit = mileage_unit;
    s.fuel_unit = fuel_unit;
    s.economy_mode = economy_mode;
    s.currency = currency;
    s.year = year;
    s.month = month;
    s.day = day;
    s.note = note;
    return s;
}

std::u16string_view account_save_message(account_save_outcome outcome) {
    switch (outcome) {
        case account_save_outcome::saved:
            break;
        case account_save_outcome::empty_name:
            return u"Please enter the name of the vehicle.";
        case account_save_outcome::invalid_name:
            return u"A vehicle name can not be \".\" or \"..\", a device name such as CON, NUL, "
                   u"COM1 or LPT1, end in a dot or a space, or hold \\ / : * ? \" < > | or "
                   u"marks that turn the writing direction.";
        case account_save_outcome::name_taken:
            return u"Another vehicle has this name already. Please choose another name.";
        case account_save_outcome::no_free_slot:
            return u"No more vehicles can be added: there are 100 already.";
        case account_save_outcome::rename_failed:
            return u"Failed! The vehicle could not be renamed and keeps its old name.";
        case account_save_outcome::not_written:
            return u"Failed! The vehicle's files could not be written; nothing was changed.";
    }
    return {};
}

}  // namespace kelvane
