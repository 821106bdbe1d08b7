#include "gui/widgets/busy_work.h"

#include <QApplication>

#include "core/common/scaled_font.h"
#include "gui/widgets/text_label.h"

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

}  // namespace kelvane
