#include "Edytor.h"

#include "AnswerLetters.h"
#include "FindingsList.h"
#include "FocusStyle.h"
#include "Fonts.h"
#include "GradeScale.h"
#include "Preview.h"
#include "QuestionTextEdit.h"
#include "ScreenFit.h"
#include "TypedAnswer.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDate>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QShortcut>
#include <QStatusBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace kwizmar {

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

QPushButton* Button(const char* name, const QString& text, const QString& hint, QAction* action,
                    QWidget* parent) {
    auto* button = new QPushButton(text, parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(hint);
    QObject::connect(button, &QPushButton::clicked, action, &QAction::trigger);
    QObject::connect(action, &QAction::changed, button,
                     [button, action] { button->setEnabled(action->isEnabled()); });
    return button;
}

// A field with its checks beneath it, as one widget of a form row, so that a
// field without checks takes no more room than the field. `focus` takes the
// focus the row's label gives by its accelerator.
QWidget* WithChecks(QWidget* parent, QLayoutItem* field, QLabel* checks, QWidget* focus) {
    auto* widget = new QWidget(parent);
    auto* layout = new QVBoxLayout(widget);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    if (QLayout* inner = field->layout())
        layout->addLayout(inner);
    else
        layout->addWidget(field->widget());
    if (checks)
        layout->addWidget(checks);
    widget->setFocusProxy(focus);
    return widget;
}

QWidget* WithChecks(QWidget* parent, QWidget* field, QLabel* checks) {
    QWidgetItem item(field);
    return WithChecks(parent, &item, checks, field);
}

// A caption as a name: "&Maks. punktów :" names its field "Maks. punktów".
QString NameOf(QString caption) {
    caption.remove(QLatin1Char('&'));
    caption = caption.trimmed();
    if (caption.endsWith(QLatin1Char(':')))
        caption.chop(1);
    return caption.trimmed();
}

// A form row whose caption's accelerator gives the focus to the row's field,
// and whose caption names the field: the field lies in a widget of its own
// with its checks, where the caption can't name it by itself.
void AddRow(QFormLayout* form, const QString& caption, QWidget* row) {
    form->addRow(caption, row);
    QWidget* field = row->focusProxy() ? row->focusProxy() : row;
    if (auto* label = qobject_cast<QLabel*>(form->labelForField(row)))
        label->setBuddy(field);
    field->setAccessibleName(NameOf(caption));
}

// The window's content, which scrolls where the window is smaller than it
// needs (a small screen, large type): the window never has to pass the
// screen's edge. Its natural size is the whole content's. It takes no focus
// of its own, and brings the focused field into sight.
class TWholeScroll final : public QScrollArea {
public:
    TWholeScroll(QWidget* content, QWidget* parent) : QScrollArea(parent) {
        setObjectName(QStringLiteral("Przewijanie"));
        setFrameShape(QFrame::NoFrame);
        setFocusPolicy(Qt::NoFocus);
        setWidgetResizable(true);
        setWidget(content);
        connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
            if (now && widget()->isAncestorOf(now))
                ensureWidgetVisible(now, 8, 8);
        });
    }
    QSize sizeHint() const override { return widget()->sizeHint(); }
};

} // namespace

TDate Today() {
    const QDate today = QDate::currentDate();
    return TDate{today.year(), today.month(), today.day()};
}

TEdytor::TEdytor(IRegistry& registry) : logic_(regional_, measure_, Today()), recent_(registry) {
    setObjectName(QStringLiteral("Edytor"));
    setFont(UiFont("MS Sans Serif", 12));
    BuildActions();

    auto* central = new QWidget(this);
    auto* columns = new QHBoxLayout(central);
    auto* left = new QVBoxLayout;
    left->addWidget(BuildHeader());
    left->addWidget(BuildQuestionList(), 1);
    auto* right = new QVBoxLayout;
    right->addWidget(BuildQuestion());
    auto* previewBox = new QGroupBox(QStringLiteral(" Tak zobaczy je zdający : "), central);
    auto* previewLayout = new QVBoxLayout(previewBox);
    preview_ = new TPreview(previewBox);
    previewLayout->addWidget(preview_);
    right->addWidget(previewBox, 1);
    columns->addLayout(left, 4);
    columns->addLayout(right, 5);
    setCentralWidget(new TWholeScroll(central, this));

    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("Stan"));
    statusBar()->addWidget(status_, 1);

    for (const TBoundField& field : fields_) {
        const TField f = field.ref().field;
        if (f == TField::Text || f == TField::Answer || f == TField::Points) {
            field.checks->setProperty("keepsLine", true);
            field.checks->setMinimumHeight(field.checks->fontMetrics().height());
        }
    }

    // Reading order: the test, the list and its buttons, then the question
    // from its text down, each answer after its radio button.
    std::vector<QWidget*> order;
    for (const char* name : {"Opis", "Nazwa", "Autor", "Data", "Dzis", "MaksPunkty", "MaksRecznie",
                             "ListaPytan", "Dodaj", "Powiel", "Usun", "WGore", "WDol", "Tresc"})
        order.push_back(findChild<QWidget*>(QString::fromLatin1(name)));
    for (int i = 0; i < kAnswerCount; ++i) {
        order.push_back(correct_[static_cast<std::size_t>(i)]);
        order.push_back(
            findChild<QWidget*>(QStringLiteral("Odp") + QLatin1String(kAnswerCapitals[i])));
    }
    order.insert(order.end(), {findChild<QWidget*>(QStringLiteral("Punkty")), selfAnswer_, bonus_});
    SetTabOrder(order);
    freshQuestion_ = logic_.Selected(); // the new test's first question
    StartKeepingCopies();
    Render();
}

void TEdytor::ShowOnScreen() {
    PlaceOnScreen(this, QSize(1040, 760));
    show();
}

void TEdytor::BuildActions() {
    auto action = [this](QMenu* menu, const QString& text, const QKeySequence& keys,
                         const QString& hint, std::function<void()> run) {
        auto* a = menu->addAction(text);
        a->setShortcut(keys);
        a->setStatusTip(hint);
        a->setToolTip(hint);
        connect(a, &QAction::triggered, this, std::move(run));
        return a;
    };
    QMenu* file = menuBar()->addMenu(QStringLiteral("&Plik"));
    action(file, QStringLiteral("&Nowy test"), QKeySequence::New,
           QStringLiteral("Zaczyna nowy, pusty test"), [this] { NewTest(); });
    action(file, QStringLiteral("&Otwórz ..."), QKeySequence::Open,
           QStringLiteral("Otwiera test (.ts2) albo jego tekst źródłowy (.txt)"),
           [this] { OpenDialog(); });
    recentMenu_ = file->addMenu(QStringLiteral("Ostatnio o&twierane"));
    connect(recentMenu_, &QMenu::aboutToShow, this, [this] { FillRecentMenu(); });
    file->addSeparator();
    action(file, QStringLiteral("&Zapisz"), QKeySequence::Save,
           QStringLiteral("Zapisuje test w jego pliku .ts2"), [this] { Save(); });
    action(file, QStringLiteral("Zapisz &jako ..."), QKeySequence(QStringLiteral("Ctrl+Shift+S")),
           QStringLiteral("Zapisuje test w nowym pliku .ts2"), [this] { SaveAs(); });
    action(file, QStringLiteral("Zapisz &szkic ..."), QKeySequence(QStringLiteral("Ctrl+Alt+S")),
           QStringLiteral("Zachowuje niedokończony test, także z błędami, jako tekst źródłowy "
                          "(.txt), by wrócić do niego później"),
           [this] { SaveDraft(); });
    action(file, QStringLiteral("&Eksportuj jako tekst źródłowy ..."), QKeySequence(),
           QStringLiteral("Zapisuje test jako tekst UTF-8, który czyta kwizmar-ts2"),
           [this] { ExportTextSource(); });
    action(file, QStringLiteral("&Importuj pytania ..."), QKeySequence(),
           QStringLiteral("Dopisuje do testu pytania z pliku w formacie Aiken albo GIFT"),
           [this] { ImportDialog(); })
        ->setObjectName(QStringLiteral("ImportujPytania"));
    action(file, QStringLiteral("Eksportuj do &GIFT ..."), QKeySequence(),
           QStringLiteral("Zapisuje pytania w formacie GIFT, który czyta Moodle"),
           [this] { ExportGift(); })
        ->setObjectName(QStringLiteral("EksportujGift"));
    file->addSeparator();
    action(file, QStringLiteral("&Wypróbuj w programie Kwizmar"), QKeySequence(Qt::Key_F5),
           QStringLiteral("Uruchamia program Kwizmar z tym testem"), [this] { TryIt(); });
    action(file, QStringLiteral("W&yniki egzaminów ..."), QKeySequence(),
           QStringLiteral("Otwiera wyniki egzaminów z dziennika programu Kwizmar"),
           [this] { StartExamProgram({QStringLiteral("--wyniki")}); })
        ->setObjectName(QStringLiteral("WynikiEgzaminow"));
    file->addSeparator();
    action(file, QStringLiteral("Za&kończ"), QKeySequence(QStringLiteral("Ctrl+Q")),
           QStringLiteral("Zamyka edytor"), [this] { close(); });

    QMenu* edit = menuBar()->addMenu(QStringLiteral("&Edycja"));
    undo_ =
        action(edit, QStringLiteral("&Cofnij"), QKeySequence::Undo,
               QStringLiteral("Cofa ostatnią zmianę"), [this] { Edit([this] { logic_.Undo(); }); });
    redo_ = action(edit, QStringLiteral("&Ponów"), QKeySequence(QStringLiteral("Ctrl+Y")),
                   QStringLiteral("Przywraca cofniętą zmianę"),
                   [this] { Edit([this] { logic_.Redo(); }); });
    redo_->setShortcuts(
        {QKeySequence(QStringLiteral("Ctrl+Y")), QKeySequence(QStringLiteral("Ctrl+Shift+Z"))});

    QMenu* questions = menuBar()->addMenu(QStringLiteral("P&ytanie"));
    // A new question is written at once: the focus goes to its text.
    add_ = action(questions, QStringLiteral("&Dodaj pytanie"),
                  QKeySequence(QStringLiteral("Ctrl+Return")),
                  QStringLiteral("Dodaje nowe pytanie za zaznaczonym [Ctrl + Enter]"), [this] {
                      Edit([this] {
                          logic_.AddQuestion();
                          // Its empty fields are not yet wrong: each says so once left.
                          freshQuestion_ = logic_.Selected();
                          left_.clear();
                      });
                      FocusQuestionText();
                  });
    duplicate_ = action(
        questions, QStringLiteral("&Powiel pytanie"), QKeySequence(QStringLiteral("Ctrl+Shift+D")),
        QStringLiteral("Dodaje kopię zaznaczonego pytania [Ctrl + Shift + D]"), [this] {
            Edit([this] { logic_.DuplicateQuestion(); });
            FocusQuestionText();
        });
    delete_ = action(questions, QStringLiteral("&Usuń pytanie"),
                     QKeySequence(QStringLiteral("Ctrl+Shift+Del")),
                     QStringLiteral("Usuwa zaznaczone pytanie [Ctrl + Shift + Del]"),
                     [this] { Edit([this] { logic_.DeleteQuestion(); }); });
    up_ = action(questions, QStringLiteral("W &górę"), QKeySequence(QStringLiteral("Alt+Up")),
                 QStringLiteral("Przenosi pytanie o jedno miejsce wyżej [Alt + ↑]"),
                 [this] { Edit([this] { logic_.MoveQuestion(-1); }); });
    down_ = action(questions, QStringLiteral("W &dół"), QKeySequence(QStringLiteral("Alt+Down")),
                   QStringLiteral("Przenosi pytanie o jedno miejsce niżej [Alt + ↓]"),
                   [this] { Edit([this] { logic_.MoveQuestion(+1); }); });
    questions->addSeparator();
    for (int i = 0; i < kAnswerCount; ++i)
        correctActions_[static_cast<std::size_t>(i)] =
            action(questions,
                   QStringLiteral("Poprawna odpowiedź &%1").arg(QLatin1String(kAnswerCapitals[i])),
                   QKeySequence(QStringLiteral("Ctrl+%1").arg(i + 1)),
                   QStringLiteral("Zaznacza odpowiedź %1 jako poprawną [Ctrl + %2]")
                       .arg(QLatin1String(kAnswerCapitals[i]))
                       .arg(i + 1),
                   [this, i] {
                       if (question_ >= 0)
                           Edit([&] { logic_.SetCorrectAnswer(question_, i); });
                   });

    questions->addSeparator();
    action(questions, QStringLiteral("&Lista błędów i uwag ..."),
           QKeySequence(QStringLiteral("Ctrl+L")),
           QStringLiteral("Pokazuje wszystkie błędy i uwagi testu; każda prowadzi do swojego pola "
                          "[Ctrl + L]"),
           [this] { ShowFindings(); });

    QMenu* help = menuBar()->addMenu(QStringLiteral("Po&moc"));
    action(help, QStringLiteral("&Pomoc edytora"), QKeySequence(Qt::Key_F1),
           QStringLiteral("Otwiera stronę pomocy o edytorze testów [F1]"), [this] { ShowHelp(); });
}

QWidget* TEdytor::TBoundField::widget() const {
    return edit ? static_cast<QWidget*>(edit) : box;
}

void TEdytor::FocusQuestionText() {
    for (const TBoundField& field : fields_)
        if (field.ref().field == TField::Text) {
            field.widget()->setFocus(Qt::OtherFocusReason);
            return;
        }
}

QLabel* TEdytor::MakeChecksLabel() {
    auto* label = new QLabel(this);
    label->setWordWrap(true);
    label->setTextFormat(Qt::RichText);
    label->hide();
    return label;
}

// While QMainWindow's destructor runs, the window is no longer a TEdytor: a
// field losing the focus then (its entry ending) must no longer reach it.
TEdytor::~TEdytor() {
    for (QObject* child : findChildren<QObject*>())
        disconnect(child, nullptr, this, nullptr);
}

QLineEdit* TEdytor::AddField(const char* name, const QString& hint, std::function<TFieldRef()> ref,
                             QLabel** checks) {
    auto* edit = new QLineEdit(this);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setToolTip(hint);
    QLabel* label = MakeChecksLabel();
    label->setObjectName(QString::fromLatin1(name) + QStringLiteral("Uwagi"));
    connect(edit, &QLineEdit::textEdited, this, [this, ref](const QString& text) {
        Edit([&] { logic_.SetText(ref(), text.toStdString()); });
    });
    connect(edit, &QLineEdit::editingFinished, this, [this] { logic_.EndTyping(); });
    edit->installEventFilter(this);
    fields_.push_back({edit, nullptr, label, std::move(ref)});
    if (checks)
        *checks = label;
    return edit;
}

QWidget* TEdytor::BuildHeader() {
    auto* box = new QGroupBox(QStringLiteral(" Test : "), this);
    box->setObjectName(QStringLiteral("Naglowek"));
    auto* form = new QFormLayout(box);
    auto row = [&](const QString& caption, QWidget* field, QLabel* checks) {
        AddRow(form, caption, WithChecks(box, field, checks));
    };
    auto field = [&](const char* name, const QString& caption, const QString& hint, TField f) {
        QLabel* checks = nullptr;
        QLineEdit* edit = AddField(
            name, hint, [f] { return TFieldRef{f}; }, &checks);
        row(caption, edit, checks);
        return edit;
    };
    field("Opis", QStringLiteral("&Opis :"),
          QStringLiteral("Opis testu; na stronie startowej programu widać dwa jego wiersze"),
          TField::Description);
    QLineEdit* name = field("Nazwa", QStringLiteral("&Nazwa :"),
                            QStringLiteral("Nazwa testu; cudzysłów wokół niej program dopisze sam"),
                            TField::Name);
    name->setPlaceholderText(QStringLiteral("bez cudzysłowu"));
    field("Autor", QStringLiteral("&Autor :"), QStringLiteral("Autor testu"), TField::Author);

    QLabel* dateChecks = nullptr;
    QLineEdit* date = AddField(
        "Data", QStringLiteral("Data utworzenia testu, dd.mm.rrrr"),
        [] { return TFieldRef{TField::Date}; }, &dateChecks);
    date->setPlaceholderText(QStringLiteral("dd.mm.rrrr"));
    auto* today = new QPushButton(QStringLiteral("Dzi&ś"), box);
    today->setObjectName(QStringLiteral("Dzis"));
    today->setToolTip(QStringLiteral("Wpisuje dzisiejszą datę"));
    connect(today, &QPushButton::clicked, this, [this] {
        const QString text = QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy"));
        Edit([&] { logic_.SetText({TField::Date}, text.toStdString()); });
    });
    auto* dateRow = new QHBoxLayout;
    dateRow->addWidget(date, 1);
    dateRow->addWidget(today);
    AddRow(form, QStringLiteral("&Data :"), WithChecks(box, dateRow, dateChecks, date));

    counts_ = new QLabel(box);
    counts_->setObjectName(QStringLiteral("Liczby"));
    counts_->setToolTip(QStringLiteral("Te liczby program wpisuje sam, z listy pytań"));
    form->addRow(QStringLiteral("Pytania :"), counts_);

    QLabel* maxChecks = nullptr;
    maxPoints_ = AddField(
        "MaksPunkty",
        QStringLiteral("Maksymalna liczba punktów: od niej liczy się procent "
                       "i ocena"),
        [] { return TFieldRef{TField::MaxPoints}; }, &maxChecks);
    maxByHand_ = new QCheckBox(QStringLiteral("ustaw &ręcznie"), box);
    maxByHand_->setObjectName(QStringLiteral("MaksRecznie"));
    maxByHand_->setToolTip(QStringLiteral("Bez zaznaczenia maksimum to suma punktów pytań"));
    connect(maxByHand_, &QCheckBox::clicked, this,
            [this](bool on) { Edit([&] { logic_.SetMaxPointsByHand(on); }); });
    auto* maxRow = new QHBoxLayout;
    maxRow->addWidget(maxPoints_);
    maxRow->addWidget(maxByHand_);
    maxRow->addStretch(1);
    auto* maxColumn = new QVBoxLayout;
    maxColumn->setSpacing(2);
    maxColumn->addLayout(maxRow);
    auto* maxNote = new QLabel(QString::fromStdString(GradeRuleText()) +
                                   QStringLiteral(" Zwykle maksimum to suma punktów pytań."),
                               box);
    maxNote->setObjectName(QStringLiteral("MaksPunktyOpis"));
    maxNote->setWordWrap(true);
    // Quieter than the fields' captions, and as readable.
    QPalette quiet = maxNote->palette();
    quiet.setColor(QPalette::WindowText,
                   Subdued(quiet.color(QPalette::WindowText), quiet.color(QPalette::Window)));
    maxNote->setPalette(quiet);
    maxColumn->addWidget(maxNote);
    AddRow(form, QStringLiteral("&Maks. punktów :"),
           WithChecks(box, maxColumn, maxChecks, maxPoints_));
    return box;
}

QWidget* TEdytor::BuildQuestionList() {
    auto* box = new QGroupBox(QStringLiteral(" Pytania : "), this);
    auto* layout = new QVBoxLayout(box);
    list_ = new QListWidget(box);
    list_->setObjectName(QStringLiteral("ListaPytan"));
    list_->setAccessibleName(QStringLiteral("Pytania"));
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list_->setTextElideMode(Qt::ElideRight);
    list_->setToolTip(QStringLiteral("Pytania testu w kolejności egzaminu; pytania z błędami są "
                                     "czerwone"));
    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) {
        if (row >= 0 && row != logic_.Selected()) {
            logic_.Select(row);
            Render();
        }
    });
    auto* deleteKey = new QShortcut(QKeySequence::Delete, list_);
    deleteKey->setContext(Qt::WidgetShortcut);
    connect(deleteKey, &QShortcut::activated, delete_, &QAction::trigger);
    layout->addWidget(list_, 1);
    listChecks_ = MakeChecksLabel();
    layout->addWidget(listChecks_);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button("Dodaj", QStringLiteral("Doda&j"), add_->toolTip(), add_, box));
    buttons->addWidget(
        Button("Powiel", QStringLiteral("Po&wiel"), duplicate_->toolTip(), duplicate_, box));
    buttons->addWidget(Button("Usun", QStringLiteral("Usu&ń"), delete_->toolTip(), delete_, box));
    buttons->addWidget(Button("WGore", QStringLiteral("W &górę"), up_->toolTip(), up_, box));
    buttons->addWidget(Button("WDol", QStringLiteral("W dó&ł"), down_->toolTip(), down_, box));
    layout->addLayout(buttons);
    return box;
}

QWidget* TEdytor::BuildQuestion() {
    questionBox_ = new QGroupBox(this);
    questionBox_->setObjectName(QStringLiteral("Pytanie"));
    auto* form = new QFormLayout(questionBox_);
    auto selected = [this] { return question_; };

    auto* text = new TQuestionTextEdit(questionBox_);
    text->setObjectName(QStringLiteral("Tresc"));
    text->setToolTip(QStringLiteral("Treść pytania, jednym ciągiem (w pliku to jeden wiersz); w "
                                    "egzaminie widać trzy jej wiersze, jak w podglądzie"));
    QLabel* textChecks = MakeChecksLabel();
    textChecks->setObjectName(QStringLiteral("TrescUwagi"));
    text->OnEdited([this](const QString& typed) {
        Edit([&] { logic_.SetText({TField::Text, question_}, typed.toStdString()); });
    });
    text->installEventFilter(this);
    fields_.push_back({nullptr, text, textChecks, [selected] {
                           return TFieldRef{TField::Text, selected()};
                       }});
    AddRow(form, QStringLiteral("&Treść :"), WithChecks(questionBox_, text, textChecks));

    // No button group and no auto-exclusion: the test keeps one button
    // checked (Render), and so each radio button keeps its place in the Tab
    // order, which Qt otherwise gives only to the checked one of a group.
    for (int i = 0; i < kAnswerCount; ++i) {
        QLabel* checks = nullptr;
        const std::string name = std::string("Odp") + kAnswerCapitals[i];
        QLineEdit* answer = AddField(
            name.c_str(), QStringLiteral("Odpowiedź %1").arg(QLatin1String(kAnswerCapitals[i])),
            [selected, i] {
                return TFieldRef{TField::Answer, selected(), i};
            },
            &checks);
        auto* radio = new QRadioButton(
            QStringLiteral("%1 :").arg(QLatin1String(kAnswerCapitals[i])), questionBox_);
        radio->setObjectName(QStringLiteral("Poprawna") + QLatin1String(kAnswerCapitals[i]));
        radio->setToolTip(
            QStringLiteral("Zaznacz, jeśli to poprawna odpowiedź [Ctrl + %1]").arg(i + 1));
        radio->setAccessibleName(
            QStringLiteral("Poprawna odpowiedź %1").arg(QLatin1String(kAnswerCapitals[i])));
        answer->setAccessibleName(
            QStringLiteral("Odpowiedź %1").arg(QLatin1String(kAnswerCapitals[i])));
        radio->setAutoExclusive(false);
        connect(radio, &QRadioButton::clicked, this,
                [this, i] { Edit([&] { logic_.SetCorrectAnswer(question_, i); }); });
        correct_[static_cast<std::size_t>(i)] = radio;
        form->addRow(radio, WithChecks(questionBox_, answer, checks));
    }
    correctChecks_ = MakeChecksLabel();
    form->addRow(QString(), correctChecks_);
    correctChecks_->setObjectName(QStringLiteral("PoprawnaUwagi"));
    answersNote_ = new QLabel(questionBox_);
    answersNote_->setObjectName(QStringLiteral("OdpowiedziOpis"));
    answersNote_->setWordWrap(true);
    answersNote_->setToolTip(QStringLiteral("Pytanie może mieć od 2 do 5 odpowiedzi; puste "
                                            "zostawia się na końcu"));
    form->addRow(QString(), answersNote_);

    QLabel* pointsChecks = nullptr;
    QLineEdit* points = AddField(
        "Punkty", QStringLiteral("Punkty za poprawną odpowiedź"),
        [selected] {
            return TFieldRef{TField::Points, selected()};
        },
        &pointsChecks);
    points->setMaximumWidth(80);
    AddRow(form, QStringLiteral("P&unkty :"), WithChecks(questionBox_, points, pointsChecks));

    selfAnswer_ = new QCheckBox(QStringLiteral("&samodzielna, dodatkowe punkty :"), questionBox_);
    selfAnswer_->setObjectName(QStringLiteral("Samodzielna"));
    selfAnswer_->setToolTip(QStringLiteral("Zdający może wpisać odpowiedź sam i zdobyć "
                                           "dodatkowe punkty"));
    connect(selfAnswer_, &QCheckBox::clicked, this,
            [this](bool on) { Edit([&] { logic_.SetSelfAnswer(question_, on); }); });
    QLabel* bonusChecks = nullptr;
    bonus_ = AddField(
        "Dodatkowe", QStringLiteral("Dodatkowe punkty za dobrze wpisaną odpowiedź"),
        [selected] {
            return TFieldRef{TField::Bonus, selected()};
        },
        &bonusChecks);
    bonus_->setMaximumWidth(80);
    bonus_->setAccessibleName(QStringLiteral("Dodatkowe punkty"));
    auto* selfRow = new QHBoxLayout;
    selfRow->addWidget(selfAnswer_);
    selfRow->addWidget(bonus_);
    selfRow->addStretch(1);
    auto* selfColumn = new QVBoxLayout;
    selfColumn->setSpacing(2);
    selfColumn->addLayout(selfRow);
    selfAnswerNote_ = new QLabel(questionBox_);
    selfAnswerNote_->setObjectName(QStringLiteral("SamodzielnaOpis"));
    selfAnswerNote_->setWordWrap(true);
    selfAnswerNote_->setTextFormat(Qt::RichText);
    selfColumn->addWidget(selfAnswerNote_);
    AddRow(form, QStringLiteral("Odpowiedź :"),
           WithChecks(questionBox_, selfColumn, bonusChecks, selfAnswer_));

    return questionBox_;
}

} // namespace kwizmar
