#include "gui/widgets/fitted_text.h"

#include <QFontMetrics>

#include "gui/widgets/translated.h"
#include "platform/qt/qpainter_dc.h"

namespace kelvane {

int fitted_font_size(std::u16string_view text, std::u16string_view face, int largest, int width) {
    const QString shown = to_qstring(text);
    int size = largest;
    while (size > 9 &&
           QFontMetrics(device_font({std::u16string(face), size})).horizontalAdvance(shown) > width)
        --size;
    return size;
}

}  // namespace kelvane
