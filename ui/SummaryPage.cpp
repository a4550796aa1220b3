#include "SummaryPage.h"

#include "Fonts.h"
#include "GradeScale.h"
#include "Widgets.h"

namespace kwizmar {

TSummaryPage::TSummaryPage(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("Panel4"));
    setAutoFillBackground(true);
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    const int width = 511;
    const char* names[] = {"RxLabel5", "RxLabel6", "RxLabel7", "RxLabel8", "RxLabel9", "RxLabel10"};
    const int heights[] = {27, 24, 21, 27, 27, 27};
    int y = 24;
    for (std::size_t i = 0; i < 6; ++i) {
        auto* line = new TShadowLabel(names[i], this);
        line->setFont(UiFont("Times New Roman", heights[i], i == 5));
        // Clear of the panel's frame, also for a name that fills the line.
        line->setGeometry(10, y, width - 20, heights[i] + 14);
        line->setToolTip(QStringLiteral("Podsumowanie"));
        line->SetShadow(false);
        y += heights[i] + 14;
        RxLabel[i] = line;
    }
    QPalette red = RxLabel[5]->palette();
    red.setColor(QPalette::WindowText, Qt::red);
    RxLabel[5]->setPalette(red);
    RxLabel[5]->SetShadow(true);

    LabelZapis = MakeLabel(this, "LabelZapis", QString(), QRect(2, y + 4, width - 4, 24));
    QFont note = UiFont("Times New Roman", 18);
    note.setItalic(true);
    LabelZapis->setFont(note);
    LabelZapis->setAlignment(Qt::AlignCenter);
    LabelZapis->setToolTip(QStringLiteral("Podsumowanie"));
    LabelZapis->hide();

    Proba = MakeTrialNote(this, QRect(8, 4, width - 16, 18));

    Panel8 = new QFrame(this);
    Panel8->setObjectName(QStringLiteral("Panel8"));
    Panel8->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel8->setAutoFillBackground(true);
    Panel8->setGeometry(0, 0, width, 305);
    Label25 = MakeLabel(Panel8, "Label25", QString::fromStdString(GradeScaleText()),
                        QRect(20, 10, width - 40, 285));
    Label25->setFont(UiFont("Times New Roman", 22, true));
    Label25->setAlignment(Qt::AlignCenter);
    Panel8->hide();
}

} // namespace kwizmar
