// The whole way a person installs Kelvane: the built Setup file, the wizard
// in French, the application manager's stand-in, and the installed program
// started on the device root it was installed into.

#include <gtest/gtest.h>
#include <unistd.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/message_box.h"
#include "setup/key_store.h"
#include "setup/qt/desktop_setup_platform.h"
#include "setup/qt/setup_window.h"

using namespace kelvane;
namespace fs = std::filesystem;

namespace {

// The real desktop, except that the manager is waited for and asked not to
// start the program, so the test can look at what it installed.
class waiting_desktop : public desktop_setup_platform {
public:
    using desktop_setup_platform::desktop_setup_platform;
    bool start_program(std::u16string_view program, std::u16string_view parameter) override {
        QProcess manager;
        manager.start(QString::fromStdU16String(std::u16string(program)),
                      {"--no-start", QString::fromStdU16String(std::u16string(parameter))});
        const bool ran = manager.waitForFinished(60000);
        said = manager.readAllStandardError().toStdString();
        return ran && manager.exitStatus() == QProcess::NormalExit && manager.exitCode() == 0;
    }
    std::string said;
};

std::string read_file(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A text as it stands in a UTF-16 little-endian file.
std::string utf16(const std::string& ascii) {
    std::string out;
    for (char c : ascii) out += c, out += '\0';
    return out;
}

}  // namespace

TEST(setup_end_to_end, french_package_installs_kelvane_starting_in_french) {
    const fs::path dir = fs::temp_directory_path() / ("kelvane-e2e-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir / "tmp");
    const fs::path root = dir / "device";
    ASSERT_TRUE(key_store(dir / "registry.ini")
                    .write(application_manager_key, default_value_name, KELVANE_APPMGR));
    const QByteArray saved_root = qgetenv("KELVANE_DEVICE_ROOT");
    qputenv("KELVANE_DEVICE_ROOT", QByteArray::fromStdString(root.string()));

    scripted_message_box boxes;
    waiting_desktop desktop(boxes, dir / "registry.ini");
    desktop.set_own_file(KELVANE_SETUP_FILE);
    desktop.set_temp_folder(dir / "tmp");
    setup_window w(desktop);
    w.show();
    w.language_list()->setCurrentIndex(1);
    w.next_button()->click();
    w.next_button()->click();
    EXPECT_TRUE(boxes.texts().empty());
    EXPECT_TRUE(w.page(setup_wizard::page::finish)->isVisible()) << desktop.said;

    const fs::path folder = root / "Program Files" / "Kelvane";
    for (const char* name : {"Kelvane.exe", "Kelvane.htm", "French.lng", "Language.lng"})
        EXPECT_TRUE(fs::is_regular_file(folder / name)) << name;
    EXPECT_NE(fs::status(folder / "Kelvane.exe").permissions() & fs::perms::owner_exec,
              fs::perms::none);
    // The table the program loads at start is the French one.
    const std::string table = read_file(folder / "Language.lng");
    EXPECT_EQ(table, read_file(folder / "French.lng"));
    EXPECT_NE(table.find(utf16("\r\nFuel@Carburant\r\n")), std::string::npos);

    // The installed program starts on that device root and reads the French
    // table: it leaves the table's cache beside it.
    QProcess kelvane;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("KELVANE_DEVICE_ROOT", QString::fromStdString(root.string()));
    env.insert("QT_QPA_PLATFORM", "offscreen");
    kelvane.setProcessEnvironment(env);
    const QString shot = QString::fromStdString((dir / "shot.png").string());
    kelvane.start(QString::fromStdString((folder / "Kelvane.exe").string()),
                  {"--screenshot", shot});
    ASSERT_TRUE(kelvane.waitForFinished(60000));
    EXPECT_EQ(kelvane.exitCode(), 0) << kelvane.readAllStandardError().toStdString();
    EXPECT_TRUE(fs::is_regular_file(dir / "shot.png"));
    EXPECT_NE(read_file(folder / "Language.bng").find(utf16("Carburant")), std::string::npos);

    if (saved_root.isNull())
        qunsetenv("KELVANE_DEVICE_ROOT");
    else
        qputenv("KELVANE_DEVICE_ROOT", saved_root);
    fs::remove_all(dir);
}
