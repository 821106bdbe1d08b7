#include "gui/widgets/busy_work.h"

#include <QApplication>

#include "core/common/scaled_font.h"
#include "gui/widgets/text_label.h"
#include "platform/qt/device_dialog.h"

namespace kelvane {

text_label* make_progress_line(const skin& pieces, QWidget* parent) {
    auto* line = new text_label(pieces, parent);
    line->font_face = u"Arial";
    line->font_height = scaled_font_size(12);
    line->icon = false;
    line->align = text_label::left_single;
    line->background = rgb(255, 255, 255);
    line->text_colour = rgb(30, 60, 150);
    line->hide();
    return line;
}

busy_work::busy_work(text_label* line) : line_(line) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    if (line_) line_was_visible_ = line_->isVisible();
}

busy_work::~busy_work() {
    if (line_) {
        line_->set_text(u"");
        line_->setVisible(line_was_visible_);
    }
    QApplication::restoreOverrideCursor();
}

void busy_work::step(std::u16string_view text) {
    if (line_) {
        line_->set_text(text);
        line_->show();
        line_->raise();
        line_->repaint();
    }
    // Paint and resize events only: a tap now must not start other work in
    // the middle of this one.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

menu_work::menu_work(const skin& pieces, device_dialog& screen, std::u16string_view text)
    : line_(make_progress_line(pieces, &screen)) {
    const QRect area = screen.client_rect();
    const int height = line_->font_height + 6;
    line_->setGeometry(area.left(), area.bottom() + 1 - height, area.width(), height);
    busy_ = std::make_unique<busy_work>(line_.get());
    busy_->step(text);
}

menu_work::~menu_work() = default;

}  // namespace kelvane
