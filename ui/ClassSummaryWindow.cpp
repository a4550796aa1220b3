#include "ClassSummaryWindow.h"

#include "TestDays.h"

#include "ContextHelp.h"
#include "ExportDialog.h"
#include "Fonts.h"
#include "Glyphs.h"
#include "GradeChart.h"
#include "QtRegionalSettings.h"
#include "RightButtonHelp.h"
#include "ScreenFit.h"
#include "SpeedButton.h"

#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace kwizmar {

namespace {

const QString kDateFormat = QStringLiteral("dd.MM.yyyy");

QString Percent(double value) {
    return QString::fromStdString(PolishNumber(value)) + QLatin1Char('%');
}

} // namespace

QString FiguresText(const TClassSummary& s) {
    QString text = QStringLiteral("Egzaminów: %1").arg(s.exams.size());
    if (s.mean)
        text += QStringLiteral(", średnio %1, mediana %2, najniżej %3, najwyżej %4")
                    .arg(Percent(*s.mean), Percent(*s.median), Percent(double(*s.lowest)),
                         Percent(double(*s.highest)));
    return text;
}

TClassSummaryWindow::TClassSummaryWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), table_(TQtRegionalSettings().ShortDateFormat()) {
    setObjectName(QStringLiteral("TClassSummaryWindow"));
    setWindowTitle(QStringLiteral("Podsumowanie klasy"));
    setFont(UiFont("MS Sans Serif", 11));
    // Its first size; where the screen is smaller, what the screen takes.
    PlaceOnScreen(this, QSize(560, 400));

    TestBox = new QComboBox(this);
    TestBox->setObjectName(QStringLiteral("TestBox"));
    TestBox->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    TestBox->setMinimumContentsLength(20);
    auto dateEdit = [this](const char* name) {
        auto* edit = new QDateEdit(this);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setDisplayFormat(kDateFormat);
        edit->setCalendarPopup(true);
        return edit;
    };
    FromDate = dateEdit("FromDate");
    ToDate = dateEdit("ToDate");
    auto label = [this](const char* text, QWidget* buddy) {
        auto* l = new QLabel(QString::fromUtf8(text), this);
        l->setBuddy(buddy);
        return l;
    };

    Figures = new QLabel(this);
    Figures->setObjectName(QStringLiteral("Figures"));
    Figures->setWordWrap(true);
    Chart = new TGradeChart(this);

    PrintButton =
        new TSpeedButton("PrintButton", QStringLiteral("&Drukuj"),
                         QStringLiteral("Drukuj podsumowanie"), Glyph(TGlyph::Print), this);
    CloseButton =
        new TSpeedButton("CloseButton", QStringLiteral("&Zamknij"),
                         QStringLiteral("Zamknij podsumowanie"), Glyph(TGlyph::Close), this);
    ExportButton = new TSpeedButton("ExportButton", QStringLiteral("&Eksportuj ..."),
                                    QStringLiteral("Eksportuj wyniki testu do arkusza"),
                                    Glyph(TGlyph::Download), this);
    for (TSpeedButton* b : {PrintButton, ExportButton, CloseButton}) {
        b->setFixedSize(73, 63);
        b->setFocusPolicy(Qt::StrongFocus);
    }

    auto* choice = new QHBoxLayout;
    choice->addWidget(label("&Test:", TestBox));
    choice->addWidget(TestBox, 1);
    choice->addWidget(label("&Od dnia:", FromDate));
    choice->addWidget(FromDate);
    choice->addWidget(label("do d&nia:", ToDate));
    choice->addWidget(ToDate);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(PrintButton);
    buttons->addWidget(ExportButton);
    buttons->addStretch(1);
    buttons->addWidget(CloseButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choice);
    layout->addWidget(Figures);
    layout->addWidget(Chart, 1);
    layout->addLayout(buttons);

    auto* help = new TRightButtonHelp(this, ResultsHelpFor);
    for (QWidget* control : std::initializer_list<QWidget*>{TestBox, FromDate, ToDate, PrintButton,
                                                            ExportButton, CloseButton})
        help->Watch(control);

    connect(TestBox, &QComboBox::currentIndexChanged, this, [this] { TestChosen(); });
    connect(FromDate, &QDateEdit::dateChanged, this, [this] { Recount(); });
    connect(ToDate, &QDateEdit::dateChanged, this, [this] { Recount(); });
    connect(PrintButton, &QToolButton::clicked, this, [this] { PrintClick(); });
    connect(ExportButton, &QToolButton::clicked, this,
            [this] { ExportWithDialog(this, text_, Filter()); });
    connect(CloseButton, &QToolButton::clicked, this, &QWidget::close);
    HelpOnF1(this, "arkusz");
}

void TClassSummaryWindow::ShowLines(const std::vector<std::string>& lines) {
    text_ = lines;
    lines_.clear();
    lines_.reserve(lines.size());
    for (const std::string& line : lines)
        lines_.push_back(ParseResultLine(line));
    filling_ = true;
    TestBox->clear();
    for (const std::string& test : TestsInLog(lines_))
        TestBox->addItem(QString::fromStdString(test));
    filling_ = false;
    TestChosen();
}

// A test's range of days is the days its exams span.
void TClassSummaryWindow::TestChosen() {
    if (filling_)
        return;
    filling_ = true;
    ShowTestDays(lines_, table_, TestBox->currentText().toStdString(), FromDate, ToDate);
    filling_ = false;
    Recount();
}

TExportFilter TClassSummaryWindow::Filter() const {
    return ChosenFilter(TestBox, FromDate, ToDate);
}

void TClassSummaryWindow::Recount() {
    if (filling_)
        return;
    summary_ = TestBox->count() ? SummarizeClass(lines_, table_, Filter()) : TClassSummary{};
    Figures->setText(FiguresText(summary_));
    Chart->SetSummary(summary_);
    PrintButton->setEnabled(!summary_.exams.empty());
    ExportButton->setEnabled(!summary_.exams.empty());
}

void TClassSummaryWindow::PrintClick() {
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog dialog(&printer, this);
    dialog.setObjectName(QStringLiteral("PrintDialog1"));
    if (dialog.exec() == QDialog::Accepted)
        Print(printer);
}

// Title, days and figures at the top, the chart below them, and the names
// with their grades in as many columns as it takes; a long class gets a
// smaller type, so that it all stays on the one page.
void TClassSummaryWindow::Print(QPrinter& printer) {
    QPainter painter;
    if (!painter.begin(&printer))
        return; // the printing layer has said why
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    const QRectF area(0, 0, page.width(), page.height());
    QFont font = UiFont("Arial", 12);
    font.setPointSizeF(10);
    painter.setFont(font);
    const double line = QFontMetricsF(font, &printer).height();
    double y = 0;

    QFont title = font;
    title.setPointSizeF(14);
    title.setBold(true);
    painter.setFont(title);
    const double titleLine = QFontMetricsF(title, &printer).height();
    painter.drawText(QRectF(0, y, area.width(), titleLine), Qt::AlignLeft | Qt::AlignVCenter,
                     QStringLiteral("Podsumowanie klasy: %1").arg(TestBox->currentText()));
    y += titleLine * 1.3;
    painter.setFont(font);
    if (FromDate->isEnabled()) {
        painter.drawText(
            QRectF(0, y, area.width(), line), Qt::AlignLeft,
            QStringLiteral("Egzaminy z dni %1 – %2")
                .arg(FromDate->date().toString(kDateFormat), ToDate->date().toString(kDateFormat)));
        y += line;
    }
    painter.drawText(QRectF(0, y, area.width(), line * 2), Qt::AlignLeft | Qt::TextWordWrap,
                     FiguresText(summary_));
    y += line * 2;

    const double chartHeight = area.height() * 0.32;
    DrawGradeChart(painter, QRectF(0, y, area.width() * 0.8, chartHeight), summary_);
    y += chartHeight + line;

    // The names: the type shrinks (down to 5 points) until the columns fit.
    const double left = area.height() - y;
    QFont names = font;
    double size = 10;
    int columns = 1, perColumn = 1;
    double nameLine = line;
    const int count = int(summary_.exams.size());
    for (;; size -= 0.5) {
        names.setPointSizeF(size);
        const QFontMetricsF m(names, &printer);
        nameLine = m.height();
        perColumn = std::max(1, int(left / nameLine));
        columns = (count + perColumn - 1) / perColumn;
        double widest = 0;
        for (const TClassSummary::TExam& e : summary_.exams)
            widest = std::max(widest, m.horizontalAdvance(QString::fromStdString(ExamLine(e))));
        if (columns * (widest + nameLine) <= area.width() || size <= 5)
            break;
    }
    painter.setFont(names);
    const double columnWidth = columns > 0 ? area.width() / columns : area.width();
    for (int i = 0; i < count; ++i) {
        const TClassSummary::TExam& e = summary_.exams[std::size_t(i)];
        const QString text = QString::fromStdString(ExamLine(e));
        const QRectF cell(columnWidth * (i / perColumn), y + nameLine * (i % perColumn),
                          columnWidth - nameLine, nameLine);
        painter.drawText(cell, Qt::AlignLeft | Qt::AlignVCenter,
                         painter.fontMetrics().elidedText(text, Qt::ElideRight, int(cell.width())));
    }
    painter.end();
}

} // namespace kwizmar
