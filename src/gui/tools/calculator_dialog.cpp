#include "gui/tools/calculator_dialog.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>

#include "core/common/scaled_font.h"
#include "gui/widgets/edit_box.h"
#include "gui/widgets/fitted_text.h"
#include "gui/widgets/form_grid.h"
#include "gui/widgets/skin.h"
#include "gui/widgets/skin_button.h"
#include "platform/qt/qpainter_dc.h"
#include "platform/services.h"

namespace kelvane {

namespace {

// The pad, row by row, as the handheld lays it out.
constexpr char16_t pad[5][4] = {{u'1', u'2', u'3', u'+'},
                                {u'4', u'5', u'6', u'-'},
                                {u'7', u'8', u'9', u'*'},
                                {u'c', u'0', u'.', u'/'},
                                {u'<', u'=', 0, 0}};
constexpr int caption_height = 20;

// The pad's key for a character typed on a keyboard, 0 for none. A comma is
// the decimal key of many keyboards.
char16_t pad_key_of(QChar typed) {
    const char16_t c = typed.unicode();
    if ((c >= u'0' && c <= u'9') || c == u'.' || c == u'+' || c == u'-' || c == u'*' || c == u'/' ||
        c == u'=')
        return c;
    if (c == u',') return u'.';
    if (c == u'c' || c == u'C') return u'c';
    return 0;
}

}  // namespace

calculator_dialog::calculator_dialog(edit_box& target, QWidget* parent)
    : device_dialog(parent), target_(target), logic_(target.get_text(), target.decimals) {
    set_overlay(true);
    set_caption(u"Kelvane");
    // What is typed goes through the pad's keys, so that "+" on a keyboard
    // is the calculator's "+" and the display never holds a sum as text.
    display_ = new QLineEdit(this);
    display_->setAlignment(Qt::AlignRight);
    display_->setMaxLength(100);
    display_->setReadOnly(true);
    display_->setContextMenuPolicy(Qt::NoContextMenu);
    display_->installEventFilter(this);
    for (const auto& row : pad)
        for (char16_t key : row) {
            if (!key) continue;
            auto* b = new QPushButton(QString(QChar(key)), this);
            b->setFocusPolicy(Qt::NoFocus);
            connect(b, &QPushButton::clicked, this, [this, key] { press(key); });
            keys_.emplace_back(b, key);
        }
}

void calculator_dialog::init_dialog() {
    device_shell().set_input_panel(false);
    show_display();
    display_->setFocus();
}

void calculator_dialog::show_display() {
    const std::u16string& shown = logic_.display();
    // A long message (a translation) is written smaller rather than cut.
    const int largest = scaled_font_size(13);
    const int room = display_->contentsRect().width() - 6;
    const int size = room > 0 ? fitted_font_size(shown, u"Arial", largest, room) : largest;
    display_->setFont(device_font({u"Arial", size}));
    display_->setAlignment(logic_.failed() ? Qt::AlignLeft : Qt::AlignRight);
    display_->setText(QString::fromStdU16String(shown));
    display_->setCursorPosition(0);
}

void calculator_dialog::press(char16_t key) {
    if (ended()) return;
    logic_.press(key);
    show_display();
    if (logic_.finished()) {
        target_.set_text(logic_.result());
        // The editor recalculates as if the owner had typed the number.
        emit target_.changed();
        end_dialog(confirmed);
    }
}

void calculator_dialog::type(std::u16string_view text) {
    for (char16_t c : text)
        if (const char16_t k = pad_key_of(QChar(c))) press(k);
}

bool calculator_dialog::take_key(QKeyEvent* e) {
    switch (e->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            press(u'=');
            return true;
        case Qt::Key_Backspace:
            press(u'<');
            return true;
        case Qt::Key_Delete:
            press(u'c');
            return true;
        case Qt::Key_Escape:
            return false;
    }
    if (e->matches(QKeySequence::Paste)) {
        type(QGuiApplication::clipboard()->text().toStdU16String());
        return true;
    }
    const QString t = e->text();
    if (t.size() != 1 || !t[0].isPrint()) return false;
    // Other printable characters are no key of the calculator: they are
    // swallowed rather than shown.
    if (const char16_t k = pad_key_of(t[0])) press(k);
    return true;
}

bool calculator_dialog::eventFilter(QObject* watched, QEvent* e) {
    if (watched == display_ && e->type() == QEvent::KeyPress &&
        take_key(static_cast<QKeyEvent*>(e)))
        return true;
    return device_dialog::eventFilter(watched, e);
}

void calculator_dialog::keyPressEvent(QKeyEvent* e) {
    if (take_key(e)) return;
    device_dialog::keyPressEvent(e);
}

QRect calculator_dialog::box_rect() const {
    const int w = std::min(width() - 8, 172 * std::max(width(), 240) / 240);
    const int h = std::min(height() - 8, caption_height + 30 + 5 * 24 + 10);
    return QRect((width() - w) / 2, std::max(0, (height() - h) / 2), w, h);
}

void calculator_dialog::on_size(int, int) {
    const QRect box = box_rect();
    const int font = scaled_font_size(13);
    const int inner = box.width() - 12;
    display_->setGeometry(box.left() + 6, box.top() + caption_height + 4, inner, 24);
    show_display();
    const int top = box.top() + caption_height + 32;
    const int kw = (inner - 3 * 4) / 4;
    const int kh = (box.bottom() - 6 - top - 4 * 3) / 5;
    std::size_t k = 0;
    for (int r = 0; r < 5; ++r)
        for (int c = 0; c < 4; ++c) {
            if (!pad[r][c]) continue;
            QPushButton* b = keys_[k++].first;
            b->setFont(device_font({u"Arial", font, 700}));
            b->setGeometry(box.left() + 6 + c * (kw + 4), top + r * (kh + 3), kw, kh);
        }
}

void calculator_dialog::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect box = box_rect();
    p.fillRect(box.adjusted(2, 2, 2, 2), QColor(0, 0, 0, 60));
    p.fillRect(box, Qt::white);
    p.fillRect(QRect(box.left(), box.top(), box.width(), caption_height), QColor(30, 60, 150));
    p.setPen(Qt::white);
    p.setFont(device_font({u"Arial", 13, 700}));
    p.drawText(QRect(box.left() + 6, box.top(), box.width() - 12, caption_height),
               Qt::AlignVCenter | Qt::AlignLeft, QString::fromStdU16String(caption()));
    p.setPen(QColor(30, 60, 150));
    p.drawRect(box.adjusted(0, 0, -1, -1));
}

void open_calculator(edit_box& target) {
    calculator_dialog dialog(target);
    dialog.exec();
}

skin_button* calculator_button(form_grid& form, const skin& pieces, edit_box& target) {
    skin_button* b = form.tool_button(pieces, skin_piece::calculator_x, skin_piece::calculator_y,
                                      skin_piece::calculator_width, skin_piece::calculator_height);
    QObject::connect(b, &QAbstractButton::clicked, &target, [&target] { open_calculator(target); });
    return b;
}

}  // namespace kelvane
