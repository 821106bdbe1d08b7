// The account editor on its own: live unit conversion, the calculator, the
// currency suggestions, refusals that keep it open, and the keys.

#include <QApplication>
#include <QComboBox>
#include <QFontInfo>
#include <QFontMetrics>
#include <QLabel>

#include "accounts_test_support.h"
#include "core/accounts/configuration.h"
#include "core/tools/language_table.h"
#include "gui/tools/calculator_dialog.h"
#include "gui/widgets/date_picker.h"
#include "gui/widgets/skin_button.h"
#include "gui/widgets/suggestion_dropdown.h"

namespace kelvane {
namespace {

class account_editor_test : public accounts_test {
protected:
    account_edit_stores stores() { return {prog->fuel, prog->service, prog->fees, prog->trips}; }

    void add(std::u16string_view name, std::u16string_view fuel_unit = u"Liter") {
        account_settings s;
        s.name = name;
        s.fuel_unit = fuel_unit;
        s.initial_mileage = 1000;
        s.initial_fuel = 10;
        s.tank_capacity = 50;
        ASSERT_EQ(account_save_outcome::saved,
                  save_account_edit(prog->config, stores(), {}, s).outcome);
    }

    // Runs the editor on an account (or a new one) with the owner's work.
    std::u16string run(account_editor::mode m, std::u16string_view name,
                       std::function<void(account_editor&)> work) {
        account_editor editor(*prog, m, read_account_settings(prog->config, name));
        in_editor(std::move(work));
        editor.exec();
        return editor.resulting_name();
    }

    std::map<std::u16string, std::vector<std::uint8_t>> disk() {
        std::map<std::u16string, std::vector<std::uint8_t>> all;
        for (const auto& f : fs.files()) all[f] = fs.bytes(f);
        return all;
    }
};

TEST_F(account_editor_test, on_large_screens_labels_and_rows_grow_with_their_text) {
    add(u"Car");
    for (auto [w, h] : {std::pair{480, 640}, std::pair{1024, 768}, std::pair{240, 320}}) {
        screen.set_screen_size(w, h);
        run(account_editor::mode::edit, u"Car", [&](account_editor& e) {
            QApplication::processEvents();
            std::vector<QRect> rows;
            for (QLabel* label : e.findChildren<QLabel*>()) {
                if (!label->isVisibleTo(&e) || !label->text().endsWith(':')) continue;
                EXPECT_GE(label->height(), QFontMetrics(label->font()).height())
                    << label->text().toStdString() << " cut at " << w << "x" << h;
                for (const QRect& other : rows)
                    EXPECT_FALSE(other.intersects(label->geometry()))
                        << label->text().toStdString() << " overlaps at " << w << "x" << h;
                rows.push_back(label->geometry());
            }
            EXPECT_EQ(10u, rows.size());
            e.choose(account_editor::cmd_cancel);
        });
    }
}

// Whether a label shows its whole text: on one line, or broken between words.
bool reads_whole(const QLabel& label) {
    const QFontMetrics metrics(label.font());
    const QRect room = label.contentsRect();
    if (!label.wordWrap()) return metrics.horizontalAdvance(label.text()) <= room.width();
    for (const QString& word : label.text().split(u' ', Qt::SkipEmptyParts))
        if (metrics.horizontalAdvance(word) > room.width()) return false;
    const QRect lines =
        metrics.boundingRect(QRect(0, 0, room.width(), 10000), Qt::TextWordWrap, label.text());
    return lines.height() <= room.height();
}

TEST_F(account_editor_test, every_text_box_and_button_stands_whole_and_apart_at_every_size) {
    add(u"Car", u"UK Gallon");  // the longest unit there is in French
    language_table french;
    ASSERT_EQ(load_result::loaded, french.load(u"French"));
    for (const text_translator* language :
         {services().translator, static_cast<const text_translator*>(&french)}) {
        scoped_translator in_language(language);
        for (auto [w, h] :
             {std::pair{240, 320}, std::pair{240, 240}, std::pair{320, 240}, std::pair{480, 640}}) {
            screen.set_screen_size(w, h);
            const std::string where = std::to_string(w) + "x" + std::to_string(h) +
                                      (language == &french ? " French" : "");
            run(account_editor::mode::edit, u"Car", [&](account_editor& e) {
                enter(e.mileage_box(), "9876543.2");
                QApplication::processEvents();
                QWidget* form = e.name_box().parentWidget();
                // Nothing lies beyond the right edge: the form scrolls only downwards.
                EXPECT_LE(form->width(), form->parentWidget()->width()) << where;
                std::vector<QWidget*> shown;
                for (QWidget* c : form->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
                    if (c->isVisibleTo(&e)) shown.push_back(c);
                EXPECT_EQ(10u + 10 + 3 + 4 + 3, shown.size())
                    << "labels, fields, units, tools, buttons";
                for (std::size_t i = 0; i < shown.size(); ++i) {
                    const QRect r = shown[i]->geometry();
                    EXPECT_TRUE(form->rect().contains(r)) << where;
                    for (std::size_t j = 0; j < i; ++j)
                        EXPECT_FALSE(r.intersects(shown[j]->geometry()))
                            << where << ": " << shown[i]->metaObject()->className() << " over "
                            << shown[j]->metaObject()->className();
                    if (auto* label = qobject_cast<QLabel*>(shown[i])) {
                        EXPECT_TRUE(reads_whole(*label))
                            << label->text().toStdString() << " cut at " << where;
                    }
                }
                edit_box& mileage = e.mileage_box();
                EXPECT_LE(QFontMetrics(mileage.font()).horizontalAdvance(mileage.text()),
                          mileage.contentsRect().width())
                    << "a whole mileage at " << where;
                e.choose(account_editor::cmd_cancel);
            });
        }
    }
}

TEST_F(account_editor_test, a_screen_that_grows_while_the_editor_is_open_grows_its_rows_and_text) {
    run(account_editor::mode::add, {}, [this](account_editor& e) {
        QApplication::processEvents();
        const int row = e.name_box().height();
        const int text = QFontInfo(e.mileage_units().font()).pixelSize();
        screen.set_screen_size(480, 640);
        QApplication::processEvents();
        EXPECT_GT(e.name_box().height(), row);
        EXPECT_GT(QFontInfo(e.mileage_units().font()).pixelSize(), text);
        EXPECT_LE(e.delete_button().parentWidget()->width(), screen.width());
        e.choose(account_editor::cmd_cancel);
    });
}

TEST_F(account_editor_test, tab_moves_through_the_texts_then_the_numbers_then_units_and_date) {
    run(account_editor::mode::add, {}, [](account_editor& e) {
        const std::vector<QWidget*> expected{
            &e.name_box(), &e.currency_box(),  &e.note_box(),   &e.mileage_box(),   &e.fuel_box(),
            &e.tank_box(), &e.mileage_units(), &e.fuel_units(), &e.economy_units(), &e.date()};
        std::vector<QWidget*> order;
        QWidget* w = &e.name_box();
        do {
            if (std::find(expected.begin(), expected.end(), w) != expected.end())
                order.push_back(w);
            w = w->nextInFocusChain();
        } while (w != &e.name_box());
        EXPECT_EQ(expected, order);
        e.choose(account_editor::cmd_cancel);
    });
}

TEST_F(account_editor_test, numbers_follow_the_units_while_editing) {
    add(u"Car", u"Gallon");  // as older versions stored the US gallon
    run(account_editor::mode::edit, u"Car", [](account_editor& e) {
        EXPECT_EQ(1, e.fuel_units().currentIndex()) << "\"Gallon\" is the US gallon";
        EXPECT_EQ(u"10.00", e.fuel_box().get_text());
        EXPECT_EQ(u"50.00", e.tank_box().get_text());

        e.fuel_units().setCurrentIndex(2);
        EXPECT_EQ(u"8.326", e.fuel_box().get_text()) << "through 37.850 litres";
        EXPECT_EQ(u"41.630", e.tank_box().get_text());
        EXPECT_EQ("UK Gallon", e.fuel_unit_label());
        e.fuel_units().setCurrentIndex(1);
        EXPECT_EQ(u"10.000", e.fuel_box().get_text());
        EXPECT_EQ(u"50.000", e.tank_box().get_text());
        e.fuel_units().setCurrentIndex(0);
        EXPECT_EQ(u"37.850", e.fuel_box().get_text());

        e.mileage_units().setCurrentIndex(1);
        EXPECT_EQ(u"621.4", e.mileage_box().get_text());
        EXPECT_EQ("Mile", e.mileage_unit_label());
        e.mileage_units().setCurrentIndex(0);
        EXPECT_EQ(u"1000.0", e.mileage_box().get_text());
    });
    EXPECT_EQ(u"Gallon",
              fixed_text(fuel_store::read_account_header(data_folder, u"Car").header.fuel_unit))
        << "nothing is written before a save";
}

TEST_F(account_editor_test, a_new_accounts_economy_unit_follows_its_units_until_chosen) {
    run(account_editor::mode::add, {}, [](account_editor& e) {
        EXPECT_EQ("Liter/100Km", e.economy_units().currentText()) << "Kilometer and Liter";
        e.mileage_units().setCurrentIndex(1);
        e.fuel_units().setCurrentIndex(1);
        EXPECT_EQ("Mile/US Gallon", e.economy_units().currentText());
        e.fuel_units().setCurrentIndex(2);
        EXPECT_EQ("Mile/UK Gallon", e.economy_units().currentText());
        // Once the owner picks one, it stays whatever the units.
        e.economy_units().setFocus();
        key(e.economy_units(), Qt::Key_Down);
        ASSERT_EQ("Liter/100Km", e.economy_units().currentText());
        e.mileage_units().setCurrentIndex(0);
        e.fuel_units().setCurrentIndex(1);
        EXPECT_EQ("Liter/100Km", e.economy_units().currentText());
        type(e.name_box(), "Van");
        e.choose(account_editor::cmd_save);
    });
    EXPECT_EQ(2, fuel_store::read_account_header(data_folder, u"Van").header.economy_mode);
}

TEST_F(account_editor_test, the_calculator_buttons_work_on_their_own_boxes) {
    add(u"Car");
    const auto result = run(account_editor::mode::edit, u"Car", [this](account_editor& e) {
        modal.then([](device_dialog& d) {
            auto& calc = dynamic_cast<calculator_dialog&>(d);
            EXPECT_EQ(u"50.00", calc.display());
            for (char16_t k : std::u16string_view(u"+3=")) calc.press(k);
        });
        e.calculator_button(e.tank_box()).click();
        EXPECT_EQ(u"53.00", e.tank_box().get_text());

        modal.then([](device_dialog& d) {
            auto& calc = dynamic_cast<calculator_dialog&>(d);
            for (char16_t k : std::u16string_view(u"8/0=")) calc.press(k);
        });
        e.calculator_button(e.fuel_box()).click();
        EXPECT_EQ(u"10.00", e.fuel_box().get_text()) << "a message is never written into a box";
        EXPECT_EQ(u"1000.0", e.mileage_box().get_text()) << "the other boxes keep theirs";
        e.choose(account_editor::cmd_save);
    });
    EXPECT_EQ(u"Car", result);
    const fuel_header h = fuel_store::read_account_header(data_folder, u"Car").header;
    EXPECT_EQ(53.0, h.tank_capacity);
    EXPECT_EQ(10.0, h.initial_fuel);
}

TEST_F(account_editor_test, the_currency_box_offers_every_currency_by_its_code) {
    run(account_editor::mode::add, {}, [](account_editor& e) {
        focus_in(e.currency_box());
        suggestion_dropdown* list = e.currency_box().suggestion_list();
        ASSERT_TRUE(list);
        ASSERT_EQ(56, list->row_count());
        EXPECT_EQ(u"EUR", list->row_at(17).text);
        EXPECT_EQ(u"Euro Countries, Euro", list->row_at(17).note);
        list->tap_row(18);
        EXPECT_EQ(u"GBP", e.currency_box().get_text());
        // A currency of one's own is kept as typed.
        enter(e.currency_box(), "Rs.");
        EXPECT_EQ(u"Rs.", e.currency_box().get_text());
    });
}

TEST_F(account_editor_test, a_refused_name_keeps_the_editor_open_and_every_file_as_it_was) {
    add(u"Car");
    add(u"Van");
    const auto before = disk();
    bool open_after_refusal = false;
    const auto result = run(account_editor::mode::edit, u"Car", [&](account_editor& e) {
        enter(e.name_box(), "Van");
        e.choose(account_editor::cmd_save);
        enter(e.name_box(), "a\\b");
        e.choose(account_editor::cmd_save);
        enter(e.name_box(), "");
        e.choose(account_editor::cmd_save);
        open_after_refusal = !e.ended();
        e.choose(account_editor::cmd_cancel);
    });
    EXPECT_TRUE(open_after_refusal);
    EXPECT_EQ(u"Car", result) << "cancelled: the opening name";
    EXPECT_EQ(3u, boxes.texts().size());
    EXPECT_EQ(before, disk());
}

TEST_F(account_editor_test,
       add_auto_under_a_name_in_use_or_with_an_unreadable_number_writes_nothing) {
    add(u"Car");
    const auto before = disk();
    std::vector<bool> open_after;
    const auto result = run(account_editor::mode::add, u"", [&](account_editor& e) {
        // The very name of a vehicle would have taken it over, units and all.
        enter(e.name_box(), "Car");
        e.fuel_units().setCurrentIndex(1);
        enter(e.tank_box(), "80");
        e.choose(account_editor::cmd_save);
        open_after.push_back(!e.ended());
        EXPECT_EQ(u"Car", e.name_box().get_text()) << "what was typed stays";
        EXPECT_EQ(u"80", e.tank_box().get_text());

        enter(e.name_box(), "Bike");
        enter(e.tank_box(), "1.7591.799");
        e.choose(account_editor::cmd_save);
        open_after.push_back(!e.ended());
        EXPECT_EQ(u"1.7591.799", e.tank_box().get_text());
        e.choose(account_editor::cmd_cancel);
    });
    EXPECT_EQ((std::vector<bool>{true, true}), open_after);
    ASSERT_EQ(2u, boxes.texts().size());
    EXPECT_EQ(u"Another vehicle has this name already. Please choose another name.",
              boxes.texts()[0]);
    EXPECT_NE(std::u16string::npos, boxes.texts()[1].find(u"Fuel Tank Capacity"));
    EXPECT_EQ(before, disk()) << "the vehicle of that name and every other file as they were";
    EXPECT_EQ(std::vector<std::u16string>{u"Car"}, prog->config.list_account_names());
}

TEST_F(account_editor_test, backspace_deletes_a_character_and_escape_cancels) {
    const auto result = run(account_editor::mode::add, {}, [](account_editor& e) {
        enter(e.name_box(), "Golf");
        focus_in(e.name_box());
        e.name_box().end(false);
        key(e.name_box(), Qt::Key_Backspace);
        EXPECT_EQ(u"Gol", e.name_box().get_text());
        EXPECT_FALSE(e.ended()) << "the device's Back key only edits";
        key(e, Qt::Key_Escape);
        EXPECT_TRUE(e.ended());
    });
    EXPECT_EQ(u"", result);
    EXPECT_TRUE(prog->config.list_account_names().empty());
    EXPECT_FALSE(fs.file_exists(data_folder + u"Gol.ful"));
}

}  // namespace
}  // namespace kelvane
