// Text that reads well: every text of the windows other than the exam's, and
// the percentages on the exam page's gauges, stand out from their ground at
// least 4.5 : 1.

#include "Pictures.h"
#include "ProgramWindows.h"
#include "Widgets.h"

#include <QLabel>
#include <QLineEdit>

using namespace kwizmar;
using namespace kwizmar::testing;

namespace {

constexpr double kReadable = 4.5;

} // namespace

TEST(GaugeText, ThePercentageReadsOnTheBarAndBesideIt) {
    for (const QColor& colour : {QColor(Qt::blue), QColor(Qt::red), QColor(0, 255, 0)})
        for (int value : {0, 100}) {
            SCOPED_TRACE(colour.name().toStdString() + " at " + std::to_string(value));
            TGaugeBar gauge("Gauge", colour, nullptr);
            gauge.resize(90, 13); // as on the exam page
            gauge.setValue(value);
            // Inside the bar's edge, where the text is.
            EXPECT_GE(StrongestContrast(Picture(&gauge), 2), kReadable);
        }
}

TEST_F(ProgramWindowsTest, EveryTextReadsWell) {
    for (const char* name : WindowNames()) {
        SCOPED_TRACE(name);
        QWidget* window = Open(name);
        ASSERT_NE(window, nullptr);
        for (QLabel* label : window->findChildren<QLabel*>()) {
            if (!label->isVisibleTo(window) || label->text().isEmpty() || label->window() != window)
                continue;
            EXPECT_GE(StrongestContrast(Picture(label)), kReadable)
                << label->objectName().toStdString() << " " << label->text().toStdString();
        }
        // The hint an empty field shows.
        for (QLineEdit* field : window->findChildren<QLineEdit*>())
            if (field->isVisibleTo(window) && field->text().isEmpty() &&
                !field->placeholderText().isEmpty()) {
                field->clearFocus();
                EXPECT_GE(StrongestContrast(Picture(field), 3), kReadable)
                    << field->objectName().toStdString();
            }
        window->close();
    }
}
