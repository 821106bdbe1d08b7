#pragma once
// The Setup wizard's window: three pages above a band with Back, Next and
// Cancel. It shows what the wizard's logic says and carries out its actions.

#include <QComboBox>
#include <QLabel>
#include <QWidget>
#include <array>

#include "setup/qt/setup_button.h"
#include "setup/setup_platform.h"
#include "setup/setup_wizard.h"

namespace kelvane {

class setup_window : public QWidget {
    Q_OBJECT
public:
    explicit setup_window(setup_platform& platform, QWidget* parent = nullptr);

    const setup_wizard& wizard() const { return wizard_; }
    setup_button* back_button() const { return back_; }
    setup_button* next_button() const { return next_; }
    setup_button* cancel_button() const { return cancel_; }
    QComboBox* language_list() const { return languages_; }
    // The page on show (0 language, 1 note, 2 finish).
    QWidget* page(setup_wizard::page p) const { return pages_[static_cast<int>(p)]; }
    QLabel* note_text() const { return note_; }
    QLabel* finish_text() const { return finish_; }

    // The window's client size: the pages and the band of buttons below them.
    static constexpr int client_width = 480;
    static constexpr int page_height = 300;
    static constexpr int band_height = 33;

private:
    QWidget* make_page(const QPixmap& picture);
    QLabel* add_text(QWidget* page, const QRect& where, std::u16string_view text);
    void carry_out(setup_wizard::action a);
    void refresh();

    setup_platform& platform_;
    setup_wizard wizard_;
    std::array<QWidget*, 3> pages_{};
    QComboBox* languages_ = nullptr;
    QLabel* note_ = nullptr;
    QLabel* finish_ = nullptr;
    setup_button* back_ = nullptr;
    setup_button* next_ = nullptr;
    setup_button* cancel_ = nullptr;
};

}  // namespace kelvane
