#include "gui/widgets/skin.h"

#include <QImage>

#include "platform/qt/qpainter_dc.h"

namespace kelvane {

skin::skin() = default;
skin::~skin() = default;

bool skin::load_skin() {
    if (surface_) return true;
    QImage picture(QStringLiteral(":/kelvane/skin.png"));
    if (picture.isNull() || picture.width() != skin_width || picture.height() != skin_height)
        return false;
    auto s = std::make_unique<image_dc>(skin_width, skin_height);
    s->painter().drawImage(0, 0, picture.convertToFormat(QImage::Format_RGB32));
    surface_ = std::move(s);
    return true;
}

dc* skin::surface() const {
    return surface_.get();
}

void skin::draw_piece(dc& target, int x, int y, int source_x, int source_y, int width,
                      int height) const {
    if (!surface_) return;
    target.copy_block(x, y, width, height, *surface_, source_x, source_y);
}

void skin::draw_piece_keyed(dc& target, int x, int y, int source_x, int source_y, int width,
                            int height, int key_red, int key_green, int key_blue) const {
    if (!surface_) return;
    const colour key = rgb(key_red, key_green, key_blue);
    for (int j = 0; j < height; ++j)
        for (int i = 0; i < width; ++i) {
            const colour c = surface_->get_pixel(source_x + i, source_y + j);
            if (c != key && c != invalid_colour) target.set_pixel(x + i, y + j, c);
        }
}

}  // namespace kelvane
