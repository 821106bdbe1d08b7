// The commands of kelvane-tool over one account's records: the list, and
// adding, changing or deleting one record (found by its key) through what
// the record editors call.

#include "cli/record_commands.h"

#include <ostream>

#include "cli/json_text.h"
#include "cli/text_table.h"
#include "cli/tool_session.h"
#include "core/accounts/account_entry.h"
#include "core/accounts/account_figures.h"
#include "core/accounts/units.h"
#include "core/common/date_text.h"
#include "core/common/messages.h"
#include "core/common/parse_number.h"
#include "core/common/text.h"
#include "core/common/translate.h"
#include "core/records/fee_entry.h"
#include "core/records/fuel_entry.h"
#include "core/records/record_writes.h"
#include "core/records/service_entry.h"
#include "platform/text_encoding.h"

namespace kelvane {

namespace {

std::string date_iso(int year, int month, int day, int hour, int minute, int second) {
    return to_utf8(format("%04d-%02d-%02d %02d:%02d:%02d", year, month, day, hour, minute, second));
}

template <class R>
std::string record_date_iso(const R& r) {
    return date_iso(r.year, r.month, r.day, r.hour, r.minute, r.second);
}

constexpr std::string_view kind_names[] = {"fuel", "repair", "fee"};

std::string_view kind_name(int kind) {
    return kind_names[kind];
}

}  // namespace

int record_commands::find_record(tool_session& s, std::optional<record_kind> only,
                                 record_kind& kind, std::u16string& key) {
    if (args_.positionals().size() != 1) return usage_error("give the record's key");
    if (!is_valid_utf8(args_.positionals()[0])) return usage_error("the key is not valid UTF-8");
    key = from_utf8(args_.positionals()[0]);
    if (auto k = args_.option("--kind")) {
        bool known = false;
        for (int i = 0; i < 3; ++i)
            if (*k == kind_names[i]) only = static_cast<record_kind>(i), known = true;
        if (!known) return usage_error("--kind is fuel, repair or fee");
    }
    std::vector<std::u16string> accounts;
    if (auto a = args_.option("--account")) {
        accounts.push_back(from_utf8(*a));
        if (!s.config().account_exists(accounts.front()))
            return fail("no vehicle account named '" + *a + "'");
    } else {
        accounts = s.config().list_account_names();
    }

    struct match {
        std::u16string account;
        record_kind kind;
    };
    std::vector<match> matches;
    std::u16string unreadable;
    for (const auto& name : accounts) {
        if (s.load_account(name) == load_result::damaged) {
            if (unreadable.empty()) unreadable = name;
            continue;
        }
        const int positions[] = {position_of_key(s.fuel(), key), position_of_key(s.service(), key),
                                 position_of_key(s.fees(), key)};
        for (int k = 0; k < 3; ++k)
            if (positions[k] >= 0 && (!only || *only == static_cast<record_kind>(k)))
                matches.push_back({name, static_cast<record_kind>(k)});
    }
    const std::string quoted = "'" + args_.positionals()[0] + "'";
    if (matches.empty()) {
        std::string where =
            only ? " among the " + std::string(kind_name(int(*only))) + " records" : std::string();
        if (!unreadable.empty())
            where += " (the files of '" + to_utf8(unreadable) + "' could not be read)";
        return fail("no record has the key " + quoted + where + "; nothing was changed");
    }
    if (matches.size() > 1) {
        std::string list;
        for (const auto& m : matches)
            list += (list.empty() ? "" : ", ") + std::string(kind_name(int(m.kind))) + " of '" +
                    to_utf8(m.account) + "'";
        return fail("the key " + quoted + " names " + std::to_string(matches.size()) +
                    " records (" + list + "); choose one with --kind or --account");
    }
    kind = matches.front().kind;
    if (s.load_account(matches.front().account) != load_result::loaded)
        return unreadable_account(matches.front().account);
    return 0;
}

namespace {

// What an update by key did, as the tool's exit code.
int updated(std::ostream& out, std::ostream& err, change_result changed,
            const std::u16string& key) {
    switch (changed) {
        case change_result::done:
            out << to_utf8(key) << '\n';
            return 0;
        case change_result::not_found:
            err << "kelvane-tool: no record has the key '" << to_utf8(key) << "'\n";
            return 1;
        case change_result::write_failed:
            err << "kelvane-tool: the record could not be written to the account's file\n";
            return 1;
    }
    return 1;
}

}  // namespace

int record_commands::edit_fuel(tool_session& s) {
    if (!any_option({"--date", "--mileage", "--cost", "--price", "--quantity", "--gauge", "--type",
                     "--note"}))
        return usage_error("give at least one value to change");
    record_kind kind;
    std::u16string key;
    if (int code = find_record(s, record_kind::fuel, kind, key)) return code;
    fuel_store& store = s.fuel();
    fuel_header& account = store.header();
    fuel_record r = store.record_at(position_of_key(store, key));
    fuel_entry e = fuel_entry::of(r);

    const bool has_price = args_.has("--price"), has_cost = args_.has("--cost"),
               has_quantity = args_.has("--quantity");
    if (!number_text_option("--price", e.unit_price) || !number_text_option("--cost", e.cost) ||
        !number_text_option("--quantity", e.quantity) ||
        !number_text_option("--mileage", e.mileage) ||
        !text_option("--type", fuel_type_length, e.fuel_type) ||
        !text_option("--note", fuel_note_length, e.note))
        return 2;
    if (auto g = args_.option("--gauge")) {
        if (*g == "full") {
            if (account.tank_capacity <= 0)
                return usage_error("the account has no tank capacity; give --gauge as a number");
            e.gauge = fuel_entry::full_tank(account);
        } else if (!number_text_option("--gauge", e.gauge)) {
            return 2;
        }
    }
    // The box the owner did not type in follows the two that were typed in,
    // as in the editor.
    if ((has_price || has_cost) && !has_quantity && parse_number(e.unit_price) == 0)
        return usage_error(
            has_price ? "--price must be above 0 to work out the quantity"
                      : "the fill-up has no price: give --price or --quantity with --cost");
    if (has_cost && has_quantity && !has_price) {
        const double quantity = parse_number(e.quantity);
        if (quantity == 0) return usage_error("--quantity must be above 0 to work out the price");
        e.unit_price = format("%.3f", parse_number(e.cost) / quantity);
    } else if (has_quantity && !(has_price && has_cost)) {
        (void)e.recalculate(fuel_entry::box::quantity);
    } else if ((has_price || has_cost) && !(has_price && has_cost && has_quantity)) {
        (void)e.recalculate(has_cost ? fuel_entry::box::cost : fuel_entry::box::unit_price);
    }
    if (has_price || has_cost || has_quantity || args_.has("--gauge")) {
        const double gauge = parse_number(e.gauge), quantity = parse_number(e.quantity);
        if (gauge < quantity)
            return usage_error(
                "the gauge is below the quantity: the tank cannot hold less than "
                "was bought");
        if (account.tank_capacity > 0 && gauge > account.tank_capacity)
            return usage_error("the gauge is above the tank capacity of " +
                               to_utf8(format("%.2f", account.tank_capacity)));
    }
    local_time when = record_date(r);
    if (!record_date_option(when)) return 2;
    e.apply_to(r, account, when);
    return updated(out_, err_, store.update_record(key, r), key);
}

int record_commands::edit_repair(tool_session& s) {
    if (!any_option({"--date", "--mileage", "--cost", "--description", "--next-service"}))
        return usage_error("give at least one value to change");
    record_kind kind;
    std::u16string key;
    if (int code = find_record(s, record_kind::repair, kind, key)) return code;
    service_store& store = s.service();
    service_record r = store.record_at(position_of_key(store, key));
    service_entry e = service_entry::of(r);
    if (!number_text_option("--mileage", e.mileage) || !number_text_option("--cost", e.cost) ||
        !text_option("--description", service_description_length, e.description))
        return 2;
    // Giving the next service ticks "Maintenance"; a maintenance job stays one.
    if (args_.has("--next-service")) {
        if (!number_text_option("--next-service", e.next_service)) return 2;
        e.maintenance = true;
    }
    local_time when = record_date(r);
    if (!record_date_option(when)) return 2;
    e.apply_to(r, when);
    return updated(out_, err_, store.update_record(key, r), key);
}

int record_commands::edit_fee(tool_session& s) {
    if (!any_option({"--date", "--mileage", "--cost", "--category", "--description"}))
        return usage_error("give at least one value to change");
    record_kind kind;
    std::u16string key;
    if (int code = find_record(s, record_kind::fee, kind, key)) return code;
    fee_store& store = s.fees();
    fee_record r = store.record_at(position_of_key(store, key));
    fee_entry e = fee_entry::of(r);
    if (!number_text_option("--mileage", e.mileage) || !number_text_option("--cost", e.cost) ||
        !text_option("--category", fee_category_length, e.category) ||
        !text_option("--description", fee_description_length, e.description))
        return 2;
    local_time when = record_date(r);
    if (!record_date_option(when)) return 2;
    e.apply_to(r, when);
    return updated(out_, err_, store.update_record(key, r), key);
}

int record_commands::delete_record(tool_session& s) {
    record_kind kind;
    std::u16string key;
    if (int code = find_record(s, std::nullopt, kind, key)) return code;
    change_result deleted = change_result::not_found;
    switch (kind) {
        case record_kind::fuel:
            deleted = s.fuel().delete_record(key);
            break;
        case record_kind::repair:
            deleted = s.service().delete_record(key);
            break;
        case record_kind::fee:
            deleted = s.fees().delete_record(key);
            break;
    }
    switch (deleted) {
        case change_result::done:
            out_ << "Deleted the " << kind_name(int(kind)) << " record " << to_utf8(key) << " of "
                 << to_utf8(s.fuel().account_name()) << '\n';
            return 0;
        case change_result::not_found:
            return fail("no record has the key '" + to_utf8(key) + "'; nothing was changed");
        case change_result::write_failed:
            return fail("the deletion could not be written to the account's file");
    }
    return 1;
}

int record_commands::records(tool_session& s) {
    if (args_.positionals().size() > 1) return usage_error("give at most one account");
    std::u16string name;
    if (!take_account(s, 0, name)) return 1;
    fuel_store& fuel = s.fuel();
    service_store& service = s.service();
    fee_store& fees = s.fees();
    const fuel_header& h = fuel.header();

    if (args_.flag("--json")) {
        out_ << "{\"account\":" << json_string(name)
             << ",\"mileage_unit\":" << json_string(fixed_text(h.mileage_unit))
             << ",\"fuel_unit\":" << json_string(fixed_text(h.fuel_unit))
             << ",\"currency\":" << json_string(fixed_text(h.currency))
             << ",\"economy_mode\":" << h.economy_mode << ",\"fuel\":[";
        for (int i = 0; i < fuel.record_count(); ++i) {
            const auto& r = fuel.record_at(i);
            out_ << (i ? "," : "") << "{\"key\":" << json_string(fixed_text(r.key))
                 << ",\"date\":\"" << record_date_iso(r) << "\""
                 << ",\"mileage\":" << json_number(r.mileage)
                 << ",\"quantity\":" << json_number(r.fuel_purchased)
                 << ",\"gauge\":" << json_number(r.fuel_gauge)
                 << ",\"cost\":" << json_fixed(r.fuel_cost, 2)
                 << ",\"price\":" << json_fixed(r.unit_price, 3)
                 << ",\"type\":" << json_string(fixed_text(r.fuel_type))
                 << ",\"note\":" << json_string(fixed_text(r.note)) << ",\"economy\":"
                 << (i + 1 < fuel.record_count() ? json_fixed(r.economy, 2) : "null") << "}";
        }
        out_ << "],\"repairs\":[";
        for (int i = 0; i < service.record_count(); ++i) {
            const auto& r = service.record_at(i);
            out_ << (i ? "," : "") << "{\"key\":" << json_string(fixed_text(r.key))
                 << ",\"date\":\"" << record_date_iso(r) << "\""
                 << ",\"mileage\":" << json_number(r.mileage)
                 << ",\"cost\":" << json_fixed(r.cost, 2)
                 << ",\"maintenance\":" << (r.repair_flag == 0 ? "true" : "false")
                 << ",\"next_service\":" << json_number(r.next_service_mileage)
                 << ",\"description\":" << json_string(fixed_text(r.description)) << "}";
        }
        out_ << "],\"fees\":[";
        for (int i = 0; i < fees.record_count(); ++i) {
            const auto& r = fees.record_at(i);
            out_ << (i ? "," : "") << "{\"key\":" << json_string(fixed_text(r.key))
                 << ",\"date\":\"" << record_date_iso(r) << "\""
                 << ",\"mileage\":" << json_number(r.mileage)
                 << ",\"cost\":" << json_fixed(r.cost, 2)
                 << ",\"category\":" << json_string(fixed_text(r.category))
                 << ",\"description\":" << json_string(fixed_text(r.description)) << "}";
        }
        out_ << "]}\n";
        return 0;
    }

    const std::u16string economy_unit =
        h.economy_mode >= 0 && h.economy_mode < 4
            ? tr(economy_unit_names[static_cast<std::size_t>(h.economy_mode)])
            : std::u16string();
    out_ << to_utf8(tr(u"Fuel")) << " (" << fuel.record_count() << ")\n";
    if (fuel.record_count()) {
        text_table t({tr(u"Date"), u">" + tr(u"Mileage"), u">" + tr(u"Fuel Purchased"),
                      u">" + tr(u"Fuel Gauge"), u">" + tr(u"Amount"), u">" + tr(u"Fuel Unit Price"),
                      u">" + economy_unit, tr(u"Fuel Type"), tr(u"Description")});
        for (int i = 0; i < fuel.record_count(); ++i) {
            const auto& r = fuel.record_at(i);
            const auto texts = fuel.row_texts(i);
            t.add_row({texts[3], format("%.1f", r.mileage), texts[1], format("%.2f", r.fuel_gauge),
                       format("%.2f", r.fuel_cost), format("%.3f", r.unit_price), texts[2],
                       fixed_text(r.fuel_type), fixed_text(r.note)});
        }
        t.write(out_);
    }
    out_ << '\n' << to_utf8(tr(u"Repair")) << " (" << service.record_count() << ")\n";
    if (service.record_count()) {
        text_table t({tr(u"Date"), u">" + tr(u"Mileage"), tr(u"Item"), u">" + tr(u"Amount"),
                      u">" + tr(u"NextServier"), tr(u"Description")});
        for (int i = 0; i < service.record_count(); ++i) {
            const auto& r = service.record_at(i);
            const auto texts = service.row_texts(i);
            const bool service = r.repair_flag == 0;
            t.add_row({texts[3], format("%.f", r.mileage), tr(service ? u"Maintenance" : u"Repair"),
                       texts[2], service ? format("%.1f", r.next_service_mileage) : u"",
                       fixed_text(r.description)});
        }
        t.write(out_);
    }
    out_ << '\n' << to_utf8(tr(u"Fees")) << " (" << fees.record_count() << ")\n";
    if (fees.record_count()) {
        text_table t({tr(u"Date"), u">" + tr(u"Mileage"), tr(u"Category"), u">" + tr(u"Amount"),
                      tr(u"Description")});
        for (int i = 0; i < fees.record_count(); ++i) {
            const auto& r = fees.record_at(i);
            const auto texts = fees.row_texts(i);
            t.add_row({texts[3], format("%.f", r.mileage), fixed_text(r.category), texts[2],
                       fixed_text(r.description)});
        }
        t.write(out_);
    }
    return 0;
}

int record_commands::read_new_record(tool_session& s, dated_record_prefix& record) {
    if (args_.positionals().size() > 1) return usage_error("give at most one account");
    std::u16string name;
    if (!take_account(s, 0, name)) return 1;
    local_time when = device_clock().now();
    double mileage = s.fuel().header().current_mileage;
    bool given = false;
    if (!date_option("--date", when, given) || !amount_option("--mileage", mileage, given))
        return 2;
    record.year = when.year, record.month = when.month, record.day = when.day;
    record.hour = when.hour, record.minute = when.minute, record.second = when.second;
    record.mileage = mileage;
    return 0;
}

template <class Store>
int record_commands::add_to_store(Store& store, const typename Store::record_type& record) {
    const add_result added = store.add_record(record);
    // A full store was shown to the person by the program's own message.
    if (!added.added()) return 1;
    if (added.write_failed) return fail("the record could not be written to the account's file");
    out_ << to_utf8(added.key) << '\n';
    return 0;
}

int record_commands::add_fuel(tool_session& s) {
    fuel_store::record_type r{};
    if (int code = read_new_record(s, r)) return code;
    fuel_header& h = s.fuel().header();

    double cost = 0, price = 0, quantity = 0, gauge = h.tank_capacity;
    bool has_cost, has_price, has_quantity, has_gauge = false;
    if (!amount_option("--cost", cost, has_cost) || !amount_option("--price", price, has_price) ||
        !amount_option("--quantity", quantity, has_quantity))
        return 2;
    if (auto g = args_.option("--gauge"); g && *g != "full") {
        if (!amount_option("--gauge", gauge, has_gauge)) return 2;
    }
    std::u16string type = fixed_text(h.last_fuel_type), note;
    if (!text_option("--type", 30, type) || !text_option("--note", 50, note)) return 2;

    // Two of price, cost and quantity give the third, as in the fuel editor.
    if (has_price + has_cost + has_quantity < 2)
        return usage_error("give two of --price, --cost and --quantity");
    if (!has_quantity) {
        if (price == 0) return usage_error("--price must be above 0 to work out the quantity");
        quantity = parse_number(format("%.2f", cost / price));
    } else if (!has_cost) {
        cost = parse_number(format("%.2f", price * quantity));
    } else if (!has_price) {
        if (quantity == 0) return usage_error("--quantity must be above 0 to work out the price");
        price = parse_number(format("%.3f", cost / quantity));
    }
    if (!has_gauge) {
        if (h.tank_capacity <= 0)
            return usage_error("the account has no tank capacity; give --gauge as a number");
        gauge = h.tank_capacity;
    }
    if (gauge < quantity)
        return usage_error(
            "--gauge is below --quantity: the tank cannot hold less than was bought");
    if (h.tank_capacity > 0 && gauge > h.tank_capacity)
        return usage_error("--gauge is above the tank capacity of " +
                           to_utf8(format("%.2f", h.tank_capacity)));

    r.fuel_purchased = quantity;
    r.fuel_gauge = gauge;
    r.fuel_cost = cost;
    r.unit_price = price;
    set_fixed(r.fuel_type, type);
    set_fixed(r.note, note);
    // The editor remembers the last price and fuel type in the header.
    h.last_unit_price = price;
    set_fixed(h.last_fuel_type, type);
    return add_to_store(s.fuel(), r);
}

int record_commands::add_repair(tool_session& s) {
    service_store::record_type r{};
    if (int code = read_new_record(s, r)) return code;
    double next = 0;
    bool has_cost, has_next;
    std::u16string description;
    if (!amount_option("--cost", r.cost, has_cost) ||
        !amount_option("--next-service", next, has_next) ||
        !text_option("--description", 50, description))
        return 2;
    if (!has_cost) return usage_error("--cost is needed");
    r.next_service_mileage = has_next ? next : 0;
    r.repair_flag = has_next ? 0 : 1;
    set_fixed(r.description, description);
    return add_to_store(s.service(), r);
}

int record_commands::add_fee(tool_session& s) {
    fee_store::record_type r{};
    if (int code = read_new_record(s, r)) return code;
    bool has_cost;
    std::u16string category, description;
    if (!amount_option("--cost", r.cost, has_cost) || !text_option("--category", 30, category) ||
        !text_option("--description", 50, description))
        return 2;
    if (!has_cost) return usage_error("--cost is needed");
    set_fixed(r.category, category);
    set_fixed(r.description, description);
    return add_to_store(s.fees(), r);
}

}  // namespace kelvane
