#include "gui/accounts/options_dialog.h"

#include <QCheckBox>
#include <QLabel>

#include "core/accounts/program_options.h"
#include "core/common/date_text.h"
#include "core/common/scaled_font.h"
#include "core/tools/language_table.h"
#include "gui/shell/program.h"
#include "gui/tools/folder_chooser.h"
#include "gui/widgets/edit_box.h"
#include "gui/widgets/menu_items.h"
#include "gui/widgets/owner_messages.h"
#include "gui/widgets/skin_button.h"
#include "gui/widgets/suggestion_dropdown.h"
#include "gui/widgets/translated.h"
#include "platform/qt/qpainter_dc.h"
#include "platform/services.h"

namespace kelvane {

options_dialog::options_dialog(program& prog, QWidget* parent)
    : device_dialog(parent), prog_(prog) {
    set_caption(u"Kelvane");
    set_cancel_command(cmd_cancel);
    language_label_ = new QLabel(this);
    backup_label_ = new QLabel(this);
    last_backup_ = new QLabel(this);
    last_backup_->setWordWrap(true);
    language_ = new edit_box(this);
    language_->text_box = true;
    languages_ = new suggestion_dropdown(this);
    language_->set_suggestion_list(languages_);
    backup_ = new edit_box(this);
    backup_->text_box = true;
    backup_->capitalise_first = false;
    browse_ = new skin_button(prog.skin, this);
    browse_->setFocusPolicy(Qt::NoFocus);
    apply_button_ = new skin_button(prog.skin, this);
    no_panel_ = new QCheckBox(this);
    connect(browse_, &QAbstractButton::clicked, this, [this] { choose_backup_folder(); });
    connect(apply_button_, &QAbstractButton::clicked, this, [this] { apply(); });
}

QString options_dialog::last_backup_text() const {
    return last_backup_->text();
}

void options_dialog::init_dialog() {
    set_menu({menu_command(u"Ok", cmd_ok), menu_command(u"Cancel", cmd_cancel)});
    const configuration& config = prog_.config;

    opening_language_ = language_in_force(config);
    language_->set_hint(kelvane::tr(u"<English>"));
    language_->set_text(opening_language_);
    language_->add_suggestion(english_language);
    for (const auto& name : list_language_files(config)) language_->add_suggestion(name);

    language_label_->setText(translated(u"Language file") + u':');
    backup_label_->setText(translated(u"Backup path") + u':');
    backup_->set_hint(kelvane::tr(u"Please use full path"));
    backup_->set_text(config.auto_backup_folder());
    browse_->set_text(u"...");
    apply_button_->set_text(kelvane::tr(u"Apply"));

    if (config.last_auto_backup_year() || config.last_auto_backup_month() ||
        config.last_auto_backup_day())
        last_backup_->setText(translated(u"Last time of auto backup") + QStringLiteral(": ") +
                              to_qstring(long_date_text(config.last_auto_backup_year(),
                                                        config.last_auto_backup_month(),
                                                        config.last_auto_backup_day())));
    else
        last_backup_->setText(translated(u"Last time of auto backup: None"));

    no_panel_->setText(translated(u"It is not allowed to use Input Panel"));
    no_panel_->setChecked(config.no_input_panel());
}

bool options_dialog::apply() {
    backup_->set_text(normalise_backup_path(backup_->get_text()));
    const program_options chosen{language_->get_text(), backup_->get_text(),
                                 no_panel_->isChecked()};
    const options_result result = apply_options(prog_.config, chosen, opening_language_);
    if (result.outcome != options_outcome::applied) {
        show_message(options_message(result.outcome));
        return false;
    }
    // Edit boxes follow the choice from now on, not only after a restart.
    device_shell().set_input_panel_allowed(!prog_.config.no_input_panel());
    if (result.language_changed) show_restart_message();
    opening_language_ = result.language;
    return true;
}

void options_dialog::show_restart_message() {
    // In the language of the next start; the running program keeps its own.
    language_table next;
    // A file that cannot be read leaves the message in English.
    (void)next.load(u"Language");
    scoped_translator in_new_language(&next);
    show_message(u"Please restart. The new language will take effect.");
}

void options_dialog::choose_backup_folder() {
    const std::u16string start = normalise_backup_path(backup_->get_text());
    backup_->set_text(start);
    folder_chooser::options o;
    o.start_path = start;
    o.prompt = kelvane::tr(u"Please select backup location") + u":";
    o.default_allowed = true;
    const std::u16string chosen = choose_folder(prog_.skin, o);
    if (!chosen.empty()) backup_->set_text(chosen);
}

void options_dialog::on_command(int command) {
    if (command == cmd_ok) {
        if (apply()) end_dialog(confirmed);
    } else if (command == cmd_cancel) {
        end_dialog(dismissed);
    }
}

void options_dialog::on_size(int width, int) {
    const int margin = 3;
    const int line = scaled_font_size(13) + 8;
    const int inner = std::max(0, width - 2 * margin);
    const QFont font = device_font({u"Arial", scaled_font_size(12)});
    for (QWidget* w :
         std::initializer_list<QWidget*>{language_label_, backup_label_, last_backup_, no_panel_})
        w->setFont(font);
    int y = margin;
    language_label_->setGeometry(margin, y, inner, line);
    y += line;
    language_->setGeometry(margin, y, inner, line);
    y += line + 6;
    backup_label_->setGeometry(margin, y, inner, line);
    y += line;
    backup_->setGeometry(margin, y, inner - 30, line);
    browse_->setGeometry(margin + inner - 28, y, 28, line);
    y += line + 6;
    last_backup_->setGeometry(margin, y, inner, 2 * line);
    y += 2 * line + 4;
    no_panel_->setGeometry(margin, y, inner, line);
    y += line + 8;
    apply_button_->font_size = scaled_font_size(12);
    apply_button_->setGeometry(margin + inner - 80, y, 80, 24);
    if (languages_->isVisible()) languages_->place_under(*language_);
}

}  // namespace kelvane
