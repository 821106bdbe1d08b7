#include "gui/trips/trip_records_export.h"

#include "core/common/translate.h"
#include "core/trips/trip_export.h"
#include "gui/shell/program.h"
#include "gui/tools/text_prompt.h"
#include "gui/trips/trip_picker.h"
#include "gui/widgets/busy_work.h"

namespace kelvane {

void export_one_trip(program& prog, device_dialog& screen) {
    const std::u16string description =
        pick_trip(prog.skin, prog.trips, kelvane::tr(u"Please choose trip") + u":");
    trip_store::record_type trip{};
    if (description.empty() || !prog.trips.find_trip(description, trip)) return;
    const std::u16string path =
        prompt_for_csv_file(prog.skin, kelvane::tr(u"Please enter export file name"),
                            prog.config.data_folder(), file_name_part(description));
    if (path.empty()) return;
    menu_work work(prog.skin, screen, kelvane::tr(u"Exporting records..."));
    // The records come from the trip's own vehicles' files, whichever account
    // is open; a file that cannot be read or written has been reported.
    (void)export_trip_records(prog.config.data_folder(), {prog.fuel, prog.service, prog.fees}, trip,
                              path);
}

}  // namespace kelvane
