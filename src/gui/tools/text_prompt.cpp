#include "gui/tools/text_prompt.h"

#include <QLabel>

#include "core/common/scaled_font.h"
#include "core/exchange/export_import.h"
#include "gui/tools/folder_chooser.h"
#include "gui/widgets/edit_box.h"
#include "gui/widgets/menu_items.h"
#include "gui/widgets/skin_button.h"
#include "gui/widgets/translated.h"
#include "platform/qt/qpainter_dc.h"

namespace kelvane {

text_prompt::text_prompt(const skin& pieces, options o, QWidget* parent)
    : device_dialog(parent), pieces_(pieces), options_(std::move(o)) {
    set_caption(u"Kelvane");
    set_cancel_command(cmd_cancel);
    prompt_ = new QLabel(this);
    prompt_->setWordWrap(true);
    box_ = new edit_box(this);
    box_->text_box = true;
    box_->capitalise_first = false;
    browse_ = new skin_button(pieces, this);
    ok_ = new skin_button(pieces, this);
    cancel_ = new skin_button(pieces, this);
    connect(browse_, &QAbstractButton::clicked, this, [this] { browse(); });
    connect(ok_, &QAbstractButton::clicked, this, [this] { on_command(cmd_ok); });
    connect(cancel_, &QAbstractButton::clicked, this, [this] { on_command(cmd_cancel); });
}

bool text_prompt::browse_shown() const {
    return !browse_->isHidden();
}

void text_prompt::init_dialog() {
    set_menu({menu_command(u"Ok", cmd_ok), menu_command(u"Cancel", cmd_cancel)});
    browse_->set_text(u"...");
    ok_->set_text(kelvane::tr(u"Ok"));
    cancel_->set_text(kelvane::tr(u"Cancel"));
    prompt_->setText(to_qstring(options_.prompt));
    box_->set_hint(kelvane::tr(u"Please enter"));
    box_->set_text(options_.initial_text);
    if (options_.no_browse) browse_->hide();
    box_->setFocus();
}

void text_prompt::browse() {
    std::u16string start = box_->get_text();
    if (options_.extension.empty() && !start.empty() && start.back() != u'\\') start += u'\\';
    if (!start.empty() && start.front() != u'\\') start.insert(start.begin(), u'\\');
    box_->set_text(start);
    folder_chooser::options o;
    o.start_path = start;
    o.prompt = kelvane::tr(u"Location") + u":";
    o.file_mode = !options_.extension.empty();
    o.extension = options_.extension;
    const std::u16string chosen = choose_folder(pieces_, o);
    if (!chosen.empty()) box_->set_text(chosen);
}

void text_prompt::on_command(int command) {
    if (command == cmd_ok) {
        text_ = box_->get_text();
        end_dialog(confirmed);
    } else if (command == cmd_cancel) {
        text_.clear();
        end_dialog(dismissed);
    }
}

void text_prompt::on_size(int width, int) {
    const int margin = 3;
    const int line = scaled_font_size(13) + 8;
    const int inner = std::max(0, width - 2 * margin);
    prompt_->setFont(device_font({u"Arial", scaled_font_size(12)}));
    prompt_->setGeometry(margin, margin, inner, 2 * line);
    int y = margin + 2 * line + 2;
    const int browse_width = options_.no_browse ? 0 : 28;
    box_->setGeometry(margin, y, inner - browse_width - (browse_width ? 2 : 0), line);
    browse_->setGeometry(margin + inner - browse_width, y, browse_width, line);
    y += line + 8;
    const int w = (inner - 4) / 2;
    ok_->setGeometry(margin, y, w, 24);
    cancel_->setGeometry(margin + w + 4, y, w, 24);
}

std::u16string file_name_part(std::u16string_view text) {
    std::u16string out(text);
    for (char16_t& c : out)
        if (c < 32 || std::u16string_view(u"\\/:*?\"<>|").find(c) != std::u16string_view::npos)
            c = u'_';
    return out;
}

std::u16string prompt_for_text(const skin& pieces, text_prompt::options o) {
    text_prompt prompt(pieces, std::move(o));
    prompt.exec();
    return prompt.text();
}

std::u16string prompt_for_csv_file(const skin& pieces, std::u16string prompt,
                                   std::u16string_view data_folder, std::u16string_view name) {
    text_prompt::options o;
    o.prompt = std::move(prompt);
    o.initial_text = export_import::default_path(data_folder, name);
    o.extension = u".csv";
    return prompt_for_text(pieces, std::move(o));
}

}  // namespace kelvane
