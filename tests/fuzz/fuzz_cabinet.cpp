// A cabinet handed to the application manager: read, then installed into a
// program folder that already holds the program and the owner's data.
#include <map>

#include "fuzz_support.h"
#include "fuzz_target.h"
#include "platform/text_encoding.h"
#include "setup/appmgr/app_manager.h"
#include "setup/cabinet/cabinet.h"

KELVANE_FUZZ_TARGET(cabinet)(const std::uint8_t* data, std::size_t size) {
    using namespace kelvane;
    using namespace kelvane::fuzz;
    memory_file_system fs;
    const std::u16string folder = u"\\Program Files\\Kelvane\\";
    fs.put(folder + u"Kelvane.exe", {1, 2, 3});
    fs.put(folder + u"Config.dat", {4});
    fs.put(folder + u"Car.ful", {5});
    fs.put(folder + u"Trip.tri", {6});
    fs.put(folder + u"Deleted\\Van.ful", {7});
    const auto snapshot = [&] {
        std::map<std::u16string, std::vector<std::uint8_t>> files;
        for (const auto& path : fs.files()) files[path] = fs.bytes(path);
        return files;
    };
    const auto before = snapshot();
    const std::span<const std::uint8_t> cabinet(data, size);
    const install_result result =
        install_cabinet(fs, cabinet, folder, [](std::u16string_view) { return true; });
    auto after = snapshot();

    for (const char16_t* owned : {u"Config.dat", u"Car.ful", u"Trip.tri", u"Deleted\\Van.ful"})
        expect(after[folder + owned] == before.at(folder + owned),
               "an install wrote over the owner's data");
    for (const auto& [path, bytes] : after)
        expect(!path.ends_with(u".install") && !path.ends_with(u".install-old"),
               "an install left a staged file behind");
    if (!result.ok) {
        expect(after == before, "a refused cabinet changed the program folder");
        return 0;
    }
    std::vector<cabinet_file> files;
    std::string error;
    expect(read_cabinet(cabinet, files, error), "an installed cabinet does not read");
    for (const cabinet_file& file : files) {
        std::string name = file.name;
        for (char& c : name)
            if (c == '/') c = '\\';
        expect(after[folder + from_utf8(name)] == file.data,
               "an installed file differs from its entry");
    }
    return 0;
}
