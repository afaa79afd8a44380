#include <gtest/gtest.h>

#include "AppState.h"
#include "MarginNumber.h"
#include "PageLayout.h"
#include "PrinterSetUp.h"
#include "RecordingSurface.h"

namespace qm {
namespace {

using Printed = test::RecordingSurface::Printed;

// Print area from 10 to 110 mm, h = 4 mm, ten steps a page: the body runs from y = 16 and the
// page is full once y passes 36, so a column holds six lines. Characters are 2 mm wide.
class PageLayoutTest : public ::testing::Test {
  protected:
    PageLayout Layout() {
        return PageLayout(surface_, geometry_, pageNo_, "ABC", QDate(2026, 3, 7));
    }
    std::vector<std::tuple<double, double, QString>> Body(int page = 0) const {
        std::vector<std::tuple<double, double, QString>> body;
        for (const Printed& p : surface_.Body()) {
            if (page == 0 || p.page == page)
                body.emplace_back(p.x, p.y, p.text);
        }
        return body;
    }

    test::RecordingSurface surface_{4};
    PageGeometry geometry_{10, 110, 4, 10};
    std::int16_t pageNo_ = 1;
};

using Row = std::tuple<double, double, QString>;

TEST_F(PageLayoutTest, HeaderHasDateCaptionPageAndRule) {
    pageNo_ = 12;
    Layout().PrintPageHeader();
    std::vector<Row> header;
    for (const Printed& p : surface_.printed)
        header.emplace_back(p.x, p.y, p.text);
    // The caption's middle lies at PrintRightEdge / 2 + LeftMerge.
    EXPECT_EQ(header,
              (std::vector<Row>{{10, 4, "2026.03.07"}, {62, 4, "ABC"}, {96, 4, "Page 12"}}));
    ASSERT_EQ(surface_.lines.size(), 1u);
    const auto& rule = surface_.lines[0];
    EXPECT_DOUBLE_EQ(rule.y1, 8.8);
    EXPECT_DOUBLE_EQ(rule.y2, 8.8);
    EXPECT_EQ(std::tuple(rule.x1, rule.x2, rule.width), std::tuple(10.0, 110.0, 3));
}

TEST_F(PageLayoutTest, SideBySideKeepsRowsAlignedWhileAConvertedLineWraps) {
    // Columns 49 mm wide: the left at 10, the right at 59. The 60-character converted line
    // wraps after 24 characters twice; the left column skips its turns meanwhile.
    Layout().PrintSideBySide("G00\r\nM30\r\n", QString(60, 'x') + "\r\nEnd");
    const std::vector<Row> expected = {{10, 16, "G00"},
                                       {59, 16, QString(24, 'x')},
                                       {59, 20, QString(24, 'x')},
                                       {59, 24, QString(12, 'x')},
                                       {59, 28, "End"},
                                       {10, 32, "M30"},
                                       {10, 32, ""},
                                       {59, 36, ""}};
    EXPECT_EQ(Body(), expected);
}

TEST_F(PageLayoutTest, OneTextInTwoColumnsFillsTheFirstThenTheSecondThenANewPage) {
    QStringList lines;
    for (int i = 1; i <= 14; ++i)
        lines << QStringLiteral("L%1").arg(i);
    Layout().PrintOneText(lines.join("\r\n"), 2);
    const auto body = Body();
    ASSERT_EQ(body.size(), 14u);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(body[i], Row(10, 16 + 4 * i, lines[i]));
    for (int i = 6; i < 12; ++i)
        EXPECT_EQ(body[i], Row(66, 16 + 4 * (i - 6), lines[i]));  // 110 / 2 + 10 + 1
    EXPECT_EQ(Body(2), (std::vector<Row>{{10, 16, "L13"}, {10, 20, "L14"}}));
    EXPECT_EQ(pageNo_, 2);
    EXPECT_EQ(surface_.printed[surface_.printed.size() - 3].text, "Page 2");
}

TEST_F(PageLayoutTest, LineEndsEmptyTextsAndWideLastPieces) {
    Layout().PrintOneText("", 1);
    Layout().PrintSideBySide("", "");
    EXPECT_TRUE(Body().empty());

    Layout().PrintOneText("A\r\n", 1);  // a final line end leaves one empty line
    EXPECT_EQ(Body(), (std::vector<Row>{{10, 16, "A"}, {10, 20, ""}}));

    surface_.printed.clear();
    // After the last line end the rest is printed whole; without any line end it is cut once.
    Layout().PrintOneText("short\r\n" + QString(100, 'w'), 1);
    Layout().PrintOneText(QString(100, 'v'), 1);
    EXPECT_EQ(Body(), (std::vector<Row>{{10, 16, "short"},
                                        {10, 20, QString(100, 'w')},
                                        {10, 16, QString(45, 'v')},
                                        {10, 20, QString(55, 'v')}}));
}

TEST_F(PageLayoutTest, ColumnTooNarrowForOneCharacterStillEnds) {
    geometry_.PrintRightEdge = 15;
    Layout().PrintOneText("ABC\r\n", 1);
    // The forced cut leaves the line end on a row of its own.
    EXPECT_EQ(Body(),
              (std::vector<Row>{
                  {10, 16, "A"}, {10, 20, "B"}, {10, 24, "C"}, {10, 28, ""}, {10, 32, ""}}));
}

TEST(PrinterSetUp, PageGeometryInWholeMillimetres) {
    AppState state;
    const auto geometry = [&] {
        return std::tuple(state.PrintLineHeight, state.PrintLinesPerPage, state.PrintRightEdge);
    };
    SetPageGeometry(state, {4.4, 190.5, 287});
    EXPECT_EQ(geometry(), std::tuple(4, 71, 190));  // 190.5 rounds to even
    state.RightMerge = 20;
    SetPageGeometry(state, {0.3, 200, 100});  // a tiny font counts as 1 mm
    EXPECT_EQ(geometry(), std::tuple(1, 100, 180));
}

TEST(MarginNumber, ReadsTheLeadingNumberRoundingHalvesToEven) {
    const std::pair<const char*, int> cases[] = {
        {"abc", 0}, {"", 0},      {"7.5", 8},
        {"6.5", 6}, {"12.5", 12}, {" 13.5", 14},
        {"-5", -5}, {"12mm", 12}, {"99999999999", 2147483647}};
    for (const auto& [text, number] : cases)
        EXPECT_EQ(ReadMarginNumber(text), number) << text;
}

}  // namespace
}  // namespace qm
