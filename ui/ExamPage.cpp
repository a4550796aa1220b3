#include "ExamPage.h"

#include "Accessibility.h"
#include "AnswerLetters.h"
#include "ExamPageGeometry.h"
#include "Fonts.h"
#include "Glyphs.h"
#include "SpeedButton.h"
#include "Widgets.h"
#include "WrapDisplayLines.h"

#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>

namespace kwizmar {

namespace {

using namespace exam_page;
const QRect kAnswersArea(kAnswerBoxX, 74, kPageWidth - 2 * kAnswerBoxX, 118);

QFrame* MakePanel(QWidget* parent, const char* name, const QRect& geometry) {
    auto* panel = new QFrame(parent);
    panel->setObjectName(QString::fromLatin1(name));
    panel->setGeometry(geometry);
    panel->setAutoFillBackground(true);
    return panel;
}

QString Caption(const QString& caption) {
    QString plain = caption.trimmed();
    if (plain.endsWith(QLatin1Char(':')))
        plain.chop(1);
    return plain.trimmed();
}

// A value read with its caption ("Zdobyto: 3"), which is a label of its own.
void ReadWithCaption(QLabel* value, const QString& caption) {
    ReadAsOneText(value, [value, caption = Caption(caption)] {
        return caption + QStringLiteral(": ") + value->text();
    });
}

QLabel* Value(QWidget* parent, const char* name, const QString& hint, const QRect& geometry) {
    QLabel* label = MakeLabel(parent, name, QString(), geometry);
    label->setToolTip(hint);
    label->setFont(UiFont("MS Sans Serif", 11, true));
    return label;
}

} // namespace

TExamPage::TExamPage(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("Panel3"));
    setAutoFillBackground(true);
    setFont(UiFont("MS Sans Serif", 11));
    BuildHeader();
    BuildAnswers();
    BuildStatistics();
    BuildAnswerForm();
    BuildVerdict();

    Next = new QPushButton(QStringLiteral("Next"), this);
    Next->setObjectName(QStringLiteral("Next"));
    Next->setGeometry(10, kPageHeight + 40, 60, 24);
    Next->setEnabled(false);
    Dalej = new QPushButton(QStringLiteral("Dalej"), this);
    Dalej->setObjectName(QStringLiteral("Dalej"));
    Dalej->setGeometry(80, kPageHeight + 40, 60, 24);
    Dalej->setEnabled(false);
    // Enter reaches them through the verdict's OK buttons, which show; the
    // focus never rests on them.
    for (QPushButton* target : {Next, Dalej}) {
        target->setFocusPolicy(Qt::NoFocus);
        target->hide();
    }
}

void TExamPage::BuildHeader() {
    // Plain palettes, not style sheets: the banner moves 14 times a second.
    auto* strip = new TBannerStrip("Strip", this);
    strip->setGeometry(0, 0, kPageWidth, kStripHeight);
    QPalette colours = strip->palette();
    colours.setColor(QPalette::Window, QColor(0x00, 0x00, 0x80));
    colours.setColor(QPalette::WindowText, QColor(0xFF, 0xFF, 0x80));
    strip->setPalette(colours);
    strip->setFont(UiFont("Times New Roman", 16, true));
    Strip = strip;
    // The two labels hold the texts and take the mouse over the whole strip;
    // the strip draws them.
    for (auto [label, name] :
         {std::pair{&naglowek1, "naglowek1"}, std::pair{&naglowek2, "naglowek2"}}) {
        *label = new TPressLabel(name, strip);
        (*label)->LeaveDrawingToParent();
        (*label)->setUpdatesEnabled(false); // no paint passes through them either
        (*label)->setGeometry(0, 0, kPageWidth, kStripHeight);
    }

    auto* bevel = new QFrame(this);
    bevel->setObjectName(QStringLiteral("Bevel2"));
    bevel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    bevel->setGeometry(4, kStripHeight + 2, kPageWidth - 8, 48);
    // The question's lines lie on the bevel, which a screen reader reads as
    // the whole question.
    const char* names[] = {"L1", "L2", "L3"};
    for (int i = 0; i < 3; ++i) {
        L[static_cast<std::size_t>(i)] = new TPressLabel(names[i], bevel);
        TPressLabel* line = L[static_cast<std::size_t>(i)];
        line->setGeometry(
            QRect(kQuestionX, kQuestionTop + kQuestionStep * i, kPageWidth - 2 * kQuestionX, 15)
                .translated(-bevel->pos()));
        line->setFont(UiFont("MS Sans Serif", 13));
        line->setToolTip(QStringLiteral("Pytanie"));
    }
    ReadAsOneText(bevel, [this] { return QuestionText(); });
}

QString TExamPage::QuestionText() const {
    QStringList lines;
    for (const TPressLabel* line : L)
        if (!line->text().trimmed().isEmpty())
            lines << line->text().trimmed();
    return lines.join(QLatin1Char(' '));
}

void TExamPage::BuildAnswers() {
    GroupBox2 = new QGroupBox(QStringLiteral(" Proponowane odpowiedzi : "), this);
    GroupBox2->setObjectName(QStringLiteral("GroupBox2"));
    GroupBox2->setToolTip(QStringLiteral("Proponowane dopowiedzi"));
    GroupBox2->setGeometry(kAnswersArea);
    for (std::size_t i = 0; i < kAnswerCount; ++i) {
        const QString letter = QString::fromLatin1(kAnswerCapitals[i]);
        const QString hint = QStringLiteral("Odpowiedź ") + letter;
        auto* button = new QRadioButton(QStringLiteral("&%1 :").arg(letter), GroupBox2);
        button->setObjectName(letter);
        button->setToolTip(hint);
        button->setFont(UiFont("MS Sans Serif", 11, true));
        const int top = kAnswerTop + kAnswerStep * static_cast<int>(i);
        button->setGeometry(8, top, 46, 18);
        button->setEnabled(false);
        button->setAutoExclusive(false); // the exam decides which one is checked
        Answer[i] = button;
        auto* text = new TPressLabel(("odp" + letter).toLatin1().constData(), GroupBox2);
        text->setToolTip(hint);
        text->setGeometry(kAnswerTextX, top, kAnswerTextWidth, 18);
        AnswerText[i] = text;
    }
    TellGroupOnce({Answer[0], Answer[1], Answer[2], Answer[3], Answer[4]});
}

void TExamPage::BuildStatistics() {
    auto* box = new QGroupBox(QStringLiteral(" Statystyka : "), this);
    box->setObjectName(QStringLiteral("GroupBox3"));
    box->setGeometry(4, 194, kPageWidth - 8, kPageHeight - 196);
    box->setFont(UiFont("MS Sans Serif", 10));

    // On the box's top line, right of its caption.
    Proba = MakeTrialNote(this, QRect(box->x() + 120, box->y() - 2, box->width() - 128, 16));
    Proba->setAutoFillBackground(true);

    const int rowHeight = 17;
    auto rowY = [&](int row) { return 17 + rowHeight * row; };
    // Left half: the counts with their gauges.
    struct TRow {
        const char* caption;
        QLabel** value;
        const char* valueName;
        const char* valueHint;
        TGaugeBar** bar;
        const char* barName;
        QColor colour;
        const char* barHint;
    };
    const TRow rows[] = {
        {"Liczba pytań :", &Label13, "Label13", "Liczba pytań w teście", &Gauge1, "Gauge1",
         Qt::blue, ""},
        {"Numer pytania :", &NrPyt, "NrPyt", "Numer aktualnego pytania", &PytBar, "PytBar", Qt::red,
         "Pasek postępu pokazujący ile procęt pytań przeszedłeś"},
        {"Max. ilość punktów :", &Label19, "Label19", "Maksymalna ilość punktów do zdobycia",
         &Gauge4, "Gauge4", Qt::blue, ""},
        {"Zdobyto :", &ZdobytoPkt, "ZdobytoPkt", "Ilość zdobytych punktów", &ZdobytoBar,
         "ZdobytoBar", QColor(0, 255, 0),
         "Pasek postępu pokazujący ile procęt punktów zdobyłeś z całości"},
        {"Stracono :", &StraconoPkt, "StraconoPkt", "Ilość straconych punktów", &StraconoBar,
         "StraconoBar", Qt::red, "Pasek postępu pokazujący ile procęt punktów straciłeś z całości"},
    };
    for (int i = 0; i < 5; ++i) {
        const TRow& row = rows[i];
        MakeLabel(box, "", QString::fromUtf8(row.caption), QRect(8, rowY(i), 112, 15));
        *row.value = Value(box, row.valueName, QString::fromUtf8(row.valueHint),
                           QRect(122, rowY(i), 36, 15));
        ReadWithCaption(*row.value, QString::fromUtf8(row.caption));
        *row.bar = new TGaugeBar(row.barName, row.colour, box);
        (*row.bar)->setAccessibleName(Caption(QString::fromUtf8(row.caption)));
        (*row.bar)->setGeometry(160, rowY(i) + 1, 90, 13);
        (*row.bar)->setToolTip(QString::fromUtf8(row.barHint));
    }
    Gauge1->setValue(100);
    Gauge4->setValue(100);

    // Right half: the question on screen and the clock.
    MakeLabel(box, "", QStringLiteral("Ilość punktów do zdobycia :"), QRect(262, rowY(0), 150, 15));
    Zdobyto = Value(box, "Zdobyto", QStringLiteral("Ilość punktów do zdobycia w tym pytaniu"),
                    QRect(414, rowY(0), 80, 15));
    MakeLabel(box, "", QStringLiteral("Odpowiedź samodzielna :"), QRect(262, rowY(1), 150, 15));
    OdpSam = Value(box, "OdpSam",
                   QStringLiteral("Pokazuje, czy jest w tym pytaniu odpowiedź samodzielna, i ile "
                                  "jest za nią punktów"),
                   QRect(414, rowY(1), 80, 15));
    ReadWithCaption(Zdobyto, QStringLiteral("Ilość punktów do zdobycia :"));
    ReadWithCaption(OdpSam, QStringLiteral("Odpowiedź samodzielna :"));
    QLabel* clock =
        MakeLabel(box, "Label18", QStringLiteral("Czas :"), QRect(262, rowY(3) - 2, 40, 26));
    // The time left, read when asked: no word every second.
    ReadAsOneText(clock, [this] {
        return QStringLiteral("Czas: %1:%2")
            .arg(minuty->intValue(), 2, 10, QLatin1Char('0'))
            .arg(sekundy->intValue(), 2, 10, QLatin1Char('0'));
    });
    clock->setFont(UiFont("MS Sans Serif", 14, true));
    minuty = new TTwoDigits("minuty", box);
    minuty->setGeometry(310, rowY(3) - 4, 40, 28);
    minuty->setToolTip(QStringLiteral("Ilość minut pozostałych do końca egzaminu"));
    QLabel* colon = MakeLabel(box, "", QStringLiteral(":"), QRect(352, rowY(3) - 2, 8, 26));
    colon->setFont(clock->font());
    sekundy = new TTwoDigits("sekundy", box);
    sekundy->setGeometry(360, rowY(3) - 4, 40, 28);
    sekundy->setToolTip(QStringLiteral("Ilość sekund pozostałych do końca egzaminu"));
}

void TExamPage::BuildAnswerForm() {
    SAMPanel = MakePanel(this, "SAMPanel", kAnswersArea);
    SAMPanel->hide();
    QLabel* prompt = MakeLabel(SAMPanel, "Label21", QStringLiteral("Podaj odpowiedź samodzielną :"),
                               QRect(10, 16, kAnswersArea.width() - 20, 30));
    prompt->setFont(UiFont("Times New Roman", 22, true));
    SamEdit = new QLineEdit(SAMPanel);
    SamEdit->setObjectName(QStringLiteral("SamEdit"));
    SamEdit->setToolTip(QStringLiteral("Odpowiedź samodzielna"));
    SamEdit->setGeometry(10, 56, kAnswersArea.width() - 20, 26);
    SamEdit->setFont(UiFont("MS Sans Serif", 14));
    SamEdit->setEnabled(false);
    prompt->setBuddy(SamEdit);
    SamEdit->setAccessibleName(Caption(prompt->text()));

    Panel7 =
        MakePanel(SAMPanel, "Panel7", QRect(0, 0, kAnswersArea.width(), kAnswersArea.height()));
    Panel7->setFrameStyle(QFrame::Panel | QFrame::Raised);
    const QString hint = QStringLiteral("Liczba dodatkowych punktów, za odpowiedź samodzielną");
    QLabel* intro =
        MakeLabel(Panel7, "Label22", QStringLiteral("Pytanie zawiera odpowiedź samodzielną."),
                  QRect(10, 8, 380, 20));
    intro->setFont(UiFont("MS Sans Serif", 13, true));
    intro->setToolTip(hint);
    QLabel* extra = MakeLabel(Panel7, "Label23",
                              QStringLiteral("Do zdobycia jest dodatkowe        pkt. Wybierz formę "
                                             "pytania :"),
                              QRect(10, 30, 400, 20));
    extra->setFont(UiFont("MS Sans Serif", 12));
    extra->setToolTip(hint);
    const int gap =
        extra->fontMetrics().horizontalAdvance(QStringLiteral("Do zdobycia jest dodatkowe "));
    // On the gap left for it in the line; a screen reader reads the line and
    // the points as one sentence with the line above.
    LabelAdd = MakeLabel(extra, "LabelAdd", QString(), QRect(gap, 0, 34, 20));
    LabelAdd->setFont(UiFont("MS Sans Serif", 12, true));
    LabelAdd->setAlignment(Qt::AlignCenter);
    LabelAdd->setToolTip(hint);
    ReadAsOneText(intro, [intro, extra, this] {
        return QStringLiteral("%1 Do zdobycia jest dodatkowe %2 pkt. Wybierz formę pytania:")
            .arg(intro->text(), LabelAdd->text().trimmed());
    });
    ReadAsOneText(extra, [] { return QStringLiteral(" "); });
    RBSam = new QRadioButton(QStringLiteral("&samodzielna"), Panel7);
    RBSam->setObjectName(QStringLiteral("RBSam"));
    RBSam->setToolTip(QStringLiteral("Sam wpisujesz odpowiedź"));
    RBSam->setGeometry(30, 58, 160, 20);
    RBTest = new QRadioButton(QStringLiteral("&testowa"), Panel7);
    RBTest->setObjectName(QStringLiteral("RBTest"));
    RBTest->setToolTip(QStringLiteral("Pytania są w fromie testowej"));
    RBTest->setGeometry(30, 82, 160, 20);
    TellGroupOnce({RBSam, RBTest});
    for (QRadioButton* form : {RBSam, RBTest}) {
        form->setFont(UiFont("MS Sans Serif", 12, true));
        form->setAutoExclusive(false);
    }
    SpeedButton7 = new TSpeedButton("SpeedButton7", QStringLiteral("Da&lej"),
                                    QStringLiteral("Przejdź do wybranej formy pytania"),
                                    Glyph(TGlyph::Next), Panel7);
    SpeedButton7->setGeometry(kAnswersArea.width() - 73 - 8, kAnswersArea.height() - 63 - 6, 73,
                              63);
    SpeedButton7->setEnabled(false);
}

void TExamPage::BuildVerdict() {
    ODPPanel = MakePanel(this, "ODPPanel", kAnswersArea);
    ODPPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    QPalette verdict = ODPPanel->palette();
    verdict.setColor(QPalette::Window, QColor(0x1C, 0x3C, 0x78));
    verdict.setColor(QPalette::ButtonText, Qt::white);
    ODPPanel->setPalette(verdict);
    ODPPanel->hide();
    const char* names[] = {"RxLabel1", "RxLabel2", "RxLabel3", "RxLabel4"};
    const int heights[] = {26, 26, 26, 22};
    int y = 4;
    for (std::size_t i = 0; i < 4; ++i) {
        auto* line = new TShadowLabel(names[i], ODPPanel);
        line->setGeometry(8, y, kAnswersArea.width() - 16, heights[i]);
        y += heights[i];
        QPalette colours = line->palette();
        if (i < 3) {
            line->setFont(UiFont("Times New Roman", 22, true));
            colours.setColor(QPalette::WindowText, Qt::white);
            line->SetShadowColour(QColor(0x00, 0x00, 0x20));
        } else {
            line->setFont(UiFont("Times New Roman", 16, true));
            colours.setColor(QPalette::WindowText, QColor(0xFF, 0xE0, 0x30));
            line->SetShadow(false);
        }
        line->setPalette(colours);
        RxLabel[i] = line;
    }
    const QIcon next = Glyph(TGlyph::Next);
    const QRect corner(kAnswersArea.width() - 60 - 4, kAnswersArea.height() - 44 - 4, 60, 44);
    SpeedButton8 =
        new TSpeedButton("SpeedButton8", QStringLiteral("O&K"),
                         QStringLiteral("Przejdź do następnego pytania"), next, ODPPanel);
    SpeedButton13 =
        new TSpeedButton("SpeedButton13", QStringLiteral("O&K"),
                         QStringLiteral("Przejdź do następnrgo pytania"), next, ODPPanel);
    for (TSpeedButton* ok : {SpeedButton8, SpeedButton13}) {
        ok->setGeometry(corner);
        ok->setIconSize(QSize(20, 20));
    }
    SpeedButton13->hide();
}

} // namespace kwizmar
