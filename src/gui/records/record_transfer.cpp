#include "gui/records/record_transfer.h"

#include <optional>

#include "core/exchange/export_import.h"
#include "gui/shell/program.h"
#include "gui/tools/text_prompt.h"
#include "gui/widgets/busy_work.h"
#include "gui/widgets/choice_picker.h"
#include "gui/widgets/owner_messages.h"
#include "platform/services.h"

namespace kelvane {

namespace {

export_import transfer_of(program& prog) {
    return export_import(prog.fuel, prog.service, prog.fees);
}

std::u16string ask_for_file(program& prog, std::u16string prompt) {
    return prompt_for_csv_file(prog.skin, std::move(prompt), prog.config.data_folder(),
                               prog.fuel.account_name());
}

// The owner's pick from a full-screen list; none when cancelled.
std::optional<std::u16string> pick_one(const std::vector<std::u16string>& texts) {
    choice_picker picker(texts, std::vector<std::u16string>(texts.size()));
    picker.text_column = 228;  // the texts are whole sentences, with no notes beside them
    if (picker.exec() != choice_picker::confirmed) return std::nullopt;
    return picker.picked();
}

}  // namespace

void export_account_records(program& prog, device_dialog& screen) {
    if (prog.fuel.fresh()) {
        show_message(msg_open_account);
        return;
    }
    const std::u16string path = ask_for_file(prog, kelvane::tr(u"Please enter export file name"));
    if (path.empty()) return;
    menu_work work(prog.skin, screen, kelvane::tr(u"Exporting records..."));
    // A file that cannot be written has been reported; nothing follows a
    // written one.
    (void)transfer_of(prog).export_account(path);
}

bool import_records(program& prog, device_dialog& screen) {
    if (prog.fuel.fresh()) {
        show_message(msg_open_account);
        return false;
    }
    const std::u16string path = ask_for_file(prog, kelvane::tr(u"Please enter import file name"));
    if (path.empty()) return false;
    import_options options;
    import_summary summary;
    while (true) {
        {
            menu_work work(prog.skin, screen, kelvane::tr(u"Importing records..."));
            // A missing file and a store that could not write have been reported.
            summary = transfer_of(prog).import_file(path, options);
        }
        if (!summary.read) return false;
        // A file that can be read two ways asks the owner which, then is
        // read again; nothing was added meanwhile.
        std::optional<std::u16string> picked;
        if (summary.refusal == import_refusal::ambiguous_dates &&
            options.dates == date_choice::automatic) {
            const std::vector<std::u16string> orders = {
                kelvane::tr(u"Day first: 03/05 = 3 May"),
                kelvane::tr(u"Month first: 03/05 = March 5")};
            show_untranslated(summary.why);
            picked = pick_one(orders);
            if (!picked) return false;
            options.dates =
                *picked == orders[0] ? date_choice::day_first : date_choice::month_first;
            continue;
        }
        if (summary.refusal == import_refusal::several_vehicles && options.vehicle.empty() &&
            !summary.choices.empty()) {
            show_untranslated(summary.why);
            picked = pick_one(summary.choices);
            if (!picked) return false;
            options.vehicle = *picked;
            continue;
        }
        break;
    }
    if (summary.refusal != import_refusal::none) {
        show_untranslated(summary.why + u"\n" + kelvane::tr(u"Nothing was imported."));
        return false;
    }
    // A refusal or a store that could not write has said so; otherwise the
    // owner learns which layout was found, what came of the file and the
    // lines left out.
    if (!summary.write_failed && !summary.too_many) show_untranslated(import_report(summary));
    return true;
}

}  // namespace kelvane
