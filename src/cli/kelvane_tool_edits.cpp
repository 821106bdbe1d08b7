// The commands of kelvane-tool that change or delete one record, found by
// its key, through what the record editors call.
#include <ostream>

#include "cli/kelvane_tool.h"
#include "cli/tool_session.h"
#include "core/common/parse_number.h"
#include "core/common/text.h"
#include "core/records/fee_entry.h"
#include "core/records/fuel_entry.h"
#include "core/records/record_writes.h"
#include "core/records/service_entry.h"
#include "platform/text_encoding.h"

namespace kelvane {

namespace {

constexpr std::string_view kind_names[] = {"fuel", "repair", "fee"};

std::string_view kind_name(int kind) {
    return kind_names[kind];
}

}  // namespace

int kelvane_tool::find_record(tool_session& s, std::optional<record_kind> only, record_kind& kind,
                              std::u16string& key) {
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

int kelvane_tool::edit_fuel(tool_session& s) {
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

int kelvane_tool::edit_repair(tool_session& s) {
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

int kelvane_tool::edit_fee(tool_session& s) {
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

int kelvane_tool::delete_record(tool_session& s) {
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

}  // namespace kelvane
