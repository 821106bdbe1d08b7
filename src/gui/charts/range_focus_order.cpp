#include "gui/charts/range_focus_order.h"

#include <QEvent>
#include <QKeyEvent>
#include <QWidget>

namespace kelvane {

namespace {

class focus_mover : public QObject {
public:
    focus_mover(QWidget* check, QWidget* up, QWidget* down)
        : QObject(check), up_(up), down_(down) {}

    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() != QEvent::KeyPress) return false;
        const int k = static_cast<QKeyEvent*>(e)->key();
        QWidget* target = k == Qt::Key_Up ? up_ : k == Qt::Key_Down ? down_ : nullptr;
        if (!target) return false;
        target->setFocus(Qt::TabFocusReason);
        return true;
    }

private:
    QWidget* up_;
    QWidget* down_;
};

void install(QWidget* check, QWidget* up, QWidget* down) {
    check->installEventFilter(new focus_mover(check, up, down));
}

}  // namespace

void install_range_focus_order(const range_controls& c) {
    install(c.start_mileage_check, nullptr, c.start_mileage);
    install(c.start_date_check, c.start_mileage, c.start_date);
    install(c.end_mileage_check, c.start_date, c.end_mileage);
    install(c.end_date_check, c.end_mileage, c.end_date);
}

}  // namespace kelvane
