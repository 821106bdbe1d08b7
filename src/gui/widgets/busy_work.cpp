#include "gui/widgets/busy_work.h"

#include <QApplication>

#include "gui/widgets/text_label.h"

namespace kelvane {

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
