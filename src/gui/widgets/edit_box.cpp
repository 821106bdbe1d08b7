#include "gui/widgets/edit_box.h"

#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionFrame>

#include "core/common/parse_number.h"
#include "core/common/scaled_font.h"
#include "core/common/text.h"
#include "gui/widgets/owner_messages.h"
#include "gui/widgets/suggestion_dropdown.h"
#include "platform/qt/qpainter_dc.h"
#include "platform/services.h"

namespace kelvane {

namespace {

QString qs(std::u16string_view s) {
    return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

edit_box::edit_box(QWidget* parent) : QLineEdit(parent) {
    setFrame(true);
    connect(this, &QLineEdit::textChanged, this, &edit_box::on_text_changed);
    apply_look();
}

std::u16string edit_box::get_text() const {
    return showing_hint_ ? std::u16string() : text().toStdU16String();
}

void edit_box::set_text(std::u16string_view t) {
    suspended_ = true;
    if (t.empty() && !focused_) {
        put_hint();
    } else {
        showing_hint_ = false;
        setEchoMode(password ? QLineEdit::Password : QLineEdit::Normal);
        setText(qs(t));
    }
    filled_by_program_ = !t.empty();
    previous_length_ = static_cast<int>(text().size());
    suspended_ = false;
    update_counter();
    apply_look();
    show_start();
}

void edit_box::show_start() {
    // A box the owner is not typing in reads from its start: a mileage or a
    // folder path too long for the box keeps its leading digits or its drive
    // in view rather than its tail.
    if (!focused_) setCursorPosition(0);
}

int edit_box::text_room() const {
    QStyleOptionFrame option;
    initStyleOption(&option);
    const QRect contents = style()->subElementRect(QStyle::SE_LineEditContents, &option, this);
    const QMargins margins = textMargins();
    // The line edit keeps two pixels on each side of its text.
    return contents.width() - margins.left() - margins.right() - 4;
}

void edit_box::set_hint(std::u16string_view h) {
    hint_ = h;
    if (!focused_ && (showing_hint_ || text().isEmpty())) put_hint();
    apply_look();
}

void edit_box::put_hint() {
    const bool was = suspended_;
    suspended_ = true;
    showing_hint_ = !hint_.empty();
    setEchoMode(QLineEdit::Normal);
    setText(qs(hint_));
    suspended_ = was;
}

void edit_box::add_suggestion(std::u16string_view t, std::u16string_view note) {
    suggestions_.emplace_back(t);
    notes_.emplace_back(note);
}

void edit_box::clear_suggestions() {
    suggestions_.clear();
    notes_.clear();
}

void edit_box::set_suggestion_list(suggestion_dropdown* list) {
    list_ = list;
    if (list_) {
        list_->set_owner(this);
        list_->hide();
    }
}

void edit_box::set_prompt(QLabel* label, std::u16string_view t) {
    prompt_label_ = label;
    prompt_ = t;
}

void edit_box::set_counter_label(QLabel* label) {
    counter_ = label;
    if (counter_) counter_->hide();
}

void edit_box::set_max_length(int n) {
    max_length_ = n;
}

void edit_box::select_initial() {
    const QString t = text();
    const int n = static_cast<int>(t.size());
    if (kept_tail > 0 && n >= kept_tail) {
        // Select the leading part with the caret at its start.
        setSelection(n - kept_tail, -(n - kept_tail));
    } else if (!text_box && kept_tail == 0 && filled_by_program_ && n > 0) {
        setSelection(n, -n);
    } else if (t.startsWith(u'-')) {
        setSelection(0, 1);
    } else {
        setCursorPosition(0);
    }
}

void edit_box::update_counter() {
    if (!counter_ || max_length_ < 0) return;
    counter_->setText(QString::asprintf("%3d/%ld",
                                        showing_hint_ ? 0 : static_cast<int>(text().size()),
                                        static_cast<long>(max_length_)));
}

void edit_box::apply_look() {
    QPalette p = palette();
    // Text grows with the screen as every other text does.
    font_request wanted{u"System", scaled_font_size(13)};
    if (showing_hint_) {
        p.setColor(QPalette::Base, to_qcolor(hint_background));
        p.setColor(QPalette::Text, to_qcolor(hint_colour));
        if (hint_font) wanted = {u"宋体", scaled_font_size(14), 400, true, true};
    } else if (focused_ || !text().isEmpty()) {
        p.setColor(QPalette::Base, to_qcolor(entry_background));
        p.setColor(QPalette::Text, Qt::black);
    } else {
        p.setColor(QPalette::Base, Qt::white);
        p.setColor(QPalette::Text, Qt::black);
    }
    // A figure must be read whole: a number box too narrow for its number
    // writes it smaller rather than hiding digits.
    QFont f = device_font(wanted);
    if (!text_box && !showing_hint_) {
        const int room = text_room();
        while (wanted.pixel_height > 9 && QFontMetrics(f).horizontalAdvance(text()) > room) {
            --wanted.pixel_height;
            f = device_font(wanted);
        }
    }
    setPalette(p);
    setFont(f);
    update();
}

void edit_box::resizeEvent(QResizeEvent* e) {
    QLineEdit::resizeEvent(e);
    apply_look();
    show_start();
}

void edit_box::show_suggestions() {
    if (!list_) return;
    list_->clear_rows();
    const bool with_notes = notes_.size() == suggestions_.size();
    for (std::size_t i = 0; i < suggestions_.size(); ++i)
        list_->add_row(suggestions_[i], rgb(0, 0, 0), with_notes ? notes_[i] : std::u16string(),
                       rgb(100, 100, 100), 12, u"Arial", false, 0);
    list_->place_under(*this);
    if (list_->row_count() < 7)
        list_->resize(list_->width(),
                      std::max(1, list_->row_count()) * suggestion_dropdown::default_row_height);
    suggestions_shown_ = true;
}

void edit_box::hide_suggestions() {
    if (list_) list_->hide();
    suggestions_shown_ = false;
}

void edit_box::take_suggestion(const std::u16string& t, int index) {
    suspended_ = true;
    showing_hint_ = false;
    setEchoMode(password ? QLineEdit::Password : QLineEdit::Normal);
    setText(qs(t));
    filled_by_program_ = false;
    previous_length_ = static_cast<int>(text().size());
    suspended_ = false;
    taken_ = index;
    update_counter();
    apply_look();
    emit changed();
}

void edit_box::focusInEvent(QFocusEvent* e) {
    QLineEdit::focusInEvent(e);
    if (border_on_focus) setFrame(true);
    focused_ = true;
    focused_by_press_ = e->reason() == Qt::MouseFocusReason;
    if (showing_hint_) {
        suspended_ = true;
        showing_hint_ = false;
        setText(QString());
        previous_length_ = 0;
        suspended_ = false;
    }
    setEchoMode(password ? QLineEdit::Password : QLineEdit::Normal);
    apply_look();
    select_on_tap_ = true;
    device_shell().set_input_panel(raise_input_panel && device_shell().input_panel_allowed());
    if (list_ && !suggestions_.empty()) show_suggestions();
    if (prompt_label_) prompt_label_->setText(qs(prompt_));
    if (counter_ && max_length_ >= 0) {
        update_counter();
        counter_->show();
    }
    // A number box would switch a keypad to digits; desktops type both.
    setInputMethodHints(text_box ? Qt::ImhNone : Qt::ImhFormattedNumbersOnly);
}

void edit_box::focusOutEvent(QFocusEvent* e) {
    QLineEdit::focusOutEvent(e);
    if (border_on_focus) setFrame(false);
    focused_ = false;
    if (text().isEmpty()) put_hint();
    apply_look();
    show_start();
    hide_suggestions();
    if (prompt_label_) prompt_label_->clear();
    if (counter_) counter_->hide();
    device_shell().set_input_panel(false);
}

void edit_box::mousePressEvent(QMouseEvent* e) {
    // The press that brought the focus (it arrives after the focus) has
    // already dropped the suggestions down; only later taps toggle them.
    const bool had_focus = focused_ && !focused_by_press_;
    focused_by_press_ = false;
    QLineEdit::mousePressEvent(e);
    if (!had_focus) return;
    if (suggestions_shown_)
        hide_suggestions();
    else if (list_ && !suggestions_.empty())
        show_suggestions();
}

void edit_box::mouseReleaseEvent(QMouseEvent* e) {
    QLineEdit::mouseReleaseEvent(e);
    if (select_on_tap_) {
        select_on_tap_ = false;
        select_initial();
    }
}

void edit_box::keyPressEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter) {
        e->accept();
        return;
    }
    QLineEdit::keyPressEvent(e);
}

void edit_box::keyReleaseEvent(QKeyEvent* e) {
    if (e->key() == Qt::Key_Up || e->key() == Qt::Key_Down) select_initial();
    QLineEdit::keyReleaseEvent(e);
}

void edit_box::on_text_changed(const QString& qt_text) {
    if (suspended_) return;
    filled_by_program_ = false;
    const int length = static_cast<int>(qt_text.size());
    const bool grew = length > previous_length_;
    previous_length_ = length;
    update_counter();

    if (max_length_ >= 0 && length > max_length_ && !showing_hint_) {
        suspended_ = true;
        setText(qt_text.left(max_length_));
        setCursorPosition(max_length_);
        previous_length_ = max_length_;
        suspended_ = false;
        update_counter();
    } else if (length == 1 && qt_text[0] >= u'a' && qt_text[0] <= u'z' && !password &&
               capitalise_first) {
        // The caret goes after the capital rather than selecting it: a
        // selected capital would be replaced by the very next letter typed.
        suspended_ = true;
        setText(qt_text.toUpper());
        setCursorPosition(1);
        suspended_ = false;
    } else if (!suggestions_.empty() && autocomplete && grew) {
        // Completing only while the text grows lets the owner delete the
        // completed part instead of having it put back at once.
        hide_suggestions();
        const std::u16string typed = qt_text.toStdU16String();
        for (const auto& s : suggestions_) {
            if (s.size() >= typed.size() && starts_with_ignoring_case(s, typed)) {
                suspended_ = true;
                setText(qs(s));
                setSelection(static_cast<int>(typed.size()),
                             static_cast<int>(s.size() - typed.size()));
                previous_length_ = static_cast<int>(typed.size());
                suspended_ = false;
                break;
            }
        }
    }
    apply_look();
    emit changed();
}

bool numbers_readable(std::span<const labelled_number_box> boxes) {
    for (const labelled_number_box& b : boxes) {
        // A box put away (a repair's next service) is not saved.
        const bool put_away =
            b.box->isHidden() && b.box->testAttribute(Qt::WA_WState_ExplicitShowHide);
        if (put_away || is_number_text(b.box->get_text())) continue;
        show_not_a_number(b.label_key);
        b.box->setFocus();
        b.box->selectAll();
        return false;
    }
    return true;
}

}  // namespace kelvane
