#include "gui/tools/calculator_dialog.h"

#include <QKeyEvent>
#include <QPainter>

#include "core/common/scaled_font.h"
#include "gui/widgets/edit_box.h"
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

}  // namespace

calculator_dialog::calculator_dialog(edit_box& target, QWidget* parent)
    : device_dialog(parent), target_(target), logic_(target.get_text()) {
    set_overlay(true);
    set_caption(u"Kelvane");
    display_ = new QLineEdit(this);
    display_->setAlignment(Qt::AlignRight);
    display_->setMaxLength(100);
    connect(display_, &QLineEdit::textEdited, this,
            [this](const QString& t) { logic_.set_display(t.toStdU16String()); });
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
    display_->setText(QString::fromStdU16String(logic_.display()));
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
    display_->setText(QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size())));
    logic_.set_display(text);
}

void calculator_dialog::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        press(u'=');
        return;
    }
    const QString t = e->text();
    if (t.size() == 1 && QString("+-*/").contains(t)) {
        press(t[0].unicode());
        return;
    }
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
    display_->setFont(device_font({u"Arial", font}));
    const int inner = box.width() - 12;
    display_->setGeometry(box.left() + 6, box.top() + caption_height + 4, inner, 24);
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

}  // namespace kelvane
