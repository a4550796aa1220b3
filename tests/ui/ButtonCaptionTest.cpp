// The flat picture buttons as they are drawn: a caption that can be read on
// whatever lies under the button, in every state of the button.

#include "ExamWindowFixture.h"
#include "Pictures.h"

#include <QAbstractButton>
#include <QTest>

#include <algorithm>
#include <utility>
#include <vector>

using namespace kwizmar;
using namespace kwizmar::testing;

namespace {

constexpr int kBevel = 3;

// The strongest contrast against the background in each row, inside the bevel.
std::vector<double> RowContrasts(const QImage& picture) {
    const QRgb background = Background(picture);
    std::vector<double> rows(static_cast<std::size_t>(picture.height()), 1.0);
    for (int y = kBevel; y < picture.height() - kBevel; ++y)
        for (int x = kBevel; x < picture.width() - kBevel; ++x)
            rows[static_cast<std::size_t>(y)] = std::max(rows[static_cast<std::size_t>(y)],
                                                         Contrast(picture.pixel(x, y), background));
    return rows;
}

// The rows of the caption, found where it is plainly seen (the button at
// rest, caption and background in their own colours): the lowest band of rows
// with something that stands out in it; the glyph stands above, apart from it.
std::pair<int, int> CaptionRows(QWidget* button) {
    const std::vector<double> rows = RowContrasts(Picture(button));
    int bottom = static_cast<int>(rows.size()) - 1;
    while (bottom > 0 && rows[static_cast<std::size_t>(bottom)] < 3.0)
        --bottom;
    int top = bottom; // a quiet row may part the letters from their underline
    for (int y = bottom - 1, quiet = 0; y > 0 && quiet < 2; --y) {
        quiet = rows[static_cast<std::size_t>(y)] > 1.5 ? 0 : quiet + 1;
        if (quiet == 0)
            top = y;
    }
    return {top, bottom};
}

// The caption's contrast in the button's present state: the strongest pixel
// in its rows (a row more each way, for the pressed look's shift).
double CaptionContrast(QWidget* button, std::pair<int, int> caption) {
    const std::vector<double> rows = RowContrasts(Picture(button));
    double strongest = 1.0;
    for (int y = std::max(0, caption.first - 1);
         y <= std::min<int>(caption.second + 1, static_cast<int>(rows.size()) - 1); ++y)
        strongest = std::max(strongest, rows[static_cast<std::size_t>(y)]);
    return strongest;
}

class ButtonCaptionTest : public ExamWindowTest {};

} // namespace

TEST_F(ButtonCaptionTest, EveryCaptionIsReadableInEveryState) {
    GoToQuestion(1);
    AnswerRightUpTo(1, false);
    ASSERT_TRUE(Shown("ODPPanel"));
    // The verdict's "O&K" on its dark panel, and "&Zamknij" in the column.
    for (const char* name : {"SpeedButton8", "SpeedButton1"}) {
        SCOPED_TRACE(name);
        QAbstractButton* button = Button(name);
        ASSERT_TRUE(button->isVisible() && button->isEnabled());
        const auto caption = CaptionRows(button);
        ASSERT_GT(caption.second - caption.first, 5);
        EXPECT_GE(CaptionContrast(button, caption), 4.5) << "normal";

        QTest::mouseMove(button, button->rect().center());
        ASSERT_TRUE(QTest::qWaitFor([&] { return button->underMouse(); }, 2000));
        EXPECT_GE(CaptionContrast(button, caption), 4.5) << "under the pointer";
        button->setDown(true);
        EXPECT_GE(CaptionContrast(button, caption), 4.5) << "pressed";
        button->setDown(false);
        QTest::mouseMove(&Window(), QPoint(1, 1));

        button->setEnabled(false);
        EXPECT_GE(CaptionContrast(button, caption), 4.5) << "disabled";
        button->setEnabled(true);
    }
}
