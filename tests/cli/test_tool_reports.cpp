// kelvane-tool's reports and pictures as a person or a script reads them:
// the economy over the whole distance, the span of days asked for or found,
// days and amounts written plainly, and pictures in the format their name says.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <png.h>

#include "tool_run_support.h"

namespace kelvane::test {
namespace {

using ::testing::HasSubstr;
using ::testing::Not;

// Full tanks of 50 litres: stretches of 500 km on 40 l (8.00 l/100 km), 100
// km on 10 l (10.00) and 1000 km on 50 l (5.00). Over the whole 1600 km the
// car used 100 l: 6.25 l/100 km, the figures weighted by their distances.
class tool_reports : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(0, root.run({"add-account", "Car", "--tank", "50"}).code);
        const char* fills[][3] = {{"2024-01-10", "1000", "40"},
                                  {"2024-02-10", "1500", "40"},
                                  {"2024-03-10", "1600", "10"},
                                  {"2024-04-10", "2600", "50"}};
        for (const auto& f : fills)
            ASSERT_EQ(0, root.run({"add-fuel", "--date", f[0], "--mileage", f[1], "--quantity",
                                   f[2], "--price", "1.759"})
                             .code);
    }
    tool_root root;
};

TEST_F(tool_reports, economy_report_gives_the_economy_over_the_whole_distance) {
    const auto text = root.run({"report", "economy"});
    ASSERT_EQ(0, text.code) << text.err;
    EXPECT_THAT(text.out, HasSubstr("Average fuel economy: 6.25"));
    EXPECT_THAT(text.out, Not(HasSubstr("%")));
    EXPECT_THAT(text.out, Not(HasSubstr("Total")));

    const auto json = root.run({"report", "0", "--json"});
    ASSERT_EQ(0, json.code) << json.err;
    EXPECT_THAT(json.out, HasSubstr("\"economy\":6.25,"));
    EXPECT_THAT(json.out, HasSubstr("\"total\":null,"));
    EXPECT_THAT(json.out, HasSubstr("\"legend\":[\"name\",\"value\",\"date\"]"));
    // Without limits the span is that of the fill-ups the report shows.
    EXPECT_THAT(json.out, HasSubstr("\"earliest\":\"2024-01-10\",\"latest\":\"2024-03-10\""));
}

TEST_F(tool_reports, json_holds_the_span_asked_for_and_iso_days) {
    ASSERT_EQ(0, root.run({"add-fee", "--date", "2024-03-01", "--cost", "0.1"}).code);
    ASSERT_EQ(0, root.run({"add-fee", "--date", "2024-03-02", "--cost", "0.2"}).code);
    for (const char* kind : {"economy", "expenses", "fees"}) {
        SCOPED_TRACE(kind);
        const auto json =
            root.run({"report", kind, "--from", "2024-02-01", "--to", "2024-03-31", "--json"});
        ASSERT_EQ(0, json.code) << json.err;
        EXPECT_THAT(json.out, HasSubstr("\"earliest\":\"2024-02-01\",\"latest\":\"2024-03-31\""));
        EXPECT_THAT(json.out, Not(HasSubstr("/24")));
    }
    const auto fees = root.run({"report", "fees", "--from", "2024-03-02", "--json"});
    EXPECT_THAT(fees.out, HasSubstr("\"value\":0.2,"));
    EXPECT_THAT(fees.out, HasSubstr("\"date\":\"2024-03-02\""));
    // A side not asked for is the day found.
    EXPECT_THAT(fees.out, HasSubstr("\"earliest\":\"2024-03-02\",\"latest\":\"2024-03-02\""));

    // Amounts to the cent and prices to 3 decimals, whatever binary
    // fractions the sums leave behind.
    const auto accounts = root.run({"accounts", "--json"});
    EXPECT_THAT(accounts.out, HasSubstr("\"total_cost\":246.56}"));  // 140 l at 1.759, 0.1, 0.2
    const auto records = root.run({"records", "--json"});
    EXPECT_THAT(records.out, HasSubstr("\"price\":1.759,"));
    EXPECT_THAT(records.out, HasSubstr("\"economy\":8}"));
    const auto expenses = root.run({"report", "expenses", "--json"});
    EXPECT_THAT(expenses.out, HasSubstr("\"total\":246.56,"));
}

struct png_picture {
    png_uint_32 width = 0, height = 0;
    std::vector<std::uint8_t> rgb;  // rows top first
};

bool read_png(const std::filesystem::path& p, png_picture& out) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, p.c_str())) return false;
    image.format = PNG_FORMAT_RGB;
    out.width = image.width;
    out.height = image.height;
    out.rgb.resize(PNG_IMAGE_SIZE(image));
    return png_image_finish_read(&image, nullptr, out.rgb.data(), 0, nullptr) != 0;
}

TEST_F(tool_reports, pictures_take_the_format_their_name_says) {
    const auto png = root.path() / "economy.PNG", bmp = root.path() / "economy.bmp";
    ASSERT_EQ(0, root.run({"chart", "economy", "--out", png.string(), "--size", "320x240"}).code);
    ASSERT_EQ(0, root.run({"chart", "economy", "--out", bmp.string(), "--size", "320x240"}).code);

    // The same chart in both: every pixel of the PNG is the bitmap's.
    png_picture picture;
    ASSERT_TRUE(read_png(png, picture));
    ASSERT_EQ(320u, picture.width);
    ASSERT_EQ(240u, picture.height);
    const auto bitmap = file_bytes(bmp);
    const std::size_t row_size = 320 * 3;
    bool same = true;
    for (std::size_t y = 0; y < 240; ++y)
        for (std::size_t x = 0; x < 320; ++x) {
            const std::size_t from = 54 + (239 - y) * row_size + 3 * x;  // bottom-up, BGR
            const std::size_t to = y * row_size + 3 * x;
            same = same && bitmap.at(from + 2) == picture.rgb[to] &&
                   bitmap.at(from + 1) == picture.rgb[to + 1] &&
                   bitmap.at(from) == picture.rgb[to + 2];
        }
    EXPECT_TRUE(same);

    const auto gif = root.run({"chart", "0", "--out", (root.path() / "economy.gif").string()});
    EXPECT_EQ(2, gif.code);
    EXPECT_THAT(gif.err, HasSubstr(".png or .bmp"));
    EXPECT_FALSE(std::filesystem::exists(root.path() / "economy.gif"));
}

// A target in a folder that is not there is refused with the folder's name,
// and no folder is made.
TEST_F(tool_reports, writing_into_a_missing_folder_is_refused) {
    const auto missing = root.path() / "no such folder";
    const std::vector<std::vector<std::string>> commands = {
        {"export", "Car", (missing / "car.csv").string()},
        {"chart", "0", "--out", (missing / "car.png").string()},
        {"backup", (missing / "backup").string()},
    };
    for (const auto& args : commands) {
        SCOPED_TRACE(args.front());
        const auto result = root.run(args);
        EXPECT_EQ(1, result.code);
        EXPECT_THAT(result.err, HasSubstr("no folder '" + missing.string() + "'"));
        EXPECT_FALSE(std::filesystem::exists(missing));
    }
    // The backup folder itself is made, inside a folder that is there.
    EXPECT_EQ(0, root.run({"backup", (root.path() / "backup").string() + "/"}).code);
}

}  // namespace
}  // namespace kelvane::test
