#include "gui/tools/key_mapping_dialog.h"

#include <QKeyEvent>
#include <QPainter>
#include <QPushButton>
#include <algorithm>

#include "core/common/scaled_font.h"
#include "gui/widgets/menu_items.h"
#include "gui/widgets/translated.h"
#include "platform/qt/qpainter_dc.h"
#include "platform/services.h"

namespace kelvane {

namespace {

constexpr int heading_height = 30;
constexpr int button_band = 30;
constexpr int rows = 6;
constexpr int cell_margin = 4;
constexpr colour awaiting_colour = rgb(200, 0, 0);

// Keys the handheld reports by a virtual-key code of its own rather than by
// the character they carry.
struct named_key {
    int qt_key;
    std::uint16_t code;
};
constexpr named_key named_keys[] = {
    {Qt::Key_Backspace, 8},     {Qt::Key_Tab, 9},         {Qt::Key_Return, 13},
    {Qt::Key_Enter, 13},        {Qt::Key_PageUp, 33},     {Qt::Key_PageDown, 34},
    {Qt::Key_End, 35},          {Qt::Key_Home, 36},       {Qt::Key_Left, 37},
    {Qt::Key_Up, 38},           {Qt::Key_Right, 39},      {Qt::Key_Down, 40},
    {Qt::Key_Insert, 45},       {Qt::Key_Delete, 46},     {Qt::Key_Semicolon, 186},
    {Qt::Key_Equal, 187},       {Qt::Key_Comma, 188},     {Qt::Key_Minus, 189},
    {Qt::Key_Period, 190},      {Qt::Key_Slash, 191},     {Qt::Key_QuoteLeft, 192},
    {Qt::Key_BracketLeft, 219}, {Qt::Key_Backslash, 220}, {Qt::Key_BracketRight, 221},
    {Qt::Key_Apostrophe, 222},
};

// The screen's font at its height for this screen, made smaller only as far as
// needed for the text to fit the width: a clipped heading or key reads wrong.
void select_fitting_font(dc& d, std::u16string_view text, int width) {
    const int longer = std::max(device().screen_width(), device().screen_height());
    int height = longer * 12 / 220;
    d.select_font({u"System", height});
    while (height > 9 && d.text_extent(text).width > width) d.select_font({u"System", --height});
}

}  // namespace

// How a key of this computer becomes the handheld's key code, so that a table
// captured here holds the codes the handheld itself reports and the presets
// use (and a file moved between the two means the same keys):
// - letters, digits and the space bar carry their character code, upper case
//   whatever Shift does ("w" is W, 87), as the handheld's key codes do;
// - keys the handheld names by a code of its own map to it: the point key is
//   190, comma 188, the arrows 37-40, Enter 13, F1-F24 112-135 and so on;
// - any other character key carries its character's code, as the keypad
//   phones report their symbol keys (the "?" key of the first preset is 63);
// - everything else (a bare Shift, Control or Alt, Escape, which stands for
//   the dialog's Cancel here) has no code and is not captured.
std::uint16_t device_key_code(const QKeyEvent& e) {
    int k = e.key();
    if (k == 0 || k == Qt::Key_unknown) {
        // An input method may deliver only the text; take its character.
        const QString t = e.text();
        if (t.size() != 1) return 0;
        k = t[0].toUpper().unicode();
    }
    for (const auto& n : named_keys)
        if (n.qt_key == k) return n.code;
    if (k >= Qt::Key_F1 && k <= Qt::Key_F24)
        return static_cast<std::uint16_t>(112 + k - Qt::Key_F1);
    if (k >= 'a' && k <= 'z') k -= 'a' - 'A';
    if (k >= Qt::Key_Space && k <= 0xFF) return static_cast<std::uint16_t>(k);
    return 0;
}

key_mapping_dialog::key_mapping_dialog(key_table& table, QWidget* parent)
    : device_dialog(parent), table_(table), capture_(table) {
    set_caption(u"Kelvane");
    restart_ = new QPushButton(translated(u"Start Over"), this);
    // The screen keeps the keyboard: a focused button would take the space
    // bar for itself, and the space bar is a key the owner may need to map.
    restart_->setFocusPolicy(Qt::NoFocus);
    connect(restart_, &QPushButton::clicked, this, [this] {
        capture_.restart();
        update();
    });
    setFocusPolicy(Qt::StrongFocus);
}

void key_mapping_dialog::init_dialog() {
    set_menu({menu_command(u"Save", save_command),
              menu_popup(u"Menu", {menu_command(u"Cancel", cancel_command),
                                   menu_command(u"Start Setting Keys", start_command),
                                   menu_command(u"Default (Motorola Q)", motorola_q_command),
                                   menu_command(u"Default (SAMSUNG)", samsung_command)})});
    set_cancel_command(cancel_command);
    setFocus();
}

void key_mapping_dialog::on_command(int command) {
    switch (command) {
        case save_command:
            // A failed write has been shown to the owner; the program goes on
            // with the new table in memory all the same.
            (void)capture_.save_to(table_);
            end_dialog(confirmed);
            return;
        case cancel_command:
            end_dialog(dismissed);
            return;
        case start_command:
            capture_.start();
            break;
        case motorola_q_command:
            capture_.apply_preset(key_preset::motorola_q);
            break;
        case samsung_command:
            capture_.apply_preset(key_preset::samsung);
            break;
        default:
            return;
    }
    update();
}

void key_mapping_dialog::keyPressEvent(QKeyEvent* e) {
    // A held key repeats on this computer; only the first press is the owner's.
    if (capture_.capturing() && !e->isAutoRepeat()) {
        if (const std::uint16_t code = device_key_code(*e); code != 0 && capture_.capture(code))
            update();
    }
    // The key goes its ordinary way too (Escape still cancels).
    device_dialog::keyPressEvent(e);
}

void key_mapping_dialog::on_size(int width, int height) {
    const int font = scaled_font_size(12);
    restart_->setFont(device_font({u"Arial", font}));
    const int w = std::min(width - 2 * cell_margin, std::max(100, width / 2));
    const int h = button_band - 6;
    restart_->setGeometry((width - w) / 2, std::max(0, height - button_band + 2), w, h);
    update();
}

QRect key_mapping_dialog::table_rect() const {
    const QRect c = client_rect();
    return QRect(c.left(), c.top() + heading_height, c.width(),
                 std::max(rows, c.height() - heading_height - button_band));
}

void key_mapping_dialog::paint_table(dc& d) const {
    select_fitting_font(d, capture_.heading(), d.width() - 2 * cell_margin);
    d.set_background_mode(background_mode::transparent);
    d.set_text_colour(rgb(0, 0, 0));
    d.draw_text(capture_.heading(), {0, 0, d.width(), heading_height},
                dt_center | dt_vcenter | dt_singleline);

    const QRect table = table_rect();
    const int column_width = table.width() / 2;
    for (int i = 0; i < key_table::used_slots; ++i) {
        const key_slot_text t = capture_.slot_text(i);
        if (t.shown == key_slot_text::look::hidden) continue;
        const int top = table.top() + t.row * table.height() / rows;
        const int bottom = table.top() + (t.row + 1) * table.height() / rows;
        const int left = table.left() + t.column * column_width;
        d.set_text_colour(t.shown == key_slot_text::look::awaiting ? awaiting_colour
                                                                   : rgb(0, 0, 0));
        select_fitting_font(d, t.line(), column_width - 2 * cell_margin);
        d.draw_text(t.line(), {left + cell_margin, top, left + column_width - cell_margin, bottom},
                    dt_left | dt_vcenter | dt_singleline);
    }
}

QImage key_mapping_dialog::render() const {
    const QRect c = client_rect();
    QImage img(std::max(c.width(), 1), std::max(c.height(), 1), QImage::Format_RGB32);
    img.fill(Qt::white);
    image_dc d(img);
    paint_table(d);
    return img;
}

void key_mapping_dialog::paintEvent(QPaintEvent*) {
    QPainter(this).drawImage(client_rect().topLeft(), render());
}

void open_key_mapping(key_table& table) {
    key_mapping_dialog dialog(table);
    dialog.exec();
}

}  // namespace kelvane
