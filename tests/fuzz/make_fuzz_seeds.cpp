// Writes the valid files the fuzz targets start from into
// <folder>/corpus/<target>/: record files of the four stores as the stores
// write them, Config.dat files, language files and a cache made from them, a
// key table, lines and a file of an export, and the package part of a Setup
// file. Run by hand when a format or a target changes:
//   kelvane-fuzz-seeds tests/fuzz

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "core/accounts/configuration.h"
#include "core/exchange/export_import.h"
#include "core/tools/key_table.h"
#include "core/tools/language_table.h"
#include "fuzz_support.h"
#include "setup/setup_layout.h"

namespace fs = std::filesystem;
using namespace kelvane;
using namespace kelvane::fuzz;

namespace {

fs::path root;

void write(const std::string& target, const std::string& name, const std::vector<std::uint8_t>& b) {
    const fs::path folder = root / "corpus" / target;
    fs::create_directories(folder);
    std::ofstream(folder / ("seed-" + name), std::ios::binary)
        .write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

std::vector<std::uint8_t> read_host(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

template <class Store>
typename Store::record_type record(int day, double cost) {
    typename Store::record_type r{};
    if constexpr (std::is_same_v<Store, trip_store>) {
        r.start_year = r.end_year = 2007;
        r.start_month = r.end_month = 3;
        r.start_day = day, r.end_day = day + 3;
        r.use_start_date = r.use_end_date = 1;
        r.start_mileage = 100 * day, r.end_mileage = 100 * day + 500;
        r.use_end_mileage = day % 2;
        set_fixed(r.trip_description, u"Trip " + format("%d", day));
        set_fixed(r.trip_vehicles[0], u"Car");
        set_fixed(r.trip_vehicles[1], u"Van");
    } else {
        r.year = 2007, r.month = 3, r.day = day, r.hour = 8;
        r.mileage = 1000.0 * day;
        if constexpr (std::is_same_v<Store, fuel_store>) {
            r.fuel_cost = cost, r.fuel_purchased = 30, r.fuel_gauge = 45, r.unit_price = 1.25;
            set_fixed(r.fuel_type, u"95");
        } else {
            r.cost = cost;
        }
    }
    return r;
}

template <class Store>
void store_seeds(const std::string& target) {
    const std::u16string name = std::is_same_v<Store, trip_store> ? u"Trip" : u"Car";
    for (int count : {0, 1, 3}) {
        fuzz_device d;
        Store s;
        (void)s.load(data_folder, name, false);
        if constexpr (std::is_same_v<Store, fuel_store>) {
            s.header().tank_capacity = 50;
            set_fixed(s.header().mileage_unit, u"Kilometer");
            set_fixed(s.header().fuel_unit, u"Liter");
            s.header().economy_mode = 2;
        }
        (void)s.save_all();
        for (int i = 0; i < count; ++i) (void)s.add_record(record<Store>(1 + 3 * i, 10 + i));
        write(target, std::to_string(count) + "-records",
              d.fs.bytes(data_folder + name + std::u16string(Store::extension)));
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: kelvane-fuzz-seeds FOLDER (the tests/fuzz folder)\n");
        return 2;
    }
    root = argv[1];
    const fs::path resources = fs::path(argv[1]) / ".." / ".." / "resources";

    store_seeds<fuel_store>("fuel_store");
    store_seeds<service_store>("service_store");
    store_seeds<fee_store>("fee_store");
    store_seeds<trip_store>("trip_store");

    {
        fuzz_device d;
        configuration c;
        (void)c.save_config();
        write("config", "fresh", d.fs.bytes(data_folder + u"Config.dat"));
        (void)c.add_account(u"Car");
        (void)c.add_account(u"Van");
        c.set_current_account(u"Car");
        c.set_language_name(u"French");
        c.set_last_auto_backup(2007, 10, 3);
        (void)c.save_config();
        write("config", "two-accounts", d.fs.bytes(data_folder + u"Config.dat"));
    }

    {
        auto english = read_host(resources / "English.lng");
        auto french = read_host(resources / "French.lng");
        french.resize(std::min<std::size_t>(french.size(), 2048));
        write("language_source", "english", english);
        write("language_source", "french-start", french);
        for (const auto& [name, source] :
             {std::pair{"english", english}, {"french-start", french}}) {
            fuzz_device d;
            d.fs.put(data_folder + u"Language.lng", source);
            language_table t;
            (void)t.load(u"Language");
            write("language_cache", name, d.fs.bytes(data_folder + u"Language.bng"));
        }
    }

    {
        fuzz_device d;
        key_table keys;
        write("key_table", "motorola", keys.to_bytes());
        keys.apply_preset(key_preset::samsung);
        write("key_table", "samsung", keys.to_bytes());
    }

    {
        fuzz_device d;
        fuel_store fuel;
        service_store service;
        fee_store fees;
        for (account_store* s : std::initializer_list<account_store*>{&fuel, &service, &fees}) {
            (void)s->load(data_folder, u"Car", false);
            (void)s->save_all();
            (void)s->load(data_folder, u"Car", false);
        }
        (void)fuel.add_record(record<fuel_store>(1, 40));
        auto job = record<service_store>(2, 99);
        set_fixed(job.description, u"Tyres, front");
        (void)service.add_record(job);
        auto maintenance = record<service_store>(3, 50);
        maintenance.repair_flag = 0;
        maintenance.next_service_mileage = 15000;
        (void)service.add_record(maintenance);
        auto fee = record<fee_store>(4, 15);
        set_fixed(fee.category, u"Toll");
        set_fixed(fee.description, u"Bridge \"north\"");
        (void)fees.add_record(fee);
        export_import exchange(fuel, service, fees);
        const std::u16string out = u"\\My Documents\\out.csv";
        (void)exchange.export_account(out);
        const auto file = d.fs.bytes(out);
        write("csv_file", "export", file);
        std::size_t start = 0;
        int line = 0;
        for (std::size_t i = 0; i + 1 < file.size(); ++i) {
            if (file[i] != '\r') continue;
            write("csv_line", "line-" + std::to_string(line++),
                  {file.begin() + static_cast<std::ptrdiff_t>(start),
                   file.begin() + static_cast<std::ptrdiff_t>(i)});
            start = i + 2;
        }
        const std::string other =
            "2007-3-5,1234.5,Fuel,note,40,1.25,32,0.5,93\n"
            "05.03.2007;x;Fees\r\n\"\",\"\",\"Repair\"";
        write("csv_file", "other-styles", {other.begin(), other.end()});
    }

    {
        // The package part of a Setup file: the language byte, the length
        // field and a small cabinet-like package.
        for (std::uint8_t language : {0, 1}) {
            std::vector<std::uint8_t> part{language, 12, 0, 0, 0};
            for (char c : std::string("MSCF\0\0\0\0abcd", 12))
                part.push_back(static_cast<std::uint8_t>(c));
            part.resize(part.size() + 64, 0);
            write("setup_package", language ? "french" : "english", part);
        }
    }
    return 0;
}
