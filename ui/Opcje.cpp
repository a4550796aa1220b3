#include "Opcje.h"

#include "ErrorHandler.h"
#include "Fonts.h"
#include "SpeedButton.h"

#include <QCheckBox>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QRadioButton>
#include <QScreen>
#include <QStyle>

namespace kwizmar {

namespace {

template <typename Button>
Button* MakeOption(QWidget* parent, const char* name, const char* caption, const char* hint, int x,
                   int y) {
    auto* b = new Button(QString::fromUtf8(caption), parent);
    b->setObjectName(QString::fromLatin1(name));
    if (*hint)
        b->setToolTip(QString::fromUtf8(hint));
    b->move(x, y);
    b->adjustSize();
    return b;
}

} // namespace

Topcje::Topcje(TOptionStates& states, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      logic_(states) {
    setObjectName(QStringLiteral("Topcje"));
    setWindowTitle(QStringLiteral("Nerbaly KWIZMAR 2002 - Opcje"));
    setFixedSize(407, 277);
    setFont(UiFont("MS Sans Serif", 11));

    CheckBox108 = MakeOption<QCheckBox>(this, "CheckBox108", "Przewijaj tytuł programu:",
                                        "Uaktywnia opcje przewijania tytułu na pasku zadań", 16, 8);
    RadioButton34 =
        MakeOption<QRadioButton>(this, "RadioButton34", "tylko na pasku programu",
                                 "Skroluje tytuł programu tylko na psaku programu", 40, 27);
    RadioButton35 =
        MakeOption<QRadioButton>(this, "RadioButton35", "na pasku programu i pasku zadań",
                                 "Skroluje tytuł programu na psaku programu i pasku zadań", 40, 46);
    CheckBox1 =
        MakeOption<QCheckBox>(this, "CheckBox1", "Zablokuj edytowanie statystyk", "", 16, 72);
    CheckBox2 = MakeOption<QCheckBox>(this, "CheckBox2",
                                      "Wyświetlaj każdą opowiedź w formie testowej", "", 16, 96);
    auto* Label1 = new QLabel(QStringLiteral("Na czas trwania egzaminu:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->move(16, 128);
    Label1->adjustSize();
    CheckBox3 = MakeOption<QCheckBox>(this, "CheckBox3", "wyłącz i ukryj pulpit", "", 40, 144);
    CheckBox4 = MakeOption<QCheckBox>(
        this, "CheckBox4", "wyłącz i ukryj przycisk Start i cały pasek zadań", "", 40, 168);

    auto* Bevel1 = new QFrame(this);
    Bevel1->setObjectName(QStringLiteral("Bevel1"));
    Bevel1->setFrameShape(QFrame::HLine);
    Bevel1->setFrameShadow(QFrame::Sunken);
    Bevel1->setGeometry(8, 199, 391, 2);

    SpeedButton1 = new TSpeedButton("SpeedButton1", QStringLiteral("&OK"), QStringLiteral("OK"),
                                    style()->standardIcon(QStyle::SP_DialogApplyButton), this);
    SpeedButton1->setGeometry(320, 208, 73, 57);

    setTabOrder(CheckBox108, RadioButton34);
    setTabOrder(RadioButton34, RadioButton35);
    setTabOrder(RadioButton35, CheckBox1);
    setTabOrder(CheckBox1, CheckBox2);
    setTabOrder(CheckBox2, CheckBox3);
    setTabOrder(CheckBox3, CheckBox4);

    connect(CheckBox108, &QCheckBox::clicked, this,
            [this] { Act(&TOpcjeLogic::CheckBox108Click); });
    connect(RadioButton34, &QRadioButton::clicked, this,
            [this] { Act(&TOpcjeLogic::RadioButton34Click); });
    connect(RadioButton35, &QRadioButton::clicked, this,
            [this] { Act(&TOpcjeLogic::RadioButton35Click); });
    connect(CheckBox1, &QCheckBox::clicked, this, [this] { Act(&TOpcjeLogic::CheckBox1Click); });
    connect(CheckBox2, &QCheckBox::clicked, this, [this] { Act(&TOpcjeLogic::CheckBox2Click); });
    connect(CheckBox3, &QCheckBox::clicked, this, [this] { Act(&TOpcjeLogic::CheckBox3Click); });
    connect(CheckBox4, &QCheckBox::clicked, this, [this] { Act(&TOpcjeLogic::CheckBox4Click); });
    connect(SpeedButton1, &QToolButton::clicked, this, &QWidget::close);

    // Enter or Esc on any control closes the window before the control can
    // act on the key.
    for (QWidget* w : findChildren<QWidget*>())
        w->installEventFilter(this);
    installEventFilter(this);
    Render();
}

void Topcje::SetOption(TOption option, bool state) {
    struct TRenderAfter {
        Topcje* window;
        ~TRenderAfter() { window->Render(); }
    } renderAfter{this};
    logic_.SetOption(option, state);
}

void Topcje::Act(void (TOpcjeLogic::*click)()) {
    RunGuarded([&] { (logic_.*click)(); });
    Render();
}

void Topcje::Render() {
    const TOpcjeView v = logic_.view();
    const std::pair<QAbstractButton*, const TOptionControl*> controls[] = {
        {CheckBox108, &v.CheckBox108},     {RadioButton34, &v.RadioButton34},
        {RadioButton35, &v.RadioButton35}, {CheckBox1, &v.CheckBox1},
        {CheckBox2, &v.CheckBox2},         {CheckBox3, &v.CheckBox3},
        {CheckBox4, &v.CheckBox4}};
    for (const auto& [button, control] : controls) {
        const QSignalBlocker quiet(button);
        button->setChecked(control->checked);
        button->setEnabled(control->enabled);
    }
}

void Topcje::showEvent(QShowEvent* event) {
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    QWidget::showEvent(event);
}

bool Topcje::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Escape || key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (event->type() == QEvent::KeyPress)
                close();
            event->accept();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace kwizmar
