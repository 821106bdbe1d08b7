#include "platform/qt/qpainter_dc.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPolygon>
#include <QString>
#include <algorithm>
#include <cstdlib>
#include <vector>

namespace kelvane {

namespace {

QString qstr(std::u16string_view s) {
    return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size()));
}

QString first_installed(std::initializer_list<const char*> families, const char* fallback) {
    const auto installed = QFontDatabase::families();
    for (const char* f : families)
        if (installed.contains(QString::fromUtf8(f), Qt::CaseInsensitive))
            return QString::fromUtf8(f);
    return QString::fromUtf8(fallback);
}

}  // namespace

QFont device_font(const font_request& f) {
    static const QString sans =
        first_installed({"Liberation Sans", "Arimo", "DejaVu Sans"}, "Sans");
    static const QString system = first_installed({"DejaVu Sans", "Liberation Sans"}, "Sans");
    static const QString cjk =
        first_installed({"WenQuanYi Micro Hei", "Noto Sans CJK SC", "AR PL UMing CN"}, "Sans");
    QString family;
    if (f.face == u"Arial")
        family = sans;
    else if (f.face == u"宋体")
        family = cjk;
    else if (f.face == u"System" || f.face.empty())
        family = system;
    else
        family = qstr(f.face);
    QFont font(family);
    font.setPixelSize(f.pixel_height > 0 ? f.pixel_height : 1);
    font.setWeight(static_cast<QFont::Weight>(f.weight <= 0 ? 400 : f.weight));
    font.setItalic(f.italic);
    font.setUnderline(f.underline);
    font.setStyleStrategy(QFont::NoAntialias);
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

QColor to_qcolor(colour c) {
    return QColor(red_of(c), green_of(c), blue_of(c));
}
colour from_qrgb(QRgb c) {
    return rgb(qRed(c), qGreen(c), qBlue(c));
}

image_dc::image_dc(QImage& target) : image_(&target) {
    init();
}

image_dc::image_dc(int width, int height)
    : owned_(width, height, QImage::Format_RGB32), image_(&owned_) {
    owned_.fill(Qt::white);
    init();
}

image_dc::~image_dc() {
    painter_.end();
}

void image_dc::init() {
    painter_.begin(image_);
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setRenderHint(QPainter::TextAntialiasing, false);
    painter_.setFont(device_font(font_));
    apply_pen();
    apply_brush();
}

void image_dc::apply_pen() {
    if (pen_.style == pen_style::null) {
        painter_.setPen(Qt::NoPen);
        return;
    }
    QPen pen(to_qcolor(pen_.c));
    pen.setWidth(pen_.width <= 1 ? 0 : pen_.width);
    pen.setStyle(pen_.style == pen_style::dash ? Qt::DashLine : Qt::SolidLine);
    pen.setCapStyle(Qt::FlatCap);
    pen.setJoinStyle(Qt::MiterJoin);
    painter_.setPen(pen);
}

void image_dc::apply_brush() {
    if (null_brush_)
        painter_.setBrush(Qt::NoBrush);
    else
        painter_.setBrush(to_qcolor(brush_));
}

void image_dc::fill_rect(const rect& r, colour c) {
    if (r.right <= r.left || r.bottom <= r.top) return;
    painter_.fillRect(QRect(r.left, r.top, r.width(), r.height()), to_qcolor(c));
}

pen_request image_dc::select_pen(const pen_request& p) {
    auto old = pen_;
    pen_ = p;
    apply_pen();
    return old;
}

colour image_dc::select_brush(colour c) {
    auto old = brush_;
    brush_ = c;
    null_brush_ = false;
    apply_brush();
    return old;
}

void image_dc::select_null_brush() {
    null_brush_ = true;
    apply_brush();
}

void image_dc::move_to(int x, int y) {
    current_ = {x, y};
}

void image_dc::line_to(int x, int y) {
    // The device leaves out the end point. Qt's one-pixel lines with flat caps
    // drop an end of their own, so thin solid lines are set pixel by pixel
    // (Bresenham), which gives exactly the device's pixels.
    point from = current_;
    current_ = {x, y};
    if (pen_.style == pen_style::null || from == current_) return;
    if (pen_.width <= 1 && pen_.style == pen_style::solid) {
        const QColor c = to_qcolor(pen_.c);
        if (from.y == y) {
            const int x0 = std::min(from.x, x + (x > from.x ? 0 : 1));
            const int x1 = std::max(from.x + 1, x + (x > from.x ? 0 : 1));
            painter_.fillRect(QRect(x0, y, x1 - x0, 1), c);
            return;
        }
        if (from.x == x) {
            const int y0 = std::min(from.y, y + (y > from.y ? 0 : 1));
            const int y1 = std::max(from.y + 1, y + (y > from.y ? 0 : 1));
            painter_.fillRect(QRect(x, y0, 1, y1 - y0), c);
            return;
        }
        const int dx = std::abs(x - from.x), dy = -std::abs(y - from.y);
        const int sx = from.x < x ? 1 : -1, sy = from.y < y ? 1 : -1;
        int err = dx + dy, px = from.x, py = from.y;
        while (px != x || py != y) {
            set_pixel(px, py, pen_.c);
            const int e2 = 2 * err;
            if (e2 >= dy) err += dy, px += sx;
            if (e2 <= dx) err += dx, py += sy;
        }
        return;
    }
    painter_.drawLine(from.x, from.y, x, y);
}

void image_dc::polygon(const point* points, int count) {
    if (count < 2) return;
    QPolygon poly;
    for (int i = 0; i < count; ++i) poly << QPoint(points[i].x, points[i].y);
    painter_.drawPolygon(poly);
}

void image_dc::rectangle(const rect& r) {
    if (r.right <= r.left || r.bottom <= r.top) return;
    if (!null_brush_) fill_rect(r, brush_);
    if (pen_.style != pen_style::null) {
        painter_.save();
        painter_.setBrush(Qt::NoBrush);
        painter_.drawRect(QRect(r.left, r.top, r.width() - 1, r.height() - 1));
        painter_.restore();
    }
}

void image_dc::round_rect(const rect& r, int ellipse_width, int ellipse_height) {
    if (r.right <= r.left || r.bottom <= r.top) return;
    painter_.drawRoundedRect(QRect(r.left, r.top, r.width() - 1, r.height() - 1),
                             ellipse_width / 2.0, ellipse_height / 2.0);
}

void image_dc::draw_text(std::u16string_view text, const rect& r, unsigned flags) {
    int align = 0;
    align |= (flags & dt_center)  ? Qt::AlignHCenter
             : (flags & dt_right) ? Qt::AlignRight
                                  : Qt::AlignLeft;
    if (flags & dt_singleline) {
        align |= Qt::TextSingleLine;
        align |= (flags & dt_vcenter)  ? Qt::AlignVCenter
                 : (flags & dt_bottom) ? Qt::AlignBottom
                                       : Qt::AlignTop;
    } else {
        align |= Qt::AlignTop;
        if (flags & dt_wordbreak) align |= Qt::TextWordWrap;
    }
    const QRect box(r.left, r.top, r.width(), r.height());
    QString s = qstr(text);
    if ((flags & dt_end_ellipsis) && (flags & dt_singleline)) {
        const QFontMetrics fm(painter_.font());
        if (fm.horizontalAdvance(s) > box.width()) {
            s = fm.elidedText(s, Qt::ElideRight, box.width());
            // What is left starts at the left, where a reader looks for it.
            align = (align & ~Qt::AlignHorizontal_Mask) | Qt::AlignLeft;
        }
    }
    painter_.save();
    if (!(flags & dt_noclip)) painter_.setClipRect(box, Qt::IntersectClip);
    if (mode_ == background_mode::opaque) {
        const QRect bounds = painter_.boundingRect(box, align, s);
        painter_.fillRect(bounds, to_qcolor(background_));
    }
    painter_.setPen(to_qcolor(text_));
    painter_.drawText(box, align, s);
    painter_.restore();
}

size image_dc::text_extent(std::u16string_view text) {
    QFontMetrics fm(painter_.font());
    return {fm.horizontalAdvance(qstr(text)), fm.height()};
}

colour image_dc::set_text_colour(colour c) {
    auto old = text_;
    text_ = c;
    return old;
}

colour image_dc::set_background_colour(colour c) {
    auto old = background_;
    background_ = c;
    return old;
}

background_mode image_dc::set_background_mode(background_mode m) {
    auto old = mode_;
    mode_ = m;
    return old;
}

font_request image_dc::select_font(const font_request& f) {
    auto old = font_;
    font_ = f;
    painter_.setFont(device_font(f));
    return old;
}

colour image_dc::get_pixel(int x, int y) {
    const QImage& img = *image_;
    if (x < 0 || y < 0 || x >= img.width() || y >= img.height()) return invalid_colour;
    return from_qrgb(img.pixel(x, y));
}

void image_dc::set_pixel(int x, int y, colour c) {
    if (x < 0 || y < 0 || x >= image_->width() || y >= image_->height()) return;
    painter_.save();
    painter_.setPen(QPen(to_qcolor(c), 0));
    painter_.drawPoint(x, y);
    painter_.restore();
}

void image_dc::copy_block(int x, int y, int width, int height, dc& source, int source_x,
                          int source_y) {
    if (auto* img = dynamic_cast<image_dc*>(&source)) {
        painter_.drawImage(QPoint(x, y), img->image(), QRect(source_x, source_y, width, height));
        return;
    }
    for (int j = 0; j < height; ++j)
        for (int i = 0; i < width; ++i) {
            const colour c = source.get_pixel(source_x + i, source_y + j);
            if (c != invalid_colour) set_pixel(x + i, y + j, c);
        }
}

}  // namespace kelvane
