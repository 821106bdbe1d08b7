#include "gui/tools/about_dialog.h"

#include <QPlainTextEdit>
#include <QPushButton>
#include <algorithm>

#include "core/common/scaled_font.h"
#include "gui/widgets/menu_items.h"
#include "gui/widgets/translated.h"
#include "platform/qt/qpainter_dc.h"

namespace kelvane {

namespace {

// The screen is drawn for a working area of 240 x 268; on any other size the
// text box takes the extra height and both controls stay centred.
constexpr int base_width = 240;
constexpr int base_height = 268;
constexpr QRect base_text_box{4, 4, 232, 226};
constexpr QRect base_button{80, 236, 80, 26};

}  // namespace

std::u16string about_text() {
    std::u16string t = u"\r\n";
    t += std::u16string(21, u' ') + u"Kelvane " + program_version + u"\r\n";
    t += u"\r\n\r\n";
    t += u"Kelvane helps vehicle owner track his vehicle related expenses such as fuel purchased, "
         u"repair and maintenance expenses and monitor fuel cost and vehicle condition through "
         u"fuel economy. It records expenses by trips, calculates fuel economy and has various "
         u"bar and pie charts to help owners monitor and analyze their vehicles\u2019 performance "
         u"and efficiency. The export feature transfers the records to owners\u2019 computer so "
         u"they can view the data in Excel or other programs on PC and never lose the data.";
    return t;
}

about_dialog::about_dialog(QWidget* parent) : device_dialog(parent) {
    set_caption(u"Kelvane");
    text_ = new QPlainTextEdit(this);
    text_->setReadOnly(true);
    text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    text_->setWordWrapMode(QTextOption::WordWrap);
    text_->setGeometry(base_text_box);
    back_ = new QPushButton(this);
    back_->setGeometry(base_button);
    connect(back_, &QPushButton::clicked, this, [this] { end_dialog(dismissed); });
}

void about_dialog::init_dialog() {
    set_menu({menu_command(u"Close", close_command)});
    // The box shows line breaks as the owner expects, not as carriage returns.
    text_->setPlainText(
        to_qstring(about_text()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    back_->setText(translated(u"Back"));
    back_->setFocus();
}

void about_dialog::on_command(int command) {
    if (command == close_command) end_dialog(dismissed);
}

void about_dialog::on_size(int width, int height) {
    // Placed from the drawn layout each time rather than moved by each change:
    // halving odd width changes one by one would let the controls drift off
    // centre while the window is resized.
    const int dx = (width - base_width) / 2;
    const int dy = height - base_height;
    text_->setGeometry(base_text_box.left() + dx, base_text_box.top(), base_text_box.width(),
                       std::max(0, base_text_box.height() + dy));
    back_->setGeometry(base_button.left() + dx, base_button.top() + dy, base_button.width(),
                       base_button.height());
    QFont font = device_font({u"System", scaled_font_size(12)});
    back_->setFont(font);
    // The box breaks its lines by the font's smooth measures; the crisp
    // glyphs of the screen font come out wider and would run under the scroll bar.
    font.setStyleStrategy(QFont::PreferDefault);
    font.setHintingPreference(QFont::PreferDefaultHinting);
    text_->setFont(font);
}

void open_about() {
    about_dialog dialog;
    dialog.exec();
}

}  // namespace kelvane
