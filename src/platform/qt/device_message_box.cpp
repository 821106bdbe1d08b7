#include "platform/qt/device_message_box.h"

#include <QKeyEvent>
#include <QPainter>

#include "platform/qt/qpainter_dc.h"
#include "platform/screen_scale.h"
#include "platform/services.h"

namespace kelvane {

namespace {

struct button_words {
    const char16_t* ok;
    const char16_t* cancel;
    const char16_t* yes;
    const char16_t* no;
};

// The words of the device's own buttons in the languages the device reports.
const button_words& button_words_for(std::uint16_t language) {
    static constexpr button_words english{u"OK", u"Cancel", u"Yes", u"No"};
    static constexpr button_words french{u"OK", u"Annuler", u"Oui", u"Non"};
    static constexpr button_words german{u"OK", u"Abbrechen", u"Ja", u"Nein"};
    static constexpr button_words chinese{u"\u786E\u5B9A", u"\u53D6\u6D88", u"\u662F", u"\u5426"};
    switch (language) {
        case 12:
            return french;
        case 1031:
            return german;
        case 2052:
            return chinese;
        default:
            return english;
    }
}

// A button's word: the program's language table has the last say, so that a
// question in French is answered "Oui" or "Non" whatever the device's own
// language; a word the table does not know is the device's.
QString button_word(const char16_t* english, const char16_t* device_word) {
    if (const text_translator* t = services().translator) {
        const std::u16string w = t->translate(english);
        if (!w.empty() && w != english) return QString::fromStdU16String(w);
    }
    return QString::fromStdU16String(device_word);
}

}  // namespace

namespace {

// Sizes on the handheld's 240 x 320 screen; larger screens scale them by
// the same length ratio as the program's text.
constexpr int caption_height = 20;
constexpr int button_height = 22;
constexpr int button_width = 60;
constexpr int box_width = 220;
constexpr int text_size = 13;

int scaled(int length) {
    return scaled_length(length, device().screen_width(), device().screen_height());
}

// The text as shown: a long path may break after any of its separators, so
// that it wraps inside the box instead of running past its edge.
QString breakable(const std::u16string& text) {
    QString shown = QString::fromStdU16String(text);
    shown.replace(u'/', QStringLiteral("/\u200B"));
    shown.replace(u'\\', QStringLiteral("\\\u200B"));
    return shown;
}

}  // namespace

device_message_box::device_message_box(std::u16string_view text, std::u16string_view caption,
                                       message_buttons buttons, QWidget* parent)
    : device_dialog(parent),
      text_(text),
      buttons_(buttons),
      answer_(buttons == message_buttons::ok ? message_answer::ok : message_answer::cancel) {
    set_overlay(true);
    set_caption(std::u16string(caption));
    label_ = new QLabel(breakable(text_), this);
    label_->setTextFormat(Qt::PlainText);
    label_->setWordWrap(true);
    label_->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    label_->setFont(device_font({u"Arial", scaled(text_size)}));
    const button_words& words = button_words_for(device().language_id());
    switch (buttons) {
        case message_buttons::ok:
            add_button(button_word(u"OK", words.ok), message_answer::ok);
            break;
        case message_buttons::yes_no:
            add_button(button_word(u"Yes", words.yes), message_answer::yes);
            add_button(button_word(u"No", words.no), message_answer::no);
            answer_ = message_answer::no;
            break;
        case message_buttons::ok_cancel:
            add_button(button_word(u"OK", words.ok), message_answer::ok);
            add_button(button_word(u"Cancel", words.cancel), message_answer::cancel);
            break;
    }
}

void device_message_box::add_button(const QString& word, message_answer a) {
    auto* b = new QPushButton(word, this);
    b->setFont(device_font({u"Arial", scaled(text_size)}));
    connect(b, &QPushButton::clicked, this, [this, a] { press(a); });
    buttons_list_.emplace_back(b, a);
}

bool device_message_box::press(message_answer a) {
    for (auto& [b, answer] : buttons_list_)
        if (answer == a) {
            answer_ = a;
            end_dialog(confirmed);
            return true;
        }
    return false;
}

QRect device_message_box::box_rect() const {
    const int w = std::min(scaled(box_width), width() - 12);
    const QFontMetrics fm(label_->font());
    const QRect text = fm.boundingRect(QRect(0, 0, w - 16, 1000), Qt::TextWordWrap, label_->text());
    const int h = scaled(caption_height) + std::max(text.height(), scaled(28)) + 16 +
                  scaled(button_height) + 8;
    return QRect((width() - w) / 2, std::max(0, (height() - h) / 2), w, std::min(h, height()));
}

void device_message_box::on_size(int, int) {
    const QFont font = device_font({u"Arial", scaled(text_size)});
    label_->setFont(font);
    const QRect box = box_rect();
    const int caption = scaled(caption_height), bh = scaled(button_height);
    label_->setGeometry(box.left() + 8, box.top() + caption + 8, box.width() - 16,
                        box.height() - caption - bh - 24);
    const int n = static_cast<int>(buttons_list_.size());
    const int bw = scaled(button_width), gap = 8;
    int x = box.left() + (box.width() - n * bw - (n - 1) * gap) / 2;
    for (auto& [b, a] : buttons_list_) {
        b->setFont(font);
        b->setGeometry(x, box.bottom() - bh - 6, bw, bh);
        x += bw + gap;
    }
}

void device_message_box::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect box = box_rect();
    p.fillRect(box.adjusted(2, 2, 2, 2), QColor(0, 0, 0, 60));
    p.fillRect(box, Qt::white);
    const int caption_h = scaled(caption_height);
    p.fillRect(QRect(box.left(), box.top(), box.width(), caption_h), QColor(30, 60, 150));
    p.setPen(Qt::white);
    p.setFont(device_font({u"Arial", scaled(text_size), 700}));
    p.drawText(QRect(box.left() + 6, box.top(), box.width() - 12, caption_h),
               Qt::AlignVCenter | Qt::AlignLeft, QString::fromStdU16String(caption()));
    p.setPen(QColor(30, 60, 150));
    p.drawRect(box.adjusted(0, 0, -1, -1));
}

void device_message_box::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        press(buttons_list_.front().second);
        return;
    }
    if (e->key() == Qt::Key_Escape) {
        press(buttons_ == message_buttons::yes_no ? message_answer::no
              : buttons_ == message_buttons::ok   ? message_answer::ok
                                                  : message_answer::cancel);
        return;
    }
    device_dialog::keyPressEvent(e);
}

message_answer device_message_box_service::show(std::u16string_view text,
                                                std::u16string_view caption,
                                                message_buttons buttons) {
    device_message_box box(text, caption, buttons);
    box.exec();
    return box.answer();
}

}  // namespace kelvane
