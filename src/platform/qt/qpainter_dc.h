#pragma once
// The drawing surface on Qt: an image (the screen's back buffer, the skin, an
// off-screen chart) painted with QPainter with antialiasing off, so that the
// pixels are those the handheld would show.

#include <QFont>
#include <QImage>
#include <QPainter>

#include "platform/dc.h"

namespace kelvane {

// Maps the device's font faces ("System", "Arial", "宋体") to installed fonts.
QFont device_font(const font_request& f);
QColor to_qcolor(colour c);
colour from_qrgb(QRgb c);

class image_dc : public dc {
public:
    // Paints into an image that outlives this object.
    explicit image_dc(QImage& target);
    // Owns a new white image of this size.
    image_dc(int width, int height);
    ~image_dc() override;
    image_dc(const image_dc&) = delete;
    image_dc& operator=(const image_dc&) = delete;

    QImage& image() { return *image_; }
    const QImage& image() const { return *image_; }
    QPainter& painter() { return painter_; }

    void fill_rect(const rect& r, colour c) override;
    pen_request select_pen(const pen_request& p) override;
    colour select_brush(colour c) override;
    void select_null_brush() override;
    void move_to(int x, int y) override;
    void line_to(int x, int y) override;
    void polygon(const point* points, int count) override;
    void rectangle(const rect& r) override;
    void round_rect(const rect& r, int ellipse_width, int ellipse_height) override;
    void draw_text(std::u16string_view text, const rect& r, unsigned flags) override;
    size text_extent(std::u16string_view text) override;
    colour set_text_colour(colour c) override;
    colour set_background_colour(colour c) override;
    background_mode set_background_mode(background_mode m) override;
    font_request select_font(const font_request& f) override;
    colour get_pixel(int x, int y) override;
    void set_pixel(int x, int y, colour c) override;
    void copy_block(int x, int y, int width, int height, dc& source, int source_x,
                    int source_y) override;
    int width() const override { return image_->width(); }
    int height() const override { return image_->height(); }

private:
    void init();
    void apply_pen();
    void apply_brush();

    QImage owned_;
    QImage* image_;
    QPainter painter_;
    pen_request pen_;
    colour brush_ = rgb(255, 255, 255);
    bool null_brush_ = false;
    colour text_ = rgb(0, 0, 0);
    colour background_ = rgb(255, 255, 255);
    background_mode mode_ = background_mode::opaque;
    font_request font_;
    point current_;
};

}  // namespace kelvane
