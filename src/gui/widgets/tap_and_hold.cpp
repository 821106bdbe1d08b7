#include "gui/widgets/tap_and_hold.h"

#include <QContextMenuEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>

namespace kelvane {

namespace {

class hold_watcher : public QObject {
public:
    hold_watcher(QWidget* widget, std::function<void(QPoint)> on_hold)
        : QObject(widget), widget_(widget), on_hold_(std::move(on_hold)) {
        timer_.setSingleShot(true);
        timer_.setInterval(hold_milliseconds);
        connect(&timer_, &QTimer::timeout, this, [this] {
            held_ = true;
            on_hold_(start_);
        });
        // A list's viewport receives the mouse, the list itself the menu key.
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* e) override {
        switch (e->type()) {
            case QEvent::MouseButtonPress: {
                auto* m = static_cast<QMouseEvent*>(e);
                held_ = false;
                if (m->button() == Qt::RightButton) {
                    timer_.stop();
                    on_hold_(m->position().toPoint());
                    return true;
                }
                if (m->button() == Qt::LeftButton) {
                    start_ = m->position().toPoint();
                    timer_.start();
                }
                return false;
            }
            case QEvent::MouseMove: {
                auto* m = static_cast<QMouseEvent*>(e);
                if (timer_.isActive() &&
                    (m->position().toPoint() - start_).manhattanLength() > hold_tolerance)
                    timer_.stop();
                return false;
            }
            case QEvent::MouseButtonRelease:
                timer_.stop();
                if (held_) {
                    held_ = false;
                    return true;
                }
                return false;
            case QEvent::MouseButtonDblClick:
                return static_cast<QMouseEvent*>(e)->button() == Qt::RightButton;
            case QEvent::ContextMenu: {
                auto* c = static_cast<QContextMenuEvent*>(e);
                // The mouse's right button was handled at its press.
                if (c->reason() == QContextMenuEvent::Mouse) return true;
                timer_.stop();
                on_hold_(c->pos());
                return true;
            }
            default:
                return false;
        }
    }

private:
    QWidget* widget_;
    std::function<void(QPoint)> on_hold_;
    QTimer timer_;
    QPoint start_;
    bool held_ = false;
};

}  // namespace

void on_tap_and_hold(QWidget* widget, std::function<void(QPoint)> on_hold) {
    new hold_watcher(widget, std::move(on_hold));
}

}  // namespace kelvane
