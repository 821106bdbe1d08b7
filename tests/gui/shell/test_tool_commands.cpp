// The main menu's data commands driven as the owner drives them: export and
// import through the file prompt, a trip's export through the trip chooser,
// backup and restore through the folder chooser and their questions, and
// the program's next start after a restore.

#include <QApplication>
#include <QLabel>
#include <QListWidget>
#include <functional>

#include "core/common/messages.h"
#include "core/common/text.h"
#include "gui/records/record_screens_support.h"
#include "gui/shell/main_commands.h"
#include "gui/tools/folder_chooser.h"
#include "gui/tools/text_prompt.h"
#include "gui/trips/trip_picker.h"
#include "gui/widgets/choice_picker.h"
#include "gui/widgets/edit_box.h"
#include "gui/widgets/suggestion_dropdown.h"
#include "gui/widgets/text_label.h"
#include "platform/faulty_file_system.h"

namespace kelvane {
namespace {

// Calls back before every file is read or copied, so that a test can look
// at the screen while the work is under way.
class watched_files : public faulty_file_system {
public:
    using faulty_file_system::faulty_file_system;
    std::function<void()> on_work;
    // Folders below this path cannot be made.
    std::u16string refuse_folders_under;

    std::unique_ptr<device_file> open_read(std::u16string_view p) override {
        if (on_work) on_work();
        return faulty_file_system::open_read(p);
    }
    bool copy_file(std::u16string_view from, std::u16string_view to, bool overwrite) override {
        if (on_work) on_work();
        return faulty_file_system::copy_file(from, to, overwrite);
    }
    // Files below this path cannot be put in place.
    std::u16string refuse_files_under;

    bool create_folder(std::u16string_view p) override {
        if (!refuse_folders_under.empty() && p.starts_with(refuse_folders_under)) return false;
        return faulty_file_system::create_folder(p);
    }
    bool replace_file(std::u16string_view from, std::u16string_view to) override {
        if (!refuse_files_under.empty() && to.starts_with(refuse_files_under)) return false;
        return faulty_file_system::replace_file(from, to);
    }
};

class tool_commands_test : public record_screens_test {
protected:
    // Car1 holds two fill-ups, a repair, a maintenance job and a fee; Van is
    // registered and empty. Car1 is open.
    void two_vehicles() {
        add_vehicle(u"Van");
        add_vehicle(u"Car1");
        (void)prog->trips.load(prog->config.data_folder(), u"Trip", false);
        fuel_record f{};
        f.year = 2026, f.month = 3, f.day = 5, f.hour = 8;
        f.mileage = 1234.5, f.fuel_cost = 40, f.unit_price = 1.25, f.fuel_purchased = 32;
        f.fuel_gauge = 0.5;
        set_fixed(f.fuel_type, u"93");
        set_fixed(f.note, u"Motorway, north");
        ASSERT_TRUE(prog->fuel.add_record(f).added());
        f.day = 20, f.mileage = 1700, f.fuel_cost = 35.5;
        set_fixed(f.note, u"");
        ASSERT_TRUE(prog->fuel.add_record(f).added());
        service_record s{};
        s.year = 2026, s.month = 4, s.day = 1;
        s.mileage = 1800, s.cost = 120, s.repair_flag = 1;
        set_fixed(s.description, u"Brakes");
        ASSERT_TRUE(prog->service.add_record(s).added());
        s.day = 2, s.mileage = 1810, s.cost = 60, s.repair_flag = 0, s.next_service_mileage = 11810;
        set_fixed(s.description, u"Oil");
        ASSERT_TRUE(prog->service.add_record(s).added());
        fee_record e{};
        e.year = 2026, e.month = 4, e.day = 9, e.mileage = 1900, e.cost = 7.5;
        set_fixed(e.category, u"Parking");
        set_fixed(e.description, u"Airport");
        ASSERT_TRUE(prog->fees.add_record(e).added());
    }

    // Every record of an account as its files hold them, one line each, in
    // the fields an export carries.
    std::vector<std::string> records_of(std::u16string_view account) {
        const std::u16string folder = prog->config.data_folder();
        fuel_store fuel;
        service_store service;
        fee_store fees;
        (void)fuel.load(folder, account, false);
        (void)service.load(folder, account, false);
        (void)fees.load(folder, account, false);
        std::vector<std::string> out;
        auto date = [](const auto& r) {
            return format("%d-%d-%d %.1f", r.year, r.month, r.day, r.mileage);
        };
        for (int i = 0; i < fuel.record_count(); ++i) {
            const fuel_record& r = fuel.record_at(i);
            out.push_back(to_utf8(date(r) +
                                  format(" fuel %.2f %.3f %.2f %.2f ", r.fuel_cost, r.unit_price,
                                         r.fuel_purchased, r.fuel_gauge) +
                                  fixed_text(r.fuel_type) + u"|" + fixed_text(r.note)));
        }
        for (int i = 0; i < service.record_count(); ++i) {
            const service_record& r = service.record_at(i);
            out.push_back(to_utf8(date(r) +
                                  format(" service %d %.2f %.1f ", r.repair_flag != 0, r.cost,
                                         r.next_service_mileage) +
                                  fixed_text(r.description)));
        }
        for (int i = 0; i < fees.record_count(); ++i) {
            const fee_record& r = fees.record_at(i);
            out.push_back(to_utf8(date(r) + format(" fee %.2f ", r.cost) + fixed_text(r.category) +
                                  u"|" + fixed_text(r.description)));
        }
        return out;
    }

    // Answers the next text prompt with Ok, first typing the text when one
    // is given; the prompt's title and proposed text are noted.
    void answer_prompt(std::u16string typed = {}) {
        modal.then([this, typed](device_dialog& d) {
            auto& p = dynamic_cast<text_prompt&>(d);
            prompt_title = p.findChild<QLabel*>()->text().toStdU16String();
            proposed = p.box().get_text();
            if (!typed.empty()) p.box().set_text(typed);
            p.choose(text_prompt::cmd_ok);
        });
    }
    // Answers the next folder chooser with Ok on the given folder (or the
    // one it starts at); its start and prompt are noted.
    void answer_chooser(std::u16string folder = {}) {
        modal.then([this, folder](device_dialog& d) {
            auto& c = dynamic_cast<folder_chooser&>(d);
            chooser_start = c.path_box().get_text();
            chooser_prompt = c.findChild<QLabel*>()->text().toStdU16String();
            if (!folder.empty()) c.path_box().set_text(folder);
            c.choose(folder_chooser::cmd_ok);
        });
    }

    // The main screen is the program: after it has ended, the program writes
    // what it holds and a new start reads the files again.
    void end_and_start_again() {
        ASSERT_TRUE(screen_->ended());
        screen_->end_modal();
        screen_.reset();
        prog->save_at_end();
        restart();
        open_main_screen();
    }

    std::u16string output(std::u16string_view name) const {
        return prog->config.data_folder() + u"Output\\" + std::u16string(name) + u".csv";
    }

    std::u16string prompt_title, proposed, chooser_start, chooser_prompt;
    const std::u16string backup = u"\\My Documents\\Kelvane_backup_manual\\";
};

TEST_F(tool_commands_test, export_then_import_through_the_menus_gives_the_same_records) {
    two_vehicles();
    const std::vector<std::string> car1 = records_of(u"Car1");
    ASSERT_EQ(5u, car1.size());
    auto& s = open_main_screen();

    answer_prompt();
    s.choose(cmd::export_account);
    EXPECT_EQ(u"Please enter export file name", prompt_title);
    EXPECT_EQ(output(u"Car1"), proposed);
    ASSERT_TRUE(fs.file_exists(output(u"Car1")));
    EXPECT_TRUE(boxes.boxes().empty()) << "no message follows a written export";

    (void)prog->config.open_account(u"Van");
    fuel().refresh();
    ASSERT_EQ(0, fuel().list().row_count());
    answer_prompt(output(u"Car1"));
    s.choose(cmd::import_records);
    EXPECT_EQ(u"Please enter import file name", prompt_title);
    EXPECT_EQ(output(u"Van"), proposed);
    EXPECT_EQ(std::vector<std::u16string>{u"Format found: Kelvane\n"
                                          u"Fuel purchases imported: 2\n"
                                          u"Repair and maintenance jobs imported: 2\n"
                                          u"Fees imported: 1"},
              boxes.texts());
    EXPECT_EQ(2, fuel().list().row_count()) << "the page on show shows the new records";

    s.choose(cmd::exit);
    end_and_start_again();
    EXPECT_EQ(car1, records_of(u"Van"));
    EXPECT_EQ(car1, records_of(u"Car1")) << "the exported account is untouched";
}

// Another tracker's file whose dates read both ways: the owner is told,
// picks the order, and the file is read again; the last word says which
// layout was found and what came of it.
TEST_F(tool_commands_test, import_of_another_trackers_file_asks_how_to_read_its_dates) {
    add_vehicle(u"Car1");
    auto& s = open_main_screen();
    const std::string file =
        "Date,Description,Cost,Notes,Odometer,Tags\n"
        "3/5/2024,Oil change,$64.99,,\"12,345\",yearly\n";
    fs.put(u"\\My Documents\\service.csv", std::vector<std::uint8_t>(file.begin(), file.end()));
    answer_prompt(u"\\My Documents\\service.csv");
    std::vector<std::u16string> offered;
    modal.then([&](device_dialog& d) {
        auto& picker = dynamic_cast<choice_picker&>(d);
        for (int i = 0; i < picker.list().row_count(); ++i)
            offered.push_back(picker.list().row_at(i).text);
        picker.list().select_row(0);
        save_screenshot(device_screen::current()->snapshot(), "import_date_order");
        EXPECT_TRUE(picker.choose(choice_picker::cmd_ok));
    });
    s.choose(cmd::import_records);
    EXPECT_EQ(
        (std::vector<std::u16string>{u"Day first: 03/05 = 3 May", u"Month first: 03/05 = March 5"}),
        offered);
    ASSERT_EQ(2u, boxes.texts().size());
    EXPECT_NE(std::u16string::npos, boxes.texts()[0].find(u"day first or month first"));
    EXPECT_EQ(
        u"Format found: LubeLogger\n"
        u"Repair and maintenance jobs imported: 1\n"
        u"Tags not carried: 1\n"
        u"Units of the file: Kilometer, Liter (the account's units where the file does not "
        u"say them)",
        boxes.texts()[1]);
    ASSERT_EQ(1, prog->service.record_count());
    EXPECT_EQ(5, prog->service.record_at(0).month);
    EXPECT_EQ(3, prog->service.record_at(0).day);

    // A file in no known layout adds nothing and names the layouts known.
    boxes.clear();
    const std::string unknown = "When,Where\n2024-01-01,Home\n";
    fs.put(u"\\My Documents\\other.csv", std::vector<std::uint8_t>(unknown.begin(), unknown.end()));
    answer_prompt(u"\\My Documents\\other.csv");
    s.choose(cmd::import_records);
    ASSERT_EQ(1u, boxes.texts().size());
    EXPECT_NE(std::u16string::npos, boxes.texts()[0].find(u"LubeLogger, Fuelly, Fuelio, aCar"));
    EXPECT_EQ(1, prog->service.record_count());
}

TEST_F(tool_commands_test, export_and_import_need_an_open_account_and_an_existing_file) {
    auto& s = open_main_screen();
    // A trip's export reads its own vehicles' files and needs no open account.
    for (int command : {cmd::export_account, cmd::import_records}) {
        s.choose(command);
        EXPECT_EQ(std::vector<std::u16string>{msg_open_account}, boxes.texts()) << command;
        boxes.clear();
    }
    EXPECT_EQ(1u, modal.opened().size()) << "only the splash screen: no prompt";

    add_vehicle(u"Car1");
    answer_prompt(u"\\My Documents\\nothing.csv");
    s.choose(cmd::import_records);
    EXPECT_EQ(std::vector<std::u16string>{u"Can't find file!"}, boxes.texts());

    // A cancelled prompt writes nothing.
    boxes.clear();
    modal.then([](device_dialog& d) { d.choose(text_prompt::cmd_cancel); });
    s.choose(cmd::export_account);
    EXPECT_FALSE(fs.file_exists(output(u"Car1")));
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(tool_commands_test, export_trip_writes_the_chosen_trips_records_under_a_writable_name) {
    two_vehicles();
    trip_record t{};
    set_fixed(t.trip_description, u"Spring");
    set_fixed(t.trip_vehicles[0], u"Car1");
    t.use_start_date = 1, t.start_year = 2026, t.start_month = 3, t.start_day = 10;
    ASSERT_TRUE(prog->trips.add_record(t).added());
    set_fixed(t.trip_description, u"North/South: 2026");
    t.use_start_date = 0;
    ASSERT_TRUE(prog->trips.add_record(t).added());
    auto& s = open_main_screen();

    modal.then([](device_dialog& d) {
        auto& picker = dynamic_cast<trip_picker&>(d);
        EXPECT_EQ(0, picker.list().currentRow());
        picker.choose(trip_picker::cmd_ok);
    });
    answer_prompt();
    s.choose(cmd::export_trip);
    EXPECT_EQ(output(u"Spring"), proposed);
    const std::vector<std::uint8_t> bytes = fs.bytes(output(u"Spring"));
    const std::string file(bytes.begin(), bytes.end());
    EXPECT_EQ(std::string::npos, file.find("03/05/2026")) << "before the trip";
    EXPECT_NE(std::string::npos, file.find("\"03/20/2026\",\"1700.0\",\"Fuel\""));
    EXPECT_NE(std::string::npos, file.find("\"Airport\""));

    // A trip named with characters no file name holds is proposed under a
    // name the device can write, inside the Output folder.
    modal.then([](device_dialog& d) {
        auto& picker = dynamic_cast<trip_picker&>(d);
        picker.list().setCurrentRow(1);
        picker.choose(trip_picker::cmd_ok);
    });
    answer_prompt();
    s.choose(cmd::export_trip);
    EXPECT_EQ(output(u"North_South_ 2026"), proposed);
    EXPECT_TRUE(fs.file_exists(proposed));

    // No trip chosen: nothing is asked and nothing written.
    const std::size_t opened = modal.opened().size();
    modal.then([](device_dialog& d) { d.choose(trip_picker::cmd_cancel); });
    s.choose(cmd::export_trip);
    EXPECT_EQ(opened + 1, modal.opened().size());
    EXPECT_TRUE(boxes.boxes().empty());
}

TEST_F(tool_commands_test, backup_then_restore_ends_the_program_and_the_next_start_has_the_backup) {
    two_vehicles();
    trip_record t{};
    set_fixed(t.trip_description, u"Alps");
    set_fixed(t.trip_vehicles[0], u"Car1");
    ASSERT_TRUE(prog->trips.add_record(t).added());
    auto& s = open_main_screen();
    // An edit in the middle of the list waits in memory for the next full
    // write; the backup must hold it.
    fuel_record older = prog->fuel.record_at(0);
    set_fixed(older.note, u"Edited");
    ASSERT_EQ(change_result::done, prog->fuel.update_record(fixed_text(older.key), older));
    const std::vector<std::string> backed_up = records_of(u"Car1");  // before the edit is written
    answer_chooser();
    s.choose(cmd::manual_backup);
    EXPECT_EQ(backup, chooser_start);
    EXPECT_EQ(u"Please select backup location:", chooser_prompt);
    const std::vector<std::u16string> backup_messages{
        u"Do you want to store the backup data at the selected location? If the backup file "
        u"exists, it will be overwritten.",
        u"Backup data is stored in the selected location."};
    EXPECT_EQ(backup_messages, boxes.texts());
    for (const char16_t* name :
         {u"Config.dat", u"Trip.tri", u"Car1.ful", u"Car1.mat", u"Car1.fee", u"Van.ful"})
        EXPECT_TRUE(fs.file_exists(backup + name)) << to_utf8(name);
    EXPECT_EQ(u"Car1", prog->fuel.account_name()) << "the same account goes on";
    EXPECT_EQ(2, fuel().list().row_count());
    EXPECT_NE(backed_up, records_of(u"Car1")) << "the edit was written for the backup";
    const std::vector<std::string> car1 = records_of(u"Car1");

    // After the backup: a trip and a fill-up more, a trip less, and an edit
    // in the middle that the end of the program would write.
    ASSERT_EQ(change_result::done, prog->trips.delete_record_at(0));
    set_fixed(t.trip_description, u"Beach");
    ASSERT_TRUE(prog->trips.add_record(t).added());
    fuel_record later{};
    later.year = 2026, later.month = 5, later.day = 1, later.mileage = 2500;
    ASSERT_TRUE(prog->fuel.add_record(later).added());
    service_record job = prog->service.record_at(0);
    job.cost = 999;
    ASSERT_EQ(change_result::done, prog->service.update_record(fixed_text(job.key), job));

    boxes.clear();
    answer_chooser();
    s.choose(cmd::manual_restore);
    EXPECT_EQ(backup, chooser_start);
    EXPECT_EQ(u"Please select backup data location:", chooser_prompt);
    const std::vector<std::u16string> restore_messages{
        u"Do you want to restore the data from the selected location? The current data will be "
        u"deleted.",
        u"Selected data is restored. Program will exit now. Please restart this program."};
    EXPECT_EQ(restore_messages, boxes.texts());

    end_and_start_again();
    EXPECT_EQ(u"Car1", prog->config.current_account());
    EXPECT_EQ(car1, records_of(u"Car1"));
    EXPECT_EQ(2, prog->fuel.record_count());
    EXPECT_EQ(std::vector<std::u16string>{u"Alps"}, prog->trips.list_descriptions());
}

TEST_F(tool_commands_test, a_backup_that_failed_says_what_happened) {
    two_vehicles();
    watched_files files(fs);
    scoped_services with({&files});
    auto& s = open_main_screen();
    const auto last_message = [&] { return boxes.texts().empty() ? u"" : boxes.texts().back(); };

    files.refuse_folders_under = u"\\Backups";
    answer_chooser(u"\\Backups\\Car\\");
    s.choose(cmd::manual_backup);
    EXPECT_EQ(u"Backup failed: the selected location cannot be created. Nothing was stored.",
              last_message());
    EXPECT_FALSE(fs.folder_exists(u"\\Backups"));

    // The folder is there, but a copied file cannot be put in place: the
    // folder keeps what it held, and so does the data folder when the
    // same happens to a restore, after which the program goes on.
    files.refuse_files_under = backup + u"Car1";
    answer_chooser();
    s.choose(cmd::manual_backup);
    EXPECT_EQ(
        u"Backup failed: the files could not all be written to the selected location. It keeps "
        u"what it held before.",
        last_message());
    EXPECT_FALSE(fs.file_exists(backup + u"Car1.ful"));
    EXPECT_FALSE(s.ended());
    EXPECT_EQ(2, prog->fuel.record_count()) << "the open account is still there";

    files.refuse_files_under.clear();
    answer_chooser();
    s.choose(cmd::manual_backup);
    ASSERT_TRUE(fs.file_exists(backup + u"Car1.ful"));
    const auto car_here = fs.bytes(file_of(u".ful"));
    // The data folder's files cannot be moved aside for the backup's.
    files.refuse_files_under = prog->config.data_folder() + u"Kelvane.old";
    answer_chooser();
    s.choose(cmd::manual_restore);
    EXPECT_EQ(
        u"The backup could not be restored: the files could not all be written. Nothing was "
        u"restored.",
        last_message());
    EXPECT_FALSE(s.ended()) << "the program goes on with its own data";
    EXPECT_EQ(car_here, fs.bytes(file_of(u".ful")));
    files.refuse_files_under.clear();

    // The open account's own files cannot be written before the copy.
    files.refuse_files_under = file_of(u"");
    ASSERT_EQ(change_result::done, prog->fuel.delete_record_at(0));
    fuel().refresh();
    answer_chooser();
    s.choose(cmd::manual_backup);
    const std::vector<std::u16string> not_saved{
        msg_write_failed,
        u"Backup failed: the open account's records could not be written "
        u"first. Nothing was stored."};
    const std::vector<std::u16string> texts = boxes.texts();
    ASSERT_GE(texts.size(), 2u);
    EXPECT_EQ(not_saved, std::vector<std::u16string>(texts.end() - 2, texts.end()));
    EXPECT_EQ(1, prog->fuel.record_count()) << "the change is kept in memory";
    files.refuse_files_under.clear();

    // Answered No, nothing is copied.
    boxes.clear();
    fs.delete_file(backup + u"Config.dat");
    boxes.answer_next(message_answer::no);
    answer_chooser();
    s.choose(cmd::manual_backup);
    EXPECT_EQ(1u, boxes.boxes().size());
    EXPECT_FALSE(fs.file_exists(backup + u"Config.dat"));
}

TEST_F(tool_commands_test, a_restore_from_a_folder_without_its_configuration_is_refused) {
    two_vehicles();
    fs.put(u"\\My Documents\\Photos\\Car1.ful", {1, 2, 3});
    auto& s = open_main_screen();
    answer_chooser(u"\\My Documents\\Photos\\");
    s.choose(cmd::manual_restore);
    EXPECT_EQ(
        u"The selected location holds no backup (Config.dat is missing). Nothing was "
        u"restored.",
        boxes.texts().back());
    EXPECT_FALSE(s.ended()) << "the program goes on with its own data";
    EXPECT_EQ(2, prog->fuel.record_count());
    EXPECT_NE(3u, fs.bytes(file_of(u".ful")).size());

    // Answered No, nothing is restored and the program goes on.
    answer_chooser();
    s.choose(cmd::manual_backup);
    boxes.answer_next(message_answer::no);
    answer_chooser();
    s.choose(cmd::manual_restore);
    EXPECT_FALSE(s.ended());
}

TEST_F(tool_commands_test, a_restore_from_a_damaged_backup_changes_nothing_and_goes_on) {
    two_vehicles();
    fs.put(u"\\My Documents\\Photos\\Config.dat", {1, 2, 3});
    fs.put(u"\\My Documents\\Photos\\Car1.ful", {4, 5, 6});
    auto& s = open_main_screen();
    answer_chooser(u"\\My Documents\\Photos\\");
    s.choose(cmd::manual_restore);
    const std::u16string told = boxes.texts().back();
    EXPECT_NE(std::u16string::npos, told.find(u"Config.dat")) << to_utf8(told);
    EXPECT_FALSE(s.ended()) << "the program goes on with its own data";
    EXPECT_EQ(2, prog->fuel.record_count());
    EXPECT_NE(3u, fs.bytes(file_of(u".ful")).size());
}

TEST_F(tool_commands_test, long_work_shows_a_busy_pointer_and_says_what_it_does) {
    two_vehicles();
    watched_files files(fs);
    scoped_services with({&files});
    auto& s = open_main_screen();
    answer_prompt();
    s.choose(cmd::export_account);

    // What the screen shows while the files are read or copied.
    std::vector<std::u16string> lines;
    bool busy = true;
    files.on_work = [&] {
        busy = busy && QApplication::overrideCursor() &&
               QApplication::overrideCursor()->shape() == Qt::WaitCursor;
        for (text_label* l : s.findChildren<text_label*>(Qt::FindDirectChildrenOnly))
            if (l->isVisible() && (lines.empty() || lines.back() != l->text()))
                lines.push_back(l->text());
    };
    answer_prompt();
    s.choose(cmd::import_records);
    answer_chooser();
    s.choose(cmd::manual_backup);
    answer_chooser();
    s.choose(cmd::manual_restore);
    files.on_work = nullptr;

    EXPECT_TRUE(busy);
    const std::vector<std::u16string> expected{u"Importing records...", u"Storing the backup...",
                                               u"Restoring the backup..."};
    EXPECT_EQ(expected, lines);
    EXPECT_EQ(nullptr, QApplication::overrideCursor()) << "the pointer is plain again";
    EXPECT_TRUE(s.findChildren<text_label*>(Qt::FindDirectChildrenOnly).empty())
        << "the line went with the work";
}

}  // namespace
}  // namespace kelvane
