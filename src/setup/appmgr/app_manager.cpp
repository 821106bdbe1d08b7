#include "setup/appmgr/app_manager.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <system_error>

#include "platform/text_encoding.h"
#include "setup/cabinet/cabinet.h"
#include "setup/ini_text.h"

namespace fs = std::filesystem;

namespace kelvane {

namespace {

constexpr char16_t staged_suffix[] = u".install";
// An installed file the new one replaces waits under this name until every
// new file is in place, so that a failure half way can put it back.
constexpr char16_t replaced_suffix[] = u".install-old";

bool ends_with_ignoring_case(std::string_view s, std::string_view end) {
    return s.size() >= end.size() && equal_ignoring_case(s.substr(s.size() - end.size()), end);
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

bool ends_with_ignoring_case(std::u16string_view s, std::u16string_view end) {
    if (s.size() < end.size()) return false;
    s = s.substr(s.size() - end.size());
    for (std::size_t i = 0; i < s.size(); ++i) {
        char16_t a = s[i], b = end[i];
        if (a >= u'A' && a <= u'Z') a = a - u'A' + u'a';
        if (b >= u'A' && b <= u'Z') b = b - u'A' + u'a';
        if (a != b) return false;
    }
    return true;
}

// Creates the folders of a device path that ends in '\'.
bool make_folders(file_system& device, std::u16string_view folder) {
    for (std::size_t pos = folder.find(u'\\', 1); pos != std::u16string_view::npos;
         pos = folder.find(u'\\', pos + 1)) {
        const auto part = folder.substr(0, pos);
        if (!device.folder_exists(part) && !device.create_folder(part)) return false;
    }
    return true;
}

// True when an entry (with '\' between folders) would write over the
// owner's data in the program folder: the configuration, the trips, the
// key table, a vehicle's record files or the copies kept of damaged ones,
// and the folders of deleted vehicles, exports and the program's own work
// on the data; or over the installer's own working names.
bool names_owner_data(std::string_view name) {
    const std::string_view first = name.substr(0, name.find('\\'));
    if (first.size() < name.size())
        for (std::string_view folder : {"Deleted", "Output", "Kelvane.new", "Kelvane.old"})
            if (equal_ignoring_case(first, folder)) return true;
    for (std::string_view file : {"Config.dat", "Config_key.dat", "Trip.tri"})
        if (equal_ignoring_case(name, file)) return true;
    for (std::string_view end : {".ful", ".mat", ".fee", ".install", ".install-old"})
        if (ends_with_ignoring_case(name, end)) return true;
    std::string lower(name);
    for (char& c : lower)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return lower.find(".unreadable") != std::string::npos;
}

struct planned {
    std::u16string target, staged;
    const cabinet_file* file = nullptr;
};

}  // namespace

bool read_package_description(const fs::path& file, package_description& out, std::string& error) {
    out = {};
    std::ifstream in(file, std::ios::binary);
    if (!in) {
        error = "cannot read the description " + file.string();
        return false;
    }
    const std::string text(std::istreambuf_iterator<char>(in), {});
    const ini_text ini = ini_text::parse(text);
    // The components the description lists, each a section of its own.
    const std::string components = ini.value("CEAppManager", "Component").value_or("");
    std::size_t start = 0;
    while (start <= components.size()) {
        std::size_t end = components.find(',', start);
        if (end == std::string::npos) end = components.size();
        const std::string_view component =
            trimmed(std::string_view(components).substr(start, end - start));
        start = end + 1;
        if (component.empty()) continue;
        if (out.description.empty())
            out.description = ini.value(component, "Description").value_or("");
        const std::string cabs = ini.value(component, "CabFiles").value_or("");
        std::size_t s = 0;
        while (s <= cabs.size()) {
            std::size_t e = cabs.find(',', s);
            if (e == std::string::npos) e = cabs.size();
            const std::string_view cab = trimmed(std::string_view(cabs).substr(s, e - s));
            s = e + 1;
            if (!cab.empty()) out.cabinets.emplace_back(cab);
        }
    }
    if (out.cabinets.empty()) {
        error = "the description " + file.string() + " names no cabinet";
        return false;
    }
    return true;
}

std::optional<fs::path> find_ignoring_case(const fs::path& folder, std::string_view name) {
    std::error_code ec;
    if (fs::is_regular_file(folder / name, ec)) return folder / name;
    std::optional<fs::path> found;
    for (const auto& entry : fs::directory_iterator(folder, ec)) {
        const std::string candidate = entry.path().filename().string();
        if (equal_ignoring_case(candidate, name) && entry.is_regular_file(ec)) {
            // Of two that differ only in case, take the first by name, every time.
            if (!found || candidate < found->filename().string()) found = entry.path();
        }
    }
    return found;
}

bool entry_stays_inside(std::string_view name) {
    if (name.empty()) return false;
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t end = name.find_first_of("\\/", start);
        if (end == std::string_view::npos) end = name.size();
        const std::string_view part = name.substr(start, end - start);
        if (part.empty() || part == "." || part == "..") return false;
        for (const char c : part)
            if (static_cast<unsigned char>(c) < 0x20 || c == ':') return false;
        start = end + 1;
    }
    return true;
}

install_result install_cabinet(file_system& device, std::span<const std::uint8_t> cabinet,
                               std::u16string_view program_folder,
                               const std::function<bool(std::u16string_view)>& mark_executable) {
    install_result result;
    std::vector<cabinet_file> files;
    std::string error;
    if (!read_cabinet(cabinet, files, error)) {
        result.message = "the cabinet is " + error + "; nothing was installed";
        return result;
    }
    std::vector<planned> plan;
    std::vector<std::string> names;
    for (const auto& file : files) {
        // Names are UTF-8; two names that are not could both come out as one
        // file name, and either would win.
        if (!is_valid_utf8(file.name)) {
            result.message =
                "the cabinet holds an entry whose name is no UTF-8 text; nothing "
                "was installed";
            return result;
        }
        if (!entry_stays_inside(file.name)) {
            result.message = "the cabinet holds the entry \"" + file.name +
                             "\", which would leave the program folder; nothing was installed";
            return result;
        }
        std::string name = file.name;
        for (auto& c : name)
            if (c == '/') c = '\\';
        // Two entries for one file (the device ignores case) would leave
        // either one in place, depending on the order of moving.
        for (const auto& seen : names) {
            if (equal_ignoring_case(seen, name)) {
                result.message =
                    "the cabinet holds \"" + file.name + "\" twice; nothing was installed";
                return result;
            }
        }
        // The owner's data is never a package's to replace; a package that
        // would is refused before anything is written.
        if (names_owner_data(name)) {
            result.message = "the cabinet holds the entry \"" + file.name +
                             "\", which would replace the owner's data; nothing was installed";
            return result;
        }
        names.push_back(name);
        const std::u16string relative = from_utf8(name);
        planned p;
        p.target = std::u16string(program_folder) + relative;
        p.staged = p.target + staged_suffix;
        p.file = &file;
        plan.push_back(std::move(p));
    }

    // Every file is written beside its target first, into a file made new
    // (whatever has its name, a link above all, is removed, never written
    // through); a failure removes what was staged and leaves the installed
    // files alone.
    std::vector<std::u16string> staged;
    const auto give_up = [&](const std::u16string& path) {
        for (const auto& s : staged) device.delete_file(s);
        result.message = "cannot write " + to_utf8(path) + "; nothing was installed";
        return result;
    };
    for (const auto& p : plan) {
        if (!make_folders(device, parent_folder(p.target) + u'\\')) return give_up(p.target);
        device.delete_file(p.staged);
        auto out = device.create_new(p.staged);
        if (!out) return give_up(p.staged);
        staged.push_back(p.staged);
        const auto& data = p.file->data;
        const bool written = data.empty() || out->write(data.data(), data.size()) == data.size();
        if (!out->close() || !written) return give_up(p.staged);
        const bool program = p.file->executable || ends_with_ignoring_case(p.target, u".exe");
        if (program && mark_executable && !mark_executable(p.staged)) return give_up(p.target);
        if (program && !result.program) result.program = p.target;
    }
    // Each installed file steps aside before the new one takes its place;
    // when a move fails, the files moved so far go back, newest first.
    struct moved {
        const planned* p;
        bool had_old;
    };
    std::vector<moved> done;
    const auto aside = [](const planned& p) { return p.target + replaced_suffix; };
    for (const auto& p : plan) {
        device.delete_file(aside(p));
        const bool had_old = device.file_exists(p.target);
        bool ok = !had_old || device.replace_file(p.target, aside(p));
        if (ok && !device.replace_file(p.staged, p.target)) {
            if (had_old) device.replace_file(aside(p), p.target);
            ok = false;
        }
        if (!ok) {
            for (auto it = done.rbegin(); it != done.rend(); ++it) {
                device.delete_file(it->p->target);
                if (it->had_old) device.replace_file(aside(*it->p), it->p->target);
            }
            for (const auto& q : plan) device.delete_file(q.staged);
            result.message = "cannot put " + to_utf8(p.target) +
                             " in place; the installed program was kept as it was";
            result.program.reset();
            return result;
        }
        done.push_back({&p, had_old});
    }
    for (const auto& m : done) {
        if (m.had_old) device.delete_file(aside(*m.p));
        result.files.push_back(m.p->target);
    }
    // A cache beside a new language file would still be loaded in its place.
    for (const auto& p : plan) {
        if (!ends_with_ignoring_case(p.target, u".lng")) continue;
        std::u16string cache = p.target;
        cache.replace(cache.size() - 3, 3, u"bng");
        const bool shipped = std::any_of(plan.begin(), plan.end(),
                                         [&](const planned& q) { return q.target == cache; });
        if (!shipped && device.file_exists(cache)) device.delete_file(cache);
    }
    result.ok = true;
    return result;
}

}  // namespace kelvane
