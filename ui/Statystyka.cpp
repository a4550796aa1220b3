#include "Statystyka.h"

#include "ClassSummaryWindow.h"
#include "ContextHelp.h"
#include "ErrorHandler.h"
#include "ExportDialog.h"
#include "Fonts.h"
#include "Glyphs.h"
#include "LogListModel.h"
#include "PrintLayout.h"
#include "QuestionAnalysisWindow.h"
#include "RightButtonHelp.h"
#include "ScopeExit.h"
#include "ScreenFit.h"
#include "SpeedButton.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QScrollArea>
#include <QScrollBar>
#include <QShowEvent>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTableView>

#include <algorithm>
#include <cmath>

namespace kwizmar {

namespace {

constexpr int kItemHeight = 13;

// Widths as the printer will draw them, in its own units.
class TDeviceMeasure final : public ITextMeasure {
public:
    TDeviceMeasure(const QFont& font, QPaintDevice* device) : metrics_(font, device) {}
    int TextWidth(std::string_view utf8, const TFontSpec&) const override {
        return int(std::ceil(
            metrics_.horizontalAdvance(QString::fromUtf8(utf8.data(), qsizetype(utf8.size())))));
    }

private:
    QFontMetricsF metrics_;
};

// Rows as a list box draws them: the row the keyboard stands on is not
// marked while nothing is selected, so that nothing looks selected until a
// line is.
class TListRowDelegate final : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
        QStyledItemDelegate::initStyleOption(option, index);
        if (!(option->state & QStyle::State_Selected))
            option->state &= ~QStyle::State_HasFocus;
    }
};

} // namespace

// The list of lines: one column of rows of one height, laid out by
// arithmetic rather than row by row, so that a log of a hundred thousand
// lines shows at once. The rows are as wide as the widest of the view and
// the extent the logic asks for. Home and End go to the first and the last
// line, as in any list. A key that moves in it selects the line it lands on,
// as a click would, also when that is the line the list already stood on:
// once the list takes the focus it stands on its first line with nothing
// selected, and with a single line no key would move anywhere else. After a
// delete the arrows go on from the deleted line's place, as in a list box:
// Down to the line that followed it, Up to the one before it.
class TListBox final : public QTableView {
public:
    explicit TListBox(QWidget* parent) : QTableView(parent) {
        horizontalHeader()->hide();
        verticalHeader()->hide();
        horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
        verticalHeader()->setMinimumSectionSize(1);
        verticalHeader()->setDefaultSectionSize(kItemHeight);
        setShowGrid(false);
        setCornerButtonEnabled(false);
        setSelectionBehavior(QAbstractItemView::SelectRows);
        setTabKeyNavigation(false);
        setItemDelegate(new TListRowDelegate(this));
    }

    // Where a line was just deleted while none is selected; -1 otherwise.
    void SetDeletedAt(int row) { deletedAt_ = row; }

    // The rows' width when the view is narrower (0: as wide as the view).
    void SetExtent(int extent) {
        extent_ = extent;
        FitColumn();
    }
    // Told the width of the client area at each resize, the first showing's
    // included, before the rows are fitted to it.
    void OnResize(std::function<void(int)> resized) { resized_ = std::move(resized); }

protected:
    bool viewportEvent(QEvent* event) override {
        if (event->type() == QEvent::Resize) {
            if (resized_)
                resized_(viewport()->width());
            FitColumn();
        }
        return QTableView::viewportEvent(event);
    }

    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override {
        if (action == MoveHome || action == MoveEnd)
            modifiers |= Qt::ControlModifier;
        return QTableView::moveCursor(action, modifiers);
    }

    void keyPressEvent(QKeyEvent* event) override {
        const int rows = model()->rowCount();
        if (deletedAt_ >= 0 && rows > 0 &&
            (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier &&
            (event->key() == Qt::Key_Down || event->key() == Qt::Key_Up)) {
            const int row = event->key() == Qt::Key_Down ? std::min(deletedAt_, rows - 1)
                                                         : std::max(deletedAt_ - 1, 0);
            const QModelIndex target = model()->index(row, 0);
            selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect);
            scrollTo(target);
            return;
        }
        QTableView::keyPressEvent(event);
        switch (event->key()) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_Home:
        case Qt::Key_End:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
            break;
        default:
            return;
        }
        const QModelIndex current = currentIndex();
        if (current.isValid() && !selectionModel()->isSelected(current))
            selectionModel()->select(current, QItemSelectionModel::ClearAndSelect);
    }

private:
    void FitColumn() {
        const int width = std::max(extent_, viewport()->width());
        if (columnWidth(0) == width)
            return;
        // The scroll bars follow at once, not at the next turn of the loop:
        // the view sets their range, and shows or hides them by a queued call.
        setColumnWidth(0, width);
        updateGeometries();
        QCoreApplication::sendPostedEvents(this, QEvent::MetaCall);
    }

    int extent_ = 0;
    int deletedAt_ = -1;
    std::function<void(int)> resized_;
};

TStatystyka::TStatystyka(TResultsLog& log, std::function<bool()> locked, QWidget* parent)
    : QWidget(parent, Qt::Window), log_(log), logic_(log, std::move(locked), measure_) {
    setObjectName(QStringLiteral("TStatystyka"));
    setWindowTitle(QStringLiteral("Statystyka"));
    resize(720, 375);
    setFont(UiFont("MS Sans Serif", 11));

    ListBox1 = new TListBox(this);
    ListBox1->setObjectName(QStringLiteral("ListBox1"));
    ListBox1->setAccessibleName(QStringLiteral("Wyniki egzaminów"));
    ListBox1->setFont(UiFont(TStatystykaLogic::ListFont()));
    // Its rows grow with the desktop's type.
    ListBox1->verticalHeader()->setDefaultSectionSize(
        qRound(kItemHeight * ListBox1->logicalDpiY() / 96.0));
    ListBox1->setTextElideMode(Qt::ElideNone);
    ListBox1->setWordWrap(false);
    ListBox1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    ListBox1->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    model_ = new TLogListModel(log, this);
    ListBox1->setModel(model_);
    ListBox1->installEventFilter(this);
    ListBox1->OnResize([this](int width) {
        logic_.ListBox1Resize(width);
        ListBox1->SetExtent(logic_.view().horizontalExtent);
    });

    Oczekujace = new QLabel(this);
    Oczekujace->setObjectName(QStringLiteral("Oczekujace"));
    Oczekujace->setWordWrap(true);
    Oczekujace->setContentsMargins(6, 2, 6, 2);
    Oczekujace->setTextInteractionFlags(Qt::TextSelectableByMouse);
    Oczekujace->hide();

    // The buttons' row scrolls sideways where the window is narrower than it.
    PanelScroll = new QScrollArea(this);
    PanelScroll->setObjectName(QStringLiteral("PanelScroll"));
    PanelScroll->setFrameShape(QFrame::NoFrame);
    PanelScroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    PanelScroll->setFocusPolicy(Qt::NoFocus);
    PanelScroll->setWidgetResizable(true);
    Panel1 = new QWidget;
    Panel1->setObjectName(QStringLiteral("Panel1"));
    auto button = [this](const char* name, const char* caption, const char* hint, QIcon glyph,
                         int width) {
        auto* b = new TSpeedButton(name, QString::fromUtf8(caption), QString::fromUtf8(hint), glyph,
                                   Panel1);
        b->resize(width, 63);
        b->setFocusPolicy(Qt::StrongFocus); // Tab goes from the list along the buttons
        return b;
    };
    SpeedButton3 = button("SpeedButton3", "Z&apisz ...", "Zapisz zmiany", Glyph(TGlyph::Save), 73);
    SpeedButton2 =
        button("SpeedButton2", "&Usuń ...", "Usuń wybraną linię", Glyph(TGlyph::Delete), 73);
    SpeedButton4 = button("SpeedButton4", "&Wyczyść", "Wyczyść wszystko", Glyph(TGlyph::Clear), 73);
    SpeedButton5 = button("SpeedButton5", "&Drukuj", "Drukuj statystyki", Glyph(TGlyph::Print), 73);
    SpeedButton6 = button("SpeedButton6", "&Eksportuj ...", "Eksportuj wyniki do arkusza",
                          Glyph(TGlyph::Download), 73);
    SpeedButton7 =
        button("SpeedButton7", "&Klasa ...", "Podsumowanie klasy", Glyph(TGlyph::Statistics), 73);
    // Its caption is the longest.
    SpeedButton8 = button("SpeedButton8", "Analiza &pytań ...", "Analiza pytań testu",
                          Glyph(TGlyph::Check), 104);
    SpeedButton1 =
        button("SpeedButton1", "&Zamknij", "Zamknij statystyki", Glyph(TGlyph::Close), 73);
    ArrangeButtons();
    PanelScroll->setWidget(Panel1);

    connect(SpeedButton3, &QToolButton::clicked, this, [this] {
        // No result leaves the log by a slip.
        if (const std::size_t removed = logic_.RemovedCount(); removed > 0) {
            QMessageBox box(QMessageBox::Question, windowTitle(),
                            QString::fromStdString(SaveQuestion(removed)),
                            QMessageBox::Yes | QMessageBox::No, this);
            box.setObjectName(QStringLiteral("SaveQuestion"));
            box.setDefaultButton(QMessageBox::No);
            if (box.exec() != QMessageBox::Yes)
                return;
        }
        Act([this] { logic_.SpeedButton3Click(); }, TListChange::Edited);
    });
    connect(SpeedButton2, &QToolButton::clicked, this,
            [this] { Act([this] { logic_.SpeedButton2Click(); }, TListChange::Edited); });
    connect(SpeedButton4, &QToolButton::clicked, this,
            [this] { Act([this] { logic_.SpeedButton4Click(); }, TListChange::Edited); });
    connect(SpeedButton5, &QToolButton::clicked, this, [this] { SpeedButton5Click(); });
    connect(SpeedButton6, &QToolButton::clicked, this,
            [this] { ExportWithDialog(this, logic_.lines()); });
    connect(SpeedButton7, &QToolButton::clicked, this, [this] {
        if (!summary_)
            summary_ = new TClassSummaryWindow(this);
        summary_->ShowLines(logic_.lines());
        summary_->show();
        summary_->raise();
    });
    connect(SpeedButton8, &QToolButton::clicked, this, [this] {
        if (!analysis_)
            analysis_ = new TQuestionAnalysisWindow(this);
        RunGuarded([this] {
            analysis_->ShowLines(logic_.lines(), AnswerRecordsPath(log_.Path()).string(),
                                 logic_.view().selected);
            analysis_->show();
            analysis_->raise();
        });
    });
    auto* help = new TRightButtonHelp(this, ResultsHelpFor);
    help->Watch(SpeedButton6);
    help->Watch(SpeedButton7);
    help->Watch(SpeedButton8);
    connect(SpeedButton1, &QToolButton::clicked, this, &QWidget::close);
    HelpOnF1(this, "statystyki");
    // The focused button comes into sight where the row scrolls.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        if (now && Panel1->isAncestorOf(now))
            PanelScroll->ensureWidgetVisible(now, 8, 0);
    });
    // Tab in reading order: the list, then the buttons from the left.
    setTabOrder(ListBox1, SpeedButton3);
    setTabOrder(SpeedButton3, SpeedButton2);
    setTabOrder(SpeedButton2, SpeedButton4);
    setTabOrder(SpeedButton4, SpeedButton5);
    setTabOrder(SpeedButton5, SpeedButton6);
    setTabOrder(SpeedButton6, SpeedButton7);
    setTabOrder(SpeedButton7, SpeedButton8);
    setTabOrder(SpeedButton8, SpeedButton1);
    // A line counts as selected when it is selected, not when the list merely
    // gets a current row by taking the focus.
    connect(ListBox1->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
        if (rendering_)
            return;
        const QModelIndexList rows = ListBox1->selectionModel()->selectedRows();
        const int row = rows.isEmpty() ? -1 : rows.first().row();
        Act([&] { logic_.ListBox1Click(row, ListBox1->viewport()->width()); }, TListChange::None);
    });
}

TStatystyka::~TStatystyka() = default;

void TStatystyka::showEvent(QShowEvent* event) {
    // Only a real showing reloads the log; coming back from the taskbar
    // must not throw away the edits.
    if (!event->spontaneous()) {
        // In the middle of the screen, over the main window, like the other
        // windows, and no larger than the screen takes.
        PlaceOnScreen(this, size());
        Act([this] { logic_.FormShow(); }, TListChange::Loaded);
    }
    QWidget::showEvent(event);
}

void TStatystyka::Act(const std::function<void()>& action, TListChange change) {
    RunGuarded(action);
    Render(change);
}

void TStatystyka::Render(TListChange change) {
    rendering_ = true;
    const TStatystykaView& v = logic_.view();
    if (change != TListChange::None) {
        const int top = ListBox1->verticalScrollBar()->value();
        model_->Reload();
        ListBox1->doItemsLayout();
        // A save keeps the selection (other copies' lines may have come in
        // below it); a delete or a clear has none left.
        if (v.selected >= 0)
            ListBox1->selectionModel()->setCurrentIndex(model_->index(v.selected),
                                                        QItemSelectionModel::ClearAndSelect);
        else if (v.deletedAt >= 0)
            ListBox1->selectionModel()->setCurrentIndex(
                model_->index(std::min(v.deletedAt, model_->rowCount() - 1)),
                QItemSelectionModel::NoUpdate);
        ListBox1->verticalScrollBar()->setValue(change == TListChange::Edited ? top : 0);
    }
    ListBox1->SetDeletedAt(v.selected < 0 ? v.deletedAt : -1);
    ListBox1->SetExtent(v.horizontalExtent);
    SpeedButton3->setEnabled(v.SpeedButton3);
    SpeedButton2->setEnabled(v.SpeedButton2);
    SpeedButton4->setEnabled(v.SpeedButton4);
    const QString note = QString::fromStdString(v.waitingNote);
    if (Oczekujace->text() != note || Oczekujace->isHidden() != note.isEmpty()) {
        Oczekujace->setText(note);
        Oczekujace->setVisible(!note.isEmpty());
        LayOut();
    }
    rendering_ = false;
}

void TStatystyka::ShowAlone(const QString& path) {
    setWindowTitle(
        QStringLiteral("Wyniki egzaminów Kwizmar 2002 – %1").arg(QDir::toNativeSeparators(path)));
}

void TStatystyka::ShowWaiting() {
    if (!isVisible())
        return;
    logic_.ShowWaiting();
    Render(TListChange::None);
}

void TStatystyka::resizeEvent(QResizeEvent* event) {
    LayOut();
    QWidget::resizeEvent(event);
}

void TStatystyka::ArrangeButtons() {
    // Seven buttons on the left, 6 px apart, "&Zamknij" on its own at the
    // right; each as large as its caption needs in the desktop's type.
    int x = 8, height = 63;
    for (TSpeedButton* b : {SpeedButton3, SpeedButton2, SpeedButton4, SpeedButton5, SpeedButton6,
                            SpeedButton7, SpeedButton8}) {
        const QSize needed = b->size().expandedTo(b->sizeHint());
        b->setGeometry(x, 5, needed.width(), needed.height());
        height = std::max(height, needed.height());
        x += needed.width() + 6;
    }
    const QSize needed = SpeedButton1->size().expandedTo(SpeedButton1->sizeHint());
    SpeedButton1->setGeometry(std::max(616, x + 24), 5, needed.width(), needed.height());
    height = std::max(height, needed.height());
    Panel1->setMinimumSize(SpeedButton1->geometry().right() + 32, height + 10);
}

void TStatystyka::LayOut() {
    // A scroll bar under the buttons where the window is narrower than their row.
    const int panelHeight =
        Panel1->minimumHeight() + (width() < Panel1->minimumWidth()
                                       ? PanelScroll->horizontalScrollBar()->sizeHint().height()
                                       : 0);
    const int panelTop = height() - panelHeight;
    const int noteHeight = Oczekujace->isHidden() ? 0 : Oczekujace->heightForWidth(width());
    ListBox1->setGeometry(0, 0, width(), panelTop - noteHeight);
    Oczekujace->setGeometry(0, panelTop - noteHeight, width(), noteHeight);
    PanelScroll->setGeometry(0, panelTop, width(), panelHeight);
}

bool TStatystyka::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ListBox1 && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
        close();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void TStatystyka::keyPressEvent(QKeyEvent* event) {
    // Esc on a button as well as on the list.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

void TStatystyka::SpeedButton5Click() {
    if (printing_)
        return;
    QPrinter printer(QPrinter::HighResolution);
    QPrintDialog PrintDialog1(&printer, this);
    PrintDialog1.setObjectName(QStringLiteral("PrintDialog1"));
    if (PrintDialog1.exec() != QDialog::Accepted)
        return;
    Print(printer);
}

bool TStatystyka::Print(QPrinter& printer) {
    printing_ = true;
    const TScopeExit done([this] { printing_ = false; });
    QGuiApplication::setOverrideCursor(Qt::BusyCursor);
    const TScopeExit cursor([] { QGuiApplication::restoreOverrideCursor(); });
    // Up at once, so that the print dialog's place is painted over and the
    // window takes no input while the pages go out.
    QProgressDialog progress(this);
    progress.setObjectName(QStringLiteral("PostepDrukowania"));
    progress.setWindowTitle(QStringLiteral("Drukowanie"));
    progress.setLabelText(QStringLiteral("Przygotowanie wydruku ..."));
    progress.setCancelButtonText(QStringLiteral("Anuluj"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setAutoClose(false);
    progress.setAutoReset(false);
    progress.setMinimumDuration(0);
    progress.setRange(0, 0);
    progress.show();
    QCoreApplication::processEvents();

    QFont font = UiFont(TStatystykaLogic::ListFont());
    font.setPointSize(8); // the list's 8 points, in the printer's own resolution
    QPainter painter;
    if (!painter.begin(&printer))
        return false; // the printing layer has said why
    painter.setFont(font);
    const QFontMetrics metrics(font, &printer);
    const TDeviceMeasure measure(font, &printer);
    const TLogLines lines = logic_.lines();
    TPrintPager pager(
        lines.size(), [&lines](std::size_t i) { return lines[i]; }, measure,
        TStatystykaLogic::ListFont(), printer.width(), printer.height(), metrics.height());
    progress.setRange(0, int(std::max<std::size_t>(pager.LineCount(), 1)));
    // Each page is laid out just before it is printed, so the progress moves
    // and "Anuluj" answers from the first page to the last.
    bool cancelled = false;
    TPrintPage page;
    for (int number = 1;; ++number) {
        progress.setLabelText(QStringLiteral("Drukowanie strony %1 ...").arg(number));
        progress.setValue(int(pager.LinesDone()));
        QCoreApplication::processEvents();
        if ((cancelled = progress.wasCanceled()) || !pager.NextPage(page))
            break;
        if (number > 1)
            printer.newPage();
        int top = 0;
        for (const std::string& line : page) {
            painter.drawText(0, top + metrics.ascent(), QString::fromStdString(line));
            top += metrics.height();
        }
    }
    cancelled = cancelled || progress.wasCanceled();
    // Where the printing system can't take the job back (a PDF file, CUPS),
    // what was painted goes out; a file that would hold half a printout is
    // removed.
    const bool aborted = cancelled && printer.abort();
    painter.end();
    if (cancelled && !aborted && printer.outputFormat() == QPrinter::PdfFormat &&
        !printer.outputFileName().isEmpty())
        QFile::remove(printer.outputFileName());
    return !cancelled;
}

} // namespace kwizmar
