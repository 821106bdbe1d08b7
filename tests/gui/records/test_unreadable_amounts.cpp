// A number box holding text that is not a number: every record editor
// refuses to save it, names the box, and keeps what the owner typed, so a
// slip of the keyboard never turns into a record of 0.

#include <QCheckBox>

#include "gui/records/fee_editor.h"
#include "gui/records/fuel_editor.h"
#include "gui/records/service_editor.h"
#include "gui/widgets/edit_box.h"
#include "platform/text_encoding.h"
#include "record_screens_support.h"

namespace kelvane {
namespace {

class unreadable_amounts_test : public record_screens_test {
protected:
    // Types what the price box became in the field ("1.759" with "1.799"
    // typed after it) into the box and saves: refused, the box named, the
    // text kept. Then the box gets a number again for the next one.
    void refused(record_editor& e, edit_box& box, std::u16string_view name) {
        boxes.clear();
        retype(box, "1.7591.799");
        e.choose(record_editor::cmd_save);
        EXPECT_FALSE(e.ended()) << to_utf8(name);
        ASSERT_EQ(1u, boxes.texts().size()) << to_utf8(name);
        EXPECT_NE(std::u16string::npos, boxes.texts()[0].find(msg_not_a_number));
        EXPECT_NE(std::u16string::npos, boxes.texts()[0].find(name)) << "names the box";
        EXPECT_EQ(u"1.7591.799", box.get_text()) << "what was typed stays";
        retype(box, "2");
    }
};

TEST_F(unreadable_amounts_test, no_record_editor_saves_a_box_that_holds_no_number) {
    add_vehicle(u"Car");
    store_fill_up(1000, 40, 50, 1);
    open_main_screen();

    modal.then([&](device_dialog& d) {
        auto& e = static_cast<fuel_editor&>(d);
        refused(e, e.unit_price_box(), u"Fuel Unit Price");
        refused(e, e.cost_box(), u"Fuel Cost");
        refused(e, e.quantity_box(), u"Fuel Purchased");
        refused(e, e.mileage_box(), u"Mileage");
        refused(e, e.gauge_box(), u"Fuel Gauge");
        e.choose(record_editor::cmd_cancel);
    });
    fuel().start_new();
    modal.then([&](device_dialog& d) {
        auto& e = static_cast<service_editor&>(d);
        refused(e, e.mileage_box(), u"Mileage");
        refused(e, e.cost_box(), u"Cost");
        e.maintenance_box().setChecked(true);
        refused(e, e.next_service_box(), u"Next Service");
        e.choose(record_editor::cmd_cancel);
    });
    service().start_new();
    modal.then([&](device_dialog& d) {
        auto& e = static_cast<fee_editor&>(d);
        refused(e, e.mileage_box(), u"Mileage");
        refused(e, e.cost_box(), u"Cost");
        e.choose(record_editor::cmd_cancel);
    });
    fees().start_new();

    EXPECT_EQ(1, prog->fuel.record_count());
    EXPECT_EQ(0, prog->service.record_count());
    EXPECT_EQ(0, prog->fees.record_count());
    prog->save_at_end();
    EXPECT_EQ(1, read_back<fuel_store>()->record_count()) << "the earlier fill-up only";
    EXPECT_EQ(0, read_back<service_store>()->record_count());
    EXPECT_EQ(0, read_back<fee_store>()->record_count());
}

TEST_F(unreadable_amounts_test, an_empty_box_still_saves_as_0) {
    add_vehicle(u"Car");
    open_main_screen();
    modal.then([&](device_dialog& d) {
        auto& e = static_cast<fee_editor&>(d);
        e.cost_box().set_text(u"");
        EXPECT_TRUE(e.choose(record_editor::cmd_save));
    });
    fees().start_new();
    EXPECT_TRUE(boxes.texts().empty());
    ASSERT_EQ(1, prog->fees.record_count());
    EXPECT_EQ(0.0, prog->fees.record_at(0).cost);
}

}  // namespace
}  // namespace kelvane
