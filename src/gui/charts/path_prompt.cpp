#include "gui/charts/path_prompt.h"

#include "core/common/scaled_font.h"
#include "core/common/translate.h"
#include "gui/widgets/edit_box.h"
#include "gui/widgets/menu_items.h"
#include "gui/widgets/skin_button.h"
#include "gui/widgets/text_label.h"
#include "platform/qt/qpainter_dc.h"

namespace kelvane {

namespace {

constexpr int focus_timer = 1;

}  // namespace

path_prompt::path_prompt(const skin& pieces, std::u16string_view prompt,
                         std::u16string_view initial, QWidget* parent)
    : device_dialog(parent), prompt_text_(prompt), initial_(initial) {
    set_caption(u"Kelvane");
    prompt_ = new text_label(pieces, this);
    box_ = new edit_box(this);
    ok_ = new skin_button(pieces, this);
    cancel_ = new skin_button(pieces, this);
    connect(ok_, &QAbstractButton::clicked, this, [this] { on_command(cmd_ok); });
    connect(cancel_, &QAbstractButton::clicked, this, [this] { on_command(cmd_cancel); });
    set_cancel_command(cmd_cancel);
}

void path_prompt::init_dialog() {
    prompt_->set_text(prompt_text_);
    prompt_->font_face = u"Arial";
    prompt_->font_height = scaled_font_size(13);
    box_->text_box = true;
    box_->capitalise_first = false;
    box_->autocomplete = false;
    box_->setFont(device_font({u"Arial", scaled_font_size(13)}));
    box_->set_hint(kelvane::tr(u"Please enter"));
    box_->set_text(initial_);
    ok_->set_text(kelvane::tr(u"Ok"));
    cancel_->set_text(kelvane::tr(u"Cancel"));
    set_menu({menu_command(u"Ok", cmd_ok), menu_command(u"Cancel", cmd_cancel)});
    start_timer(focus_timer, 100);
}

void path_prompt::on_timer(int id) {
    if (id != focus_timer) return;
    stop_timer(focus_timer);
    box_->setFocus();
    box_->end(false);
}

void path_prompt::on_command(int command) {
    switch (command) {
        case cmd_ok:
            text_ = box_->get_text();
            end_dialog(confirmed);
            return;
        case cmd_cancel:
            text_.clear();
            end_dialog(dismissed);
            return;
    }
}

void path_prompt::on_size(int width, int) {
    const int line = scaled_font_size(13) + 6;
    prompt_->setGeometry(8, 8, width - 16, 2 * line);
    box_->setGeometry(8, 8 + 2 * line + 4, width - 16, line + 4);
    const int y = 8 + 3 * line + 16;
    ok_->setGeometry(width - 8 - 2 * 64 - 6, y, 64, 22);
    cancel_->setGeometry(width - 8 - 64, y, 64, 22);
}

std::u16string ask_for_path(const skin& pieces, std::u16string_view prompt,
                            std::u16string_view initial) {
    path_prompt p(pieces, prompt, initial);
    if (p.exec() != device_dialog::confirmed) return {};
    return p.text();
}

}  // namespace kelvane
