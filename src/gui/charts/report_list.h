#pragma once
// The rows of the reports page: each report's name and explanation beside
// its 32 x 32 picture from the skin (a line chart or a pie).

#include <string>
#include <vector>

#include "gui/widgets/drawn_list.h"

namespace kelvane {

class skin;

class report_list : public drawn_list {
    Q_OBJECT
public:
    struct row {
        std::u16string name;
        std::u16string explanation;
        int picture = 0;  // the skin's report picture n
    };

    explicit report_list(const skin& pieces, QWidget* parent = nullptr);

    void add_row(std::u16string_view name, std::u16string_view explanation, int picture);
    void clear_rows();
    int row_count() const override { return static_cast<int>(rows_.size()); }
    // Rows as high as their picture or their two lines of text, whichever
    // is higher on the screen shown now.
    void fit_rows();
    const row& row_at_index(int i) const { return rows_[static_cast<std::size_t>(i)]; }

protected:
    void draw_row(dc& d, int index, const kelvane::rect& r, bool selected) override;

private:
    const skin& pieces_;
    std::vector<row> rows_;
};

}  // namespace kelvane
