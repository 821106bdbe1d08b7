// The options screen: the backup path, the input panel, the last backup, and
// the language of the next start from the language files that come with the
// program.

#include <QCheckBox>
#include <QTreeWidget>

#include "accounts_test_support.h"
#include "core/accounts/program_options.h"
#include "core/tools/language_table.h"
#include "gui/accounts/options_dialog.h"
#include "gui/shell/first_start.h"
#include "gui/tools/folder_chooser.h"
#include "gui/widgets/suggestion_dropdown.h"

namespace kelvane {
namespace {

constexpr char16_t restart_key[] = u"Please restart. The new language will take effect.";

class options_test : public accounts_test {
protected:
    void run(std::function<void(options_dialog&)> work) {
        options_dialog options(*prog);
        modal.then([work](device_dialog& d) { work(dynamic_cast<options_dialog&>(d)); });
        options.exec();
    }

    std::vector<std::u16string> offered(options_dialog& o) {
        focus_in(o.language_box());
        std::vector<std::u16string> texts;
        suggestion_dropdown* list = o.language_box().suggestion_list();
        for (int i = 0; i < list->row_count(); ++i) texts.push_back(list->row_at(i).text);
        return texts;
    }

    // What a new start of the program shows for a key.
    std::u16string next_start_shows(std::u16string_view key) {
        restart();
        for (auto& step : prog->loading_steps()) step();
        return tr(key);
    }
};

TEST_F(options_test, the_backup_path_is_stored_with_its_backslashes) {
    run([](options_dialog& o) {
        EXPECT_EQ(u"\\My Documents\\Kelvane_backup_auto\\", o.backup_box().get_text());
        enter(o.backup_box(), "Backups");
        EXPECT_TRUE(o.apply());
        EXPECT_EQ(u"\\Backups\\", o.backup_box().get_text()) << "the box shows what is stored";
        enter(o.backup_box(), "\\My Documents\\Car");
        o.choose(options_dialog::cmd_ok);
    });
    EXPECT_EQ(u"\\My Documents\\Car\\", prog->config.auto_backup_folder());
    configuration reread;
    (void)reread.load_config();
    EXPECT_EQ(u"\\My Documents\\Car\\", reread.auto_backup_folder());

    // Cancel stores nothing.
    run([](options_dialog& o) {
        enter(o.backup_box(), "Elsewhere");
        o.choose(options_dialog::cmd_cancel);
    });
    EXPECT_EQ(u"\\My Documents\\Car\\", prog->config.auto_backup_folder());
}

TEST_F(options_test, a_bundled_translation_becomes_the_next_start_language_and_english_after_it) {
    // The French translation that comes with the program.
    ASSERT_TRUE(fs.file_exists(data_folder + u"French.lng")) << "installed at first start";
    language_table french;
    (void)french.load(u"French");
    const std::u16string restart_in_french = french.translate(restart_key);
    ASSERT_NE(restart_key, restart_in_french);

    run([&](options_dialog& o) {
        EXPECT_EQ((std::vector<std::u16string>{u"<English>", u"French.lng"}), offered(o));
        EXPECT_TRUE(o.language_box().get_text().empty()) << "English shows the hint";
        o.language_box().suggestion_list()->tap_row(1);
        EXPECT_TRUE(o.apply());
        EXPECT_TRUE(o.apply());
        o.choose(options_dialog::cmd_ok);
    });
    EXPECT_EQ(std::vector<std::u16string>{restart_in_french}, boxes.texts())
        << "once, in the new language";
    EXPECT_EQ(u"Cost", tr(u"Cost")) << "the running program keeps its language";
    EXPECT_EQ(u"French.lng", prog->config.language_name());
    EXPECT_EQ(french.translate(u"Cost"), next_start_shows(u"Cost"));
    EXPECT_NE(u"Cost", next_start_shows(u"Cost"));

    boxes.clear();
    run([&](options_dialog& o) {
        EXPECT_EQ(u"French.lng", o.language_box().get_text());
        ASSERT_EQ(u"<English>", offered(o)[0]);
        o.language_box().suggestion_list()->tap_row(0);
        o.choose(options_dialog::cmd_ok);
    });
    EXPECT_EQ(std::vector<std::u16string>{restart_key}, boxes.texts());
    EXPECT_EQ(u"", prog->config.language_name());
    EXPECT_EQ(u"Cost", next_start_shows(u"Cost"));
    run([](options_dialog& o) {
        EXPECT_TRUE(o.language_box().showing_hint()) << "\"<English>\" again";
    });
}

TEST_F(options_test, a_language_name_that_leaves_the_folder_is_refused) {
    ASSERT_TRUE(prog->config.save_config());
    const auto before = fs.bytes(data_folder + u"Config.dat");
    run([](options_dialog& o) {
        enter(o.language_box(), "..\\..\\Windows\\French.lng");
        EXPECT_FALSE(o.apply());
        enter(o.language_box(), "Klingon.lng");
        EXPECT_FALSE(o.apply());
        o.choose(options_dialog::cmd_ok);
        EXPECT_FALSE(o.ended()) << "Ok applies first";
        o.choose(options_dialog::cmd_cancel);
    });
    EXPECT_EQ(3u, boxes.texts().size());
    EXPECT_EQ(before, fs.bytes(data_folder + u"Config.dat"));
    EXPECT_EQ(u"", prog->config.language_name());
}

TEST_F(options_test, the_last_backup_and_the_input_panel) {
    run([](options_dialog& o) {
        EXPECT_EQ("Last time of auto backup: None", o.last_backup_text());
        EXPECT_FALSE(o.input_panel_box().isChecked());
        o.input_panel_box().setChecked(true);
        o.apply();
    });
    EXPECT_TRUE(prog->config.no_input_panel());
    EXPECT_FALSE(shell_.input_panel_allowed()) << "at once, not at the next start";
    edit_box box;
    focus_in(box);
    EXPECT_FALSE(shell_.input_panel_raised());

    prog->config.set_last_auto_backup(2026, 12, 3);
    run([](options_dialog& o) {
        EXPECT_EQ("Last time of auto backup: 12/03/2026", o.last_backup_text());
        EXPECT_TRUE(o.input_panel_box().isChecked());
    });
}

TEST_F(options_test, the_folder_chooser_fills_the_backup_path_but_stores_nothing) {
    fs.put(u"\\Cards\\Old\\readme.txt", {});
    run([this](options_dialog& o) {
        enter(o.backup_box(), "Cards");
        modal.then([](device_dialog& d) {
            auto& chooser = dynamic_cast<folder_chooser&>(d);
            EXPECT_EQ(u"\\Cards\\", chooser.path_box().get_text()) << "opened at the typed folder";
            EXPECT_TRUE(chooser.default_shown());
            ASSERT_TRUE(chooser.select(u"\\Cards\\Old\\"));
            chooser.choose(folder_chooser::cmd_ok);
        });
        o.choose_backup_folder();
        EXPECT_EQ(u"\\Cards\\Old\\", o.backup_box().get_text());
        o.choose(options_dialog::cmd_cancel);
    });
    EXPECT_EQ(u"\\My Documents\\Kelvane_backup_auto\\", prog->config.auto_backup_folder())
        << "cancelled: nothing stored";
}

}  // namespace
}  // namespace kelvane
