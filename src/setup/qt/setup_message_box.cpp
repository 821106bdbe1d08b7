#include "setup/qt/setup_message_box.h"

#include <QMessageBox>

namespace kelvane {

namespace {

QString qstr(std::u16string_view s) {
    return QString::fromUtf16(s.data(), static_cast<qsizetype>(s.size()));
}

}  // namespace

message_answer setup_message_box::show(std::u16string_view text, std::u16string_view caption,
                                       message_buttons buttons) {
    switch (buttons) {
        case message_buttons::yes_no:
            return QMessageBox::question(parent_, qstr(caption), qstr(text),
                                         QMessageBox::Yes | QMessageBox::No) == QMessageBox::No
                       ? message_answer::no
                       : message_answer::yes;
        case message_buttons::ok_cancel:
            return QMessageBox::warning(parent_, qstr(caption), qstr(text),
                                        QMessageBox::Ok | QMessageBox::Cancel) ==
                           QMessageBox::Cancel
                       ? message_answer::cancel
                       : message_answer::ok;
        case message_buttons::ok:
            break;
    }
    QMessageBox::warning(parent_, qstr(caption), qstr(text));
    return message_answer::ok;
}

}  // namespace kelvane
