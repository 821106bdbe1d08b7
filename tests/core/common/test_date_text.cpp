#include <gtest/gtest.h>

#include "core/common/date_text.h"

using namespace kelvane;

TEST(date_text, styles_by_language_identifier) {
    struct row {
        std::uint16_t language;
        const char16_t* short_text;
        const char16_t* long_text;
    };
    for (const row& r :
         {row{1033, u"03/05/07", u"03/05/2007"}, row{9, u"05/03/07", u"05/03/2007"},
          row{12, u"05/03/07", u"05/03/2007"}, row{1031, u"05.03.07", u"05.03.2007"},
          row{2052, u"07/03/05", u"2007/03/05"}, row{3082, u"03/05/07", u"03/05/2007"}}) {
        EXPECT_EQ(short_date_text(r.language, 2007, 3, 5), r.short_text) << r.language;
        EXPECT_EQ(long_date_text(r.language, 2007, 3, 5), r.long_text) << r.language;
    }
    EXPECT_EQ(short_date_text(1033, 2000, 12, 31), u"12/31/00");
}
