#include "gui/widgets/account_combo.h"

#include <QComboBox>
#include <QSignalBlocker>
#include <QStyle>
#include <QStyleOptionComboBox>
#include <algorithm>

#include "core/accounts/configuration.h"
#include "gui/widgets/fitted_text.h"
#include "platform/qt/qpainter_dc.h"

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

int account_combo_text_width(const QComboBox& combo) {
    QStyleOptionComboBox option;
    option.initFrom(&combo);
    option.editable = combo.isEditable();
    const QRect field = combo.style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                      QStyle::SC_ComboBoxEditField, &combo);
    // The style keeps a few pixels between the frame and the text.
    return std::max(0, field.width() - 4);
}

void fit_account_combo(QComboBox& combo, int largest) {
    const int room = account_combo_text_width(combo);
    int size = largest;
    for (int i = 0; i < combo.count(); ++i)
        size = std::min(
            size, fitted_font_size(combo.itemText(i).toStdU16String(), u"Arial", largest, room));
    combo.setFont(device_font({u"Arial", size}));
}

}  // namespace kelvane
