#include "gui/widgets/account_combo.h"

#include <QComboBox>
#include <QSignalBlocker>

#include "core/accounts/configuration.h"

namespace kelvane {

void fill_account_combo(QComboBox& combo, const configuration& config) {
    // Filling is not a choice of the owner's: no change is signalled.
    const QSignalBlocker quiet(combo);
    combo.clear();
    for (int slot = 0; slot < configuration::max_accounts; ++slot) {
        const std::u16string name = config.account_slot(slot);
        if (!name.empty()) combo.insertItem(0, QString::fromStdU16String(name));
    }
    combo.setCurrentIndex(combo.findText(QString::fromStdU16String(config.current_account()),
                                         Qt::MatchExactly | Qt::MatchCaseSensitive));
}

}  // namespace kelvane
