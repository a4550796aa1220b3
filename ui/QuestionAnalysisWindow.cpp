#include "QuestionAnalysisWindow.h"

#include "TestDays.h"

#include "ClassSummary.h"
#include "ContextHelp.h"
#include "ExportDialog.h"
#include "Fonts.h"
#include "Glyphs.h"
#include "QtRegionalSettings.h"
#include "RightButtonHelp.h"
#include "ScreenFit.h"
#include "SpeedButton.h"
#include "WholeFile.h"

#include <QComboBox>
#include <QDateEdit>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QStyledItemDelegate>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace kwizmar {

namespace {

const QString kDateFormat = QStringLiteral("dd.MM.yyyy");
constexpr int kFraction = Qt::UserRole; // a bar's length, 0 … 1
constexpr int kKey = Qt::UserRole + 1;  // the key's bar
constexpr int kColumns = 14;
constexpr int kFacilityColumn = 4, kFirstLetterColumn = 6;

const QColor kFacilityBar(168, 198, 236);
const QColor kKeyBar(130, 205, 130);
const QColor kChoiceBar(205, 205, 205);

// The system's decimal separator; the Polish one where the locale is the
// plain C one, as for the regional dates.
std::string Separator() {
    const QLocale locale = QLocale::system();
    return locale.language() == QLocale::C ? "," : locale.decimalPoint().toStdString();
}

QString Decimal(const std::optional<double>& value, int places) {
    return value ? QString::fromStdString(DecimalText(*value, places, Separator())) : QString();
}

// One cell of a question's row as shown and printed: its text, and a bar
// where it has one (fraction < 0: none).
struct TShownCell {
    QString text;
    double fraction = -1;
    bool key = false;
};

QStringList Header() {
    return {QStringLiteral("Pytanie"),
            QStringLiteral("Treść"),
            QStringLiteral("Odpowiedzi"),
            QStringLiteral("Klucz"),
            QStringLiteral("Łatwość %"),
            QStringLiteral("Moc różnicująca"),
            QStringLiteral("A"),
            QStringLiteral("B"),
            QStringLiteral("C"),
            QStringLiteral("D"),
            QStringLiteral("E"),
            QStringLiteral("Wpisane"),
            QStringLiteral("Wpisane dobrze"),
            QStringLiteral("Uwagi")};
}

// The key's choices are marked with a tick beside their count.
std::vector<TShownCell> RowCells(const TQuestionRow& row) {
    std::vector<TShownCell> cells = {
        {QString::number(row.question)},
        {QString::fromStdString(row.start)},
        {QString::number(row.answered)},
        {row.key ? QString(QLatin1Char(row.key)) : QString()},
        {Decimal(row.facility, 1), row.facility ? *row.facility / 100 : -1},
        {Decimal(row.discrimination, 2)},
    };
    for (std::size_t letter = 0; letter < 5; ++letter) {
        const bool key = row.key == char('A' + letter);
        const std::size_t count = row.chosen[letter];
        cells.push_back({QString::number(count) + (key ? QStringLiteral(" ✓") : QString()),
                         row.answered ? double(count) / double(row.answered) : 0, key});
    }
    cells.push_back({QString::number(row.typedTried)});
    cells.push_back({QString::number(row.typedRight)});
    cells.push_back({QString::fromStdString(RowNotes(row))});
    return cells;
}

void PaintBar(QPainter& painter, const QRectF& cell, const TShownCell& shown, bool facility) {
    if (shown.fraction < 0)
        return;
    QRectF bar = cell.adjusted(2, 2, -2, -2);
    bar.setWidth(bar.width() * std::clamp(shown.fraction, 0.0, 1.0));
    painter.fillRect(bar, facility ? kFacilityBar : shown.key ? kKeyBar : kChoiceBar);
}

// The bars under the numbers of facility and of each letter's choices.
class TBarDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const QVariant fraction = index.data(kFraction);
        if (fraction.isValid())
            PaintBar(*painter, option.rect,
                     {QString(), fraction.toDouble(), index.data(kKey).toBool()},
                     index.column() == kFacilityColumn);
        QStyledItemDelegate::paint(painter, option, index);
    }
};

bool Numeric(int column) {
    return column != 1 && column != 3 && column != kColumns - 1;
}

} // namespace

QString AnalysisFiguresText(const TTestAnalysis& t) {
    QString text = QStringLiteral("Egzaminy z danymi o pytaniach: %1").arg(t.exams);
    if (t.meanPoints)
        text += QStringLiteral("; średnio %1 pkt (odchylenie standardowe %2)")
                    .arg(Decimal(t.meanPoints, 1), Decimal(t.deviationPoints, 1));
    if (t.meanPercent)
        text += QStringLiteral(", %1% (%2)")
                    .arg(Decimal(t.meanPercent, 1), Decimal(t.deviationPercent, 1));
    if (t.kr20)
        text += QStringLiteral("; KR-20: %1").arg(Decimal(t.kr20, 2));
    return text;
}

TQuestionAnalysisWindow::TQuestionAnalysisWindow(QWidget* parent)
    : QWidget(parent, Qt::Window), table_(TQtRegionalSettings().ShortDateFormat()) {
    setObjectName(QStringLiteral("TQuestionAnalysisWindow"));
    setWindowTitle(QStringLiteral("Analiza pytań"));
    setFont(UiFont("MS Sans Serif", 11));
    resize(960, 540);

    TestBox = new QComboBox(this);
    TestBox->setObjectName(QStringLiteral("TestBox"));
    TestBox->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    TestBox->setMinimumContentsLength(20);
    VersionBox = new QComboBox(this);
    VersionBox->setObjectName(QStringLiteral("VersionBox"));
    VersionBox->setSizeAdjustPolicy(QComboBox::AdjustToContents);
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
    VersionLabel = label("&Wersja:", VersionBox);

    Figures = new QLabel(this);
    Figures->setObjectName(QStringLiteral("Figures"));
    Figures->setWordWrap(true);
    Note = new QLabel(this);
    Note->setObjectName(QStringLiteral("Note"));
    Note->setWordWrap(true);

    Tabela = new QTableWidget(0, kColumns, this);
    Tabela->setObjectName(QStringLiteral("Tabela"));
    Tabela->setAccessibleName(QStringLiteral("Pytania testu"));
    // The long headers in two lines, so that the columns stay narrow.
    QStringList header = Header();
    for (QString& title : header)
        if (title.size() > 10)
            title.replace(QLatin1Char(' '), QLatin1Char('\n'));
    Tabela->setHorizontalHeaderLabels(header);
    Tabela->verticalHeader()->hide();
    Tabela->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Tabela->setSelectionBehavior(QAbstractItemView::SelectRows);
    Tabela->setTabKeyNavigation(false);
    Tabela->setWordWrap(false);
    Tabela->setItemDelegate(new TBarDelegate(Tabela));
    Tabela->horizontalHeader()->setStretchLastSection(true);

    ExportButton = new TSpeedButton("ExportButton", QStringLiteral("&Eksportuj ..."),
                                    QStringLiteral("Eksportuj analizę pytań do arkusza"),
                                    Glyph(TGlyph::Download), this);
    PrintButton =
        new TSpeedButton("PrintButton", QStringLiteral("&Drukuj"),
                         QStringLiteral("Drukuj analizę pytań"), Glyph(TGlyph::Print), this);
    CloseButton =
        new TSpeedButton("CloseButton", QStringLiteral("&Zamknij"),
                         QStringLiteral("Zamknij analizę pytań"), Glyph(TGlyph::Close), this);
    for (TSpeedButton* b : {ExportButton, PrintButton, CloseButton}) {
        b->setFixedSize(73, 63);
        b->setFocusPolicy(Qt::StrongFocus); // reachable by Tab, unlike the list's
    }

    auto* choice = new QHBoxLayout;
    choice->addWidget(label("&Test:", TestBox));
    choice->addWidget(TestBox, 1);
    choice->addWidget(VersionLabel);
    choice->addWidget(VersionBox);
    choice->addWidget(label("&Od dnia:", FromDate));
    choice->addWidget(FromDate);
    choice->addWidget(label("do d&nia:", ToDate));
    choice->addWidget(ToDate);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ExportButton);
    buttons->addWidget(PrintButton);
    buttons->addStretch(1);
    buttons->addWidget(CloseButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choice);
    layout->addWidget(Figures);
    layout->addWidget(Note);
    layout->addWidget(Tabela, 1);
    layout->addLayout(buttons);

    auto* help = new TRightButtonHelp(this, AnalysisHelpFor);
    for (QWidget* control : std::initializer_list<QWidget*>{
             TestBox, VersionBox, FromDate, ToDate, Tabela, ExportButton, PrintButton, CloseButton})
        help->Watch(control);

    connect(TestBox, &QComboBox::currentIndexChanged, this, [this] {
        if (!filling_)
            wantedHash_.reset();
        TestChosen();
    });
    connect(VersionBox, &QComboBox::currentIndexChanged, this, [this] {
        if (filling_)
            return;
        if (const TTestAnalysis* t = Shown())
            wantedHash_ = t->hash;
        ShowVersion();
    });
    connect(FromDate, &QDateEdit::dateChanged, this, [this] { Recount(); });
    connect(ToDate, &QDateEdit::dateChanged, this, [this] { Recount(); });
    connect(ExportButton, &QToolButton::clicked, this,
            [this] { ExportAnalysisWithDialog(this, analysis_); });
    connect(PrintButton, &QToolButton::clicked, this, [this] { PrintClick(); });
    connect(CloseButton, &QToolButton::clicked, this, &QWidget::close);
    HelpOnF1(this, "pytania");
}

void TQuestionAnalysisWindow::ShowLines(const std::vector<std::string>& lines,
                                        const std::string& recordsPath, int selected) {
    lines_.clear();
    lines_.reserve(lines.size());
    for (const std::string& line : lines)
        lines_.push_back(ParseResultLine(line));
    records_.clear();
    ReadWholeFile(recordsPath, records_);

    // The selected line's test, and its version where its exam has a record.
    std::string test;
    wantedHash_.reset();
    if (selected >= 0 && std::size_t(selected) < lines_.size() && lines_[selected].fields) {
        test = TestTitle(*lines_[selected].fields);
        TExportFilter byName;
        byName.test = test;
        for (const TTestAnalysis& t : AnalyseQuestions(lines_, records_, table_, byName).tests)
            if (std::binary_search(t.lines.begin(), t.lines.end(), std::size_t(selected)))
                wantedHash_ = t.hash;
    }
    filling_ = true;
    TestBox->clear();
    for (const std::string& name : TestsInLog(lines_))
        TestBox->addItem(QString::fromStdString(name));
    TestBox->setCurrentIndex(std::max(0, TestBox->findText(QString::fromStdString(test))));
    filling_ = false;
    TestChosen();
    // In the middle of the screen when it opens, as the other windows.
    if (!isVisible())
        PlaceOnScreen(this, size());
}

// A test's range of days is the days its exams span.
void TQuestionAnalysisWindow::TestChosen() {
    if (filling_)
        return;
    filling_ = true;
    ShowTestDays(lines_, table_, TestBox->currentText().toStdString(), FromDate, ToDate);
    filling_ = false;
    Recount();
}

TExportFilter TQuestionAnalysisWindow::Filter() const {
    return ChosenFilter(TestBox, FromDate, ToDate);
}

void TQuestionAnalysisWindow::Recount() {
    if (filling_)
        return;
    analysis_ = TestBox->count() ? AnalyseQuestions(lines_, records_, table_, Filter())
                                 : TQuestionAnalysis{};
    filling_ = true;
    VersionBox->clear();
    int wanted = 0;
    for (const TTestAnalysis& t : analysis_.tests) {
        if (wantedHash_ && t.hash == wantedHash_)
            wanted = VersionBox->count();
        VersionBox->addItem(QString::fromStdString(t.version.empty() ? t.name : t.version));
    }
    VersionBox->setCurrentIndex(wanted);
    filling_ = false;
    VersionBox->setVisible(analysis_.tests.size() > 1);
    VersionLabel->setVisible(analysis_.tests.size() > 1);
    ShowVersion();
}

const TTestAnalysis* TQuestionAnalysisWindow::Shown() const {
    const int index = VersionBox->currentIndex();
    return index >= 0 && std::size_t(index) < analysis_.tests.size()
               ? &analysis_.tests[std::size_t(index)]
               : nullptr;
}

void TQuestionAnalysisWindow::ShowVersion() {
    const TTestAnalysis* t = Shown();
    Figures->setText(t ? AnalysisFiguresText(*t)
                       : QStringLiteral("Egzaminy z danymi o pytaniach: 0"));
    std::string note;
    if (analysis_.withoutRecord > 0) {
        note = MissingDataNote(analysis_.withoutRecord) + ".";
        note[0] = 'B';
    }
    Note->setText(QString::fromStdString(note));
    Note->setVisible(!note.empty());
    Tabela->setRowCount(0);
    if (t) {
        Tabela->setRowCount(int(t->rows.size()));
        for (int r = 0; r < int(t->rows.size()); ++r) {
            const std::vector<TShownCell> cells = RowCells(t->rows[std::size_t(r)]);
            for (int c = 0; c < kColumns; ++c) {
                const TShownCell& shown = cells[std::size_t(c)];
                auto* item = new QTableWidgetItem(shown.text);
                item->setTextAlignment(Qt::AlignVCenter |
                                       (Numeric(c) ? Qt::AlignRight : Qt::AlignLeft));
                if (shown.fraction >= 0) {
                    item->setData(kFraction, shown.fraction);
                    item->setData(kKey, shown.key);
                }
                if (c == 1 || c == kColumns - 1) // the texts that may be cut short
                    item->setToolTip(shown.text);
                Tabela->setItem(r, c, item);
            }
        }
    }
    Tabela->resizeColumnsToContents();
    Tabela->setColumnWidth(1, std::min(Tabela->columnWidth(1), 260));
    for (int c = kFirstLetterColumn; c < kFirstLetterColumn + 5; ++c)
        Tabela->setColumnWidth(c, std::max(Tabela->columnWidth(c), 48));
    const bool any = t && t->exams > 0;
    ExportButton->setEnabled(any);
    PrintButton->setEnabled(any);
}

void TQuestionAnalysisWindow::PrintClick() {
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageOrientation(QPageLayout::Landscape);
    QPrintDialog dialog(&printer, this);
    dialog.setObjectName(QStringLiteral("PrintDialog1"));
    if (dialog.exec() == QDialog::Accepted)
        Print(printer);
}

// Title, days, figures and note at the top, the table below them at the
// size that fills the page's width; a table too large for the rest of the
// page is scaled down until it fits, so that it all stays on the one page.
void TQuestionAnalysisWindow::Print(QPrinter& printer) {
    const TTestAnalysis* t = Shown();
    // The table is wide: across the page.
    printer.setPageOrientation(QPageLayout::Landscape);
    QPainter painter;
    if (!t || !painter.begin(&printer))
        return; // the printing layer has said why
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    QFont font = UiFont("Arial", 12);
    font.setPointSizeF(9);
    QFont title = font;
    title.setPointSizeF(14);
    title.setBold(true);
    const double line = QFontMetricsF(font, &printer).height();
    const double titleLine = QFontMetricsF(title, &printer).height();
    double y = 0;
    painter.setFont(title);
    painter.drawText(
        QRectF(0, y, page.width(), titleLine), Qt::AlignLeft | Qt::AlignVCenter,
        QStringLiteral("Analiza pytań: %1").arg(QString::fromStdString(TableTitle(*t))));
    y += titleLine * 1.3;
    painter.setFont(font);
    QStringList top;
    if (FromDate->isEnabled())
        top << QStringLiteral("Egzaminy z dni %1 – %2")
                   .arg(FromDate->date().toString(kDateFormat),
                        ToDate->date().toString(kDateFormat));
    top << Figures->text();
    if (Note->isVisible())
        top << Note->text();
    for (const QString& text : top) {
        const QRectF box = painter.boundingRect(QRectF(0, y, page.width(), page.height()),
                                                Qt::AlignLeft | Qt::TextWordWrap, text);
        painter.drawText(box, Qt::AlignLeft | Qt::TextWordWrap, text);
        y += box.height();
    }
    y += line;

    // The columns as wide as their widest text; the question's text at most
    // a third of the page.
    const QFontMetricsF metrics(font, &printer);
    QFont bold = font;
    bold.setBold(true);
    const QFontMetricsF boldMetrics(bold, &printer);
    std::vector<std::vector<TShownCell>> rows;
    for (const TQuestionRow& row : t->rows)
        rows.push_back(RowCells(row));
    const QStringList header = Header();
    const double pad = line * 0.4;
    std::vector<double> widths(kColumns);
    for (int c = 0; c < kColumns; ++c) {
        widths[std::size_t(c)] = boldMetrics.horizontalAdvance(header[c]);
        for (const auto& cells : rows)
            widths[std::size_t(c)] = std::max(
                widths[std::size_t(c)], metrics.horizontalAdvance(cells[std::size_t(c)].text));
        if (c >= kFirstLetterColumn && c < kFirstLetterColumn + 5) // room for a bar
            widths[std::size_t(c)] = std::max(widths[std::size_t(c)],
                                              metrics.horizontalAdvance(QStringLiteral("000 ✓")));
        widths[std::size_t(c)] += 3 * pad; // a little more than the text, so none is cut
    }
    widths[1] = std::min(widths[1], page.width() / 4);
    double tableWidth = 0;
    for (double w : widths)
        tableWidth += w;
    const double rowHeight = line * 1.25;
    const double tableHeight = rowHeight * double(rows.size() + 1);
    const double scale =
        std::min({1.0, page.width() / tableWidth, (page.height() - y) / tableHeight});
    painter.translate(0, y);
    painter.scale(scale, scale);
    auto drawRow = [&](double top, const std::vector<TShownCell>& cells, bool isHeader) {
        double x = 0;
        painter.setFont(isHeader ? bold : font);
        for (int c = 0; c < kColumns; ++c) {
            const QRectF cell(x, top, widths[std::size_t(c)], rowHeight);
            const TShownCell& shown = cells[std::size_t(c)];
            if (!isHeader)
                PaintBar(painter, cell, shown, c == kFacilityColumn);
            const QRectF inside = cell.adjusted(pad, 0, -pad, 0);
            painter.drawText(
                inside,
                Qt::AlignVCenter | (Numeric(c) && !isHeader ? Qt::AlignRight : Qt::AlignLeft),
                painter.fontMetrics().elidedText(shown.text, Qt::ElideRight, int(inside.width())));
            x += widths[std::size_t(c)];
        }
        painter.drawLine(QPointF(0, top + rowHeight), QPointF(tableWidth, top + rowHeight));
    };
    std::vector<TShownCell> headerCells;
    for (const QString& text : header)
        headerCells.push_back({text});
    drawRow(0, headerCells, true);
    for (std::size_t r = 0; r < rows.size(); ++r)
        drawRow(rowHeight * double(r + 1), rows[r], false);
    painter.end();
}

} // namespace kwizmar
