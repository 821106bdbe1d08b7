#pragma once
// The editors' form: labelled rows on a grid inside a scroll area. The label
// stands in the first column, the field beside it, then a unit text and a
// small tool button; a row may also span the whole width. The form scrolls
// when the screen is too short and follows the focus there, and each resize
// writes the labels smaller before a number box gives up room, so that a
// narrow screen still shows a whole mileage.

#include <QString>
#include <QStringList>
#include <initializer_list>
#include <vector>

class QGridLayout;
class QLabel;
class QScrollArea;
class QWidget;

namespace kelvane {

class skin;
class skin_button;

class form_grid {
public:
    // The scroll area is a child of `owner`, which places it with fit().
    explicit form_grid(QWidget* owner);
    form_grid(const form_grid&) = delete;
    form_grid& operator=(const form_grid&) = delete;

    // The parent of every widget of the rows.
    QWidget* form() const { return form_; }

    // A labelled row. A field without unit or tool reaches the right edge;
    // one with a tool but no unit reaches up to the tool. Returns the label.
    QLabel* add_row(const QString& label, QWidget* field, QWidget* unit = nullptr,
                    QWidget* tool = nullptr);
    // One widget across the whole width.
    void add_wide_row(QWidget* widget);
    // Buttons side by side across the whole width, sharing it equally.
    void add_button_row(std::initializer_list<QWidget*> buttons);
    // After the last row: the height left over stays empty under the rows.
    void finish();

    // The unit after a number box, smaller than the form's text so that a
    // long unit such as "US Gallon" does not squeeze the box. A unit the
    // owner can change keeps room for the widest it may become, so that the
    // boxes stay where they are when it changes.
    QLabel* unit_label(const QString& text, const QStringList& may_become = {});
    // A small picture button for a row's tool column, out of the tab order.
    skin_button* tool_button(const skin& pieces, int piece_x, int piece_y, int piece_width,
                             int piece_height);

    // Fills the owner's client area of this size.
    void fit(int width, int height);

private:
    void follow_screen_size();
    void fit_labels(int width, int height);
    void wrap(bool on);
    // The width the form needs beside its labels: the widest unit and tool,
    // a number box holding this mileage, the margins and a scroll bar.
    int beside_labels(int height, const QString& mileage) const;

    QScrollArea* scroll_;
    QWidget* form_;
    QGridLayout* grid_;
    int rows_ = 0;
    std::vector<QLabel*> labels_;
    std::vector<QWidget*> fields_;
    std::vector<QWidget*> buttons_;
    struct unit {
        QLabel* label;
        QStringList may_become;
    };
    std::vector<unit> units_;
    void style_unit(const unit& u);
};

}  // namespace kelvane
