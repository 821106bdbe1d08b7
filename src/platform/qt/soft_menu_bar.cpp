#include "platform/qt/soft_menu_bar.h"

#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <algorithm>

#include "platform/qt/modal_service.h"
#include "platform/screen_scale.h"

namespace kelvane {

namespace {

QString qs(const std::u16string& s) {
    return QString::fromStdU16String(s);
}

const soft_menu_item* find_item(const std::vector<soft_menu_item>& items, int command) {
    for (const auto& i : items) {
        if (i.command == command && command != 0) return &i;
        if (auto* inner = find_item(i.items, command)) return inner;
    }
    return nullptr;
}

QString key_style(int text_px) {
    return QStringLiteral(
               "QPushButton{color:white;border:none;font-weight:bold;font-size:%1px;"
               "padding:0 6px;}"
               "QPushButton:pressed{background:#2a5aa8;}"
               "QPushButton:disabled{color:#9ab;}")
        .arg(text_px);
}

}  // namespace

int soft_menu_bar::height_on(int screen_width, int screen_height) {
    return scaled_length(bar_height, screen_width, screen_height);
}

soft_menu_bar::soft_menu_bar(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void soft_menu_bar::fit_screen(int screen_width, int screen_height) {
    const int px = scaled_length(text_size, screen_width, screen_height);
    if (px == text_px_) return;
    text_px_ = px;
    for (auto* k : keys_) k->setStyleSheet(key_style(text_px_));
}

void soft_menu_bar::set_items(std::vector<soft_menu_item> items) {
    items_ = std::move(items);
    rebuild();
}

void soft_menu_bar::rebuild() {
    // The click of one of these keys may be what brought the new items; that
    // key must outlive its own click. The old keys stop answering and vanish
    // at once, and are deleted when the event loop is back.
    for (auto* k : keys_) {
        k->disconnect(this);
        k->hide();
        k->deleteLater();
    }
    keys_.clear();
    for (std::size_t i = 0; i < items_.size(); ++i) {
        const auto& item = items_[i];
        auto* key = new QPushButton(qs(item.text), this);
        key->setFlat(true);
        key->setFocusPolicy(Qt::NoFocus);
        key->setStyleSheet(key_style(text_px_));
        const int index = static_cast<int>(i);
        connect(key, &QPushButton::clicked, this, [this, index] {
            const auto& it = items_[static_cast<std::size_t>(index)];
            if (!it.items.empty())
                open_popup(index);
            else
                trigger(it.command);
        });
        keys_.push_back(key);
        key->show();
    }
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (items_[i].command) keys_[i]->setEnabled(is_enabled(items_[i].command));
    resizeEvent(nullptr);
    update();
}

void soft_menu_bar::open_popup(int index) {
    const auto& item = items_[static_cast<std::size_t>(index)];
    std::vector<soft_menu_item> offered = item.items;
    for (auto& sub : offered)
        if (!sub.separator) sub.enabled = is_enabled(sub.command);
    // The last of several keys opens its menu towards the left.
    const bool last = index > 0 && index + 1 == static_cast<int>(keys_.size());
    const QPointer<soft_menu_bar> self(this);
    const int chosen = popup_menu_above(keys_[static_cast<std::size_t>(index)], offered, last);
    if (self && chosen != 0) trigger(chosen);
}

bool soft_menu_bar::has_command(int command) const {
    return find_item(items_, command) != nullptr;
}

std::u16string soft_menu_bar::command_text(int command) const {
    const auto* i = find_item(items_, command);
    return i ? i->text : std::u16string();
}

void soft_menu_bar::set_enabled(int command, bool enabled) {
    auto it = std::find(disabled_.begin(), disabled_.end(), command);
    if (enabled && it != disabled_.end()) disabled_.erase(it);
    if (!enabled && it == disabled_.end()) disabled_.push_back(command);
    for (std::size_t i = 0; i < items_.size(); ++i)
        if (items_[i].command == command) keys_[i]->setEnabled(enabled);
}

bool soft_menu_bar::is_enabled(int command) const {
    return std::find(disabled_.begin(), disabled_.end(), command) == disabled_.end();
}

bool soft_menu_bar::trigger(int command) {
    if (!has_command(command) || !is_enabled(command)) return false;
    emit command_chosen(command);
    return true;
}

void soft_menu_bar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QLinearGradient g(0, 0, 0, height());
    g.setColorAt(0, QColor(70, 110, 190));
    g.setColorAt(1, QColor(30, 60, 150));
    p.fillRect(rect(), g);
    p.setPen(QColor(20, 40, 100));
    p.drawLine(0, 0, width(), 0);
    // A thin divider between the soft keys.
    if (keys_.size() == 2) {
        p.setPen(QColor(140, 170, 220));
        p.drawLine(width() / 2, 5, width() / 2, height() - 6);
    }
}

void soft_menu_bar::resizeEvent(QResizeEvent*) {
    if (keys_.empty()) return;
    const int n = static_cast<int>(keys_.size());
    const int w = width() / n;
    for (int i = 0; i < n; ++i)
        keys_[static_cast<std::size_t>(i)]->setGeometry(i * w, 1, i + 1 == n ? width() - i * w : w,
                                                        height() - 1);
}

}  // namespace kelvane
