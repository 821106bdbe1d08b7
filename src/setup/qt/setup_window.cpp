#include "setup/qt/setup_window.h"

#include <QPalette>
#include <QPixmap>

#include "platform/qt/qpainter_dc.h"
#include "setup/setup_button_face.h"
#include "setup/setup_texts.h"

namespace kelvane {

namespace {

QString qstr(std::u16string_view s) {
    return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size()));
}

// The pages' texts: the device's "System" face at 16 pixels, smoothed as a
// desktop shows text.
QFont page_font() {
    QFont f = device_font({u"System", 16, 400});
    f.setStyleStrategy(QFont::PreferAntialias);
    return f;
}

constexpr int text_left = 175;
constexpr int text_width = setup_window::client_width - text_left - 15;

}  // namespace

setup_window::setup_window(setup_platform& platform, QWidget* parent)
    : QWidget(parent), platform_(platform) {
    setWindowTitle(qstr(setup_caption));
    setFixedSize(client_width, page_height + band_height);
    const QPixmap picture(QStringLiteral(":/setup/setup_page.png"));

    QWidget* language = make_page(picture);
    add_text(language, {text_left, 24, text_width, 60}, setup_welcome_text);
    add_text(language, {text_left, 120, text_width, 26}, setup_select_language_text);
    languages_ = new QComboBox(language);
    for (const auto name : setup_language_names) languages_->addItem(qstr(name));
    languages_->setGeometry(text_left, 150, 160, 26);
    languages_->setCurrentIndex(0);
    connect(languages_, &QComboBox::currentIndexChanged, this,
            [this](int row) { wizard_.choose_language_row(row); });

    QWidget* note = make_page(picture);
    add_text(note, {text_left, 24, text_width, 30}, setup_note_title);
    note_ = add_text(note, {text_left, 64, text_width, 200}, u"");

    QWidget* finish = make_page(picture);
    finish_ = add_text(finish, {text_left, 24, text_width, 100}, u"");
    pages_ = {language, note, finish};

    const int y = page_height + 5, h = band_height - 10, w = 75;
    back_ = new setup_button(this);
    back_->setGeometry(client_width - 15 - 3 * w - 10, y, w, h);
    next_ = new setup_button(this);
    next_->setGeometry(client_width - 15 - 2 * w - 10, y, w, h);
    cancel_ = new setup_button(this);
    cancel_->setGeometry(client_width - 15 - w, y, w, h);
    connect(next_, &QAbstractButton::clicked, this,
            [this] { carry_out(wizard_.press_next(platform_)); });
    connect(back_, &QAbstractButton::clicked, this, [this] { carry_out(wizard_.back()); });
    // Cancel, and Finish on the last page, close at once without asking.
    connect(cancel_, &QAbstractButton::clicked, this, &QWidget::close);
    refresh();
}

QWidget* setup_window::make_page(const QPixmap& picture) {
    auto* page = new QWidget(this);
    page->setGeometry(0, 0, client_width, page_height);
    page->setAutoFillBackground(true);
    QPalette white = page->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    page->setPalette(white);
    auto* bitmap = new QLabel(page);
    bitmap->setPixmap(picture);
    bitmap->setGeometry(0, 0, 160, page_height);
    return page;
}

QLabel* setup_window::add_text(QWidget* page, const QRect& where, std::u16string_view text) {
    auto* label = new QLabel(qstr(text), page);
    label->setFont(page_font());
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setGeometry(where);
    return label;
}

void setup_window::carry_out(setup_wizard::action a) {
    if (a == setup_wizard::action::close) {
        close();
        return;
    }
    if (a == setup_wizard::action::show_page) refresh();
}

void setup_window::refresh() {
    const auto& texts = wizard_.texts();
    note_->setText(qstr(note_page_text(wizard_.shown_language(), platform_.install_folder())));
    finish_->setText(qstr(texts.installed));
    next_->setText(qstr(wizard_.next_text()));
    back_->setText(qstr(wizard_.back_text()));
    cancel_->setText(qstr(wizard_.cancel_text()));
    back_->set_text_colour(wizard_.back_greyed() ? setup_button_greyed_text : setup_button_text);
    back_->setVisible(wizard_.next_and_back_shown());
    next_->setVisible(wizard_.next_and_back_shown());
    for (std::size_t i = 0; i < pages_.size(); ++i)
        pages_[i]->setVisible(static_cast<int>(i) == static_cast<int>(wizard_.current()));
}

}  // namespace kelvane
