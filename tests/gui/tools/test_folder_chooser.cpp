// The folder chooser and the text prompt on the device's file system.

#include <QTemporaryDir>
#include <QTreeWidget>
#include <filesystem>

#include "gui/gui_test_support.h"
#include "gui/tools/folder_chooser.h"
#include "gui/tools/text_prompt.h"
#include "gui/widgets/edit_box.h"
#include "platform/host_file_system.h"

namespace kelvane {
namespace {

class folder_chooser_test : public gui_test {
protected:
    void SetUp() override {
        fs.put(u"\\My Documents\\van.csv", {});
        fs.put(u"\\My Documents\\notes.txt", {});
        fs.put(u"\\My Documents\\Trips\\spring.csv", {});
        fs.put(u"\\Program Files\\Kelvane\\Config.dat", {});
    }

    // Runs a chooser with the owner's work; the chosen path, empty when dismissed.
    std::u16string choose(folder_chooser::options o, std::function<void(folder_chooser&)> work) {
        modal.then([work](device_dialog& d) { work(dynamic_cast<folder_chooser&>(d)); });
        return choose_folder(prog->skin, std::move(o));
    }
    static folder_chooser::options folder_at(std::u16string path) {
        folder_chooser::options o;
        o.start_path = std::move(path);
        return o;
    }
    static folder_chooser::options file_at(std::u16string path) {
        folder_chooser::options o;
        o.start_path = std::move(path);
        o.file_mode = true;
        o.extension = u".csv";
        return o;
    }
    static std::vector<std::u16string> children(QTreeWidgetItem* item) {
        std::vector<std::u16string> names;
        for (int i = 0; i < item->childCount(); ++i)
            names.push_back(item->child(i)->text(0).toStdU16String());
        return names;
    }
};

TEST_F(folder_chooser_test, opens_at_its_start_folder_and_follows_the_tree) {
    const auto chosen = choose(folder_at(u"\\My Documents\\"), [](folder_chooser& c) {
        EXPECT_EQ(u"\\My Documents\\", c.path_box().get_text());
        QTreeWidgetItem* current = c.tree().currentItem();
        ASSERT_TRUE(current);
        EXPECT_EQ("My Documents", current->text(0));
        EXPECT_TRUE(current->isExpanded());
        EXPECT_EQ(std::vector<std::u16string>{u"Trips"}, children(current))
            << "folders only, the whole tree at once";
        EXPECT_FALSE(c.default_shown());

        c.tree().setCurrentItem(c.tree().topLevelItem(0));
        EXPECT_EQ(u"\\", c.path_box().get_text()) << "the root";
        ASSERT_TRUE(c.select(u"\\My Documents\\Trips\\"));
        EXPECT_EQ(u"\\My Documents\\Trips\\", c.path_box().get_text());
        c.choose(folder_chooser::cmd_ok);
    });
    EXPECT_EQ(u"\\My Documents\\Trips\\", chosen);

    EXPECT_EQ(u"", choose(folder_at(u"\\My Documents\\"),
                          [](folder_chooser& c) { c.choose(folder_chooser::cmd_cancel); }))
        << "dismissed";
}

TEST_F(folder_chooser_test, a_start_folder_that_is_missing_is_made_and_listed) {
    choose(folder_at(u"\\My Documents\\Kelvane\\New\\"), [](folder_chooser& c) {
        ASSERT_TRUE(c.tree().currentItem());
        EXPECT_EQ("New", c.tree().currentItem()->text(0));
    });
    EXPECT_TRUE(fs.folder_exists(u"\\My Documents\\Kelvane\\New"));
}

TEST_F(folder_chooser_test, file_mode_lists_the_extension_and_completes_the_name) {
    auto with_name = [&](std::u16string start, const QString& typed) {
        return choose(file_at(std::move(start)), [&](folder_chooser& c) {
            if (!typed.isNull()) {
                focus_in(c.name_box());
                c.name_box().selectAll();
                type(c.name_box(), typed);
            }
            c.choose(folder_chooser::cmd_ok);
        });
    };
    EXPECT_EQ(u"\\My Documents\\Van.csv", with_name(u"\\My Documents\\", "van"));
    EXPECT_EQ(u"\\My Documents\\VAN.CSV", with_name(u"\\My Documents\\", "VAN.CSV"))
        << "no second extension";
    EXPECT_EQ(u"\\My Documents\\Export.csv", with_name(u"\\My Documents\\Export.csv", QString()))
        << "the start path's name";
    EXPECT_EQ(u"\\My Documents\\.csv.csv", with_name(u"\\My Documents\\", ".csv"))
        << "the extension alone is no name";

    choose(file_at(u"\\My Documents\\"), [](folder_chooser& c) {
        std::vector<std::u16string> listed;
        QTreeWidgetItem* docs = c.tree().currentItem();
        ASSERT_TRUE(docs);
        EXPECT_EQ((std::vector<std::u16string>{u"Trips", u"van.csv"}), children(docs));
        c.tree().setCurrentItem(docs->child(1));
        EXPECT_EQ(u"van.csv", c.name_box().get_text()) << "a tapped file names the file";
        EXPECT_EQ(u"\\My Documents\\", c.path_box().get_text());
    });
}

TEST_F(folder_chooser_test, an_empty_file_name_keeps_the_chooser_open) {
    bool stayed = false;
    const auto chosen = choose(file_at(u"\\My Documents\\"), [&](folder_chooser& c) {
        c.choose(folder_chooser::cmd_ok);
        stayed = !c.ended();
    });
    EXPECT_TRUE(stayed);
    EXPECT_EQ(std::vector<std::u16string>{u"File name can not be empty."}, boxes.texts());
    EXPECT_EQ(u"", chosen);
}

TEST_F(folder_chooser_test, default_goes_to_the_automatic_backup_folder) {
    folder_chooser::options o = folder_at(u"\\");
    o.default_allowed = true;
    const auto chosen = choose(o, [](folder_chooser& c) {
        EXPECT_TRUE(c.default_shown());
        c.choose_default();
        ASSERT_TRUE(c.tree().currentItem());
        EXPECT_EQ("Kelvane_backup_auto", c.tree().currentItem()->text(0));
        c.choose(folder_chooser::cmd_ok);
    });
    EXPECT_EQ(u"\\My Documents\\Kelvane_backup_auto\\", chosen);
    EXPECT_TRUE(fs.folder_exists(u"\\My Documents\\Kelvane_backup_auto"));
}

TEST_F(folder_chooser_test, the_storage_card_is_read_as_it_is_opened) {
    QTemporaryDir root, home;
    std::filesystem::create_directories(home.path().toStdString() + "/Exports/2026");
    std::filesystem::create_directories(home.path().toStdString() + "/.cache/deep");
    host_file_system host(root.path().toStdString(), home.path().toStdString());
    scoped_services on_host({&host});
    const auto chosen = choose(folder_at(u"\\"), [](folder_chooser& c) {
        QTreeWidgetItem* root_item = c.tree().topLevelItem(0);
        ASSERT_EQ(std::vector<std::u16string>{u"Storage Card"}, children(root_item));
        QTreeWidgetItem* card = root_item->child(0);
        EXPECT_EQ(0, card->childCount()) << "nothing of the home folder read yet";
        ASSERT_TRUE(c.select(u"\\Storage Card\\Exports\\2026\\"));
        EXPECT_EQ(std::vector<std::u16string>{u"Exports"}, children(card)) << "no hidden folders";
        c.choose(folder_chooser::cmd_ok);
    });
    EXPECT_EQ(u"\\Storage Card\\Exports\\2026\\", chosen);
}

// Two folders linking back to their parent make a tree that doubles at
// every level: read whole at open, it would never open.
TEST_F(folder_chooser_test, folders_linking_back_to_their_parent_open_level_by_level) {
    QTemporaryDir root;
    const std::filesystem::path top = root.path().toStdString();
    std::filesystem::create_directories(top / "My Documents");
    for (const char* name : {"Back", "Again"})
        std::filesystem::create_directory_symlink(top / "My Documents",
                                                  top / "My Documents" / name);
    host_file_system host(top);
    scoped_services on_host({&host});
    std::u16string deep = u"\\My Documents\\";
    for (int i = 0; i < 20; ++i) deep += u"Again\\";
    const auto chosen = choose(folder_at(u"\\"), [&](folder_chooser& c) {
        ASSERT_TRUE(c.select(deep)) << "the loop is followed as far as the owner opens it";
        c.choose(folder_chooser::cmd_ok);
    });
    EXPECT_EQ(deep, chosen);
}

class text_prompt_test : public folder_chooser_test {
protected:
    std::u16string ask(text_prompt::options o, std::function<void(text_prompt&)> work) {
        modal.then([work](device_dialog& d) { work(dynamic_cast<text_prompt&>(d)); });
        return prompt_for_text(prog->skin, std::move(o));
    }
};

TEST_F(text_prompt_test, ok_hands_back_the_text_and_cancel_nothing) {
    text_prompt::options o;
    o.prompt = u"File:";
    o.initial_text = u"\\My Documents\\Van.csv";
    EXPECT_EQ(u"\\My Documents\\Van.csv",
              ask(o, [](text_prompt& p) { p.choose(text_prompt::cmd_ok); }));
    EXPECT_EQ(u"", ask(o,
                       [](text_prompt& p) {
                           p.box().set_text(u"\\My Documents\\Other.csv");
                           p.choose(text_prompt::cmd_cancel);
                       }))
        << "cancelled, even with text typed";
    o.no_browse = true;
    ask(o, [](text_prompt& p) { EXPECT_FALSE(p.browse_shown()); });
}

TEST_F(text_prompt_test, browsing_starts_the_chooser_at_the_typed_path) {
    text_prompt::options o;
    o.initial_text = u"My Documents";
    const auto text = ask(o, [this](text_prompt& p) {
        modal.then([](device_dialog& d) {
            auto& chooser = dynamic_cast<folder_chooser&>(d);
            EXPECT_EQ(u"\\My Documents\\", chooser.path_box().get_text());
            chooser.choose(folder_chooser::cmd_ok);
        });
        p.browse();
        p.choose(text_prompt::cmd_ok);
    });
    EXPECT_EQ(u"\\My Documents\\", text);

    o.extension = u".csv";
    o.initial_text = u"\\My Documents\\trip";
    EXPECT_EQ(u"\\My Documents\\trip.csv", ask(o, [this](text_prompt& p) {
                  modal.then([](device_dialog& d) {
                      dynamic_cast<folder_chooser&>(d).choose(folder_chooser::cmd_ok);
                  });
                  p.browse();
                  p.choose(text_prompt::cmd_ok);
              }));
}

}  // namespace
}  // namespace kelvane
