#include "StartPage.h"

#include "Fonts.h"
#include "Glyphs.h"
#include "Odometer.h"
#include "SpeedButton.h"
#include "Widgets.h"

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QStyle>

namespace kwizmar {

namespace {

constexpr int kPageWidth = 511;
constexpr int kBoxX = 8;
constexpr int kBoxWidth = kPageWidth - 2 * kBoxX;

// Edit fields of the start page have the scroll-bar colour as their background.
void UseScrollBarBackground(QWidget* field) {
    QPalette palette = field->palette();
    palette.setColor(QPalette::Base, QColor(0xC8, 0xC8, 0xC8));
    field->setPalette(palette);
}

} // namespace

TStartPage::TStartPage(QWidget* parent) : QFrame(parent) {
    setObjectName(QStringLiteral("Panel6"));
    setFrameShape(QFrame::NoFrame);
    setAutoFillBackground(true);
    setFont(UiFont("MS Sans Serif", 11));

    auto* welcome = MakeLabel(this, "Label24",
                              QStringLiteral("WITAJ EGZAMINATORZE !!! WITAMY W PROGRAMIE NERBALY "
                                             "KWIZMAR 2002\n"
                                             "Poniższy program umożliwia przeprowadzenie egzaminu "
                                             "testowego, poczynając od możliwości stworzenia \n"
                                             "zbioru z pytaniami, a kończąc na przeglądaniu "
                                             "zarchiwizowanych wyników przeprowadzonego egzaminu."),
                              QRect(2, 4, kPageWidth - 4, 42));
    welcome->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    welcome->setFont(UiFont("MS Sans Serif", 10));

    LockdownNote = MakeLabel(this, "LockdownNote", QString(), QRect(2, 4, kPageWidth - 4, 42));
    LockdownNote->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    LockdownNote->setWordWrap(true);
    LockdownNote->setAutoFillBackground(true);
    LockdownNote->setFont(UiFont("MS Sans Serif", 10, true));
    QPalette red = LockdownNote->palette();
    red.setColor(QPalette::WindowText, QColor(0xc0, 0, 0));
    LockdownNote->setPalette(red);
    LockdownNote->setToolTip(QStringLiteral("Blokada pulpitu na tym komputerze"));
    LockdownNote->hide();

    auto* bevel = new QFrame(this);
    bevel->setObjectName(QStringLiteral("Bevel1"));
    bevel->setFrameStyle(QFrame::Panel | QFrame::Raised);
    bevel->setGeometry(kBoxX, 50, kBoxWidth, 50);

    QLabel* nameLabel =
        MakeLabel(this, "Label2", QStringLiteral(" Podaj swoje imię: "), QRect(20, 54, 200, 16));
    NameEdit = new QLineEdit(this);
    NameEdit->setObjectName(QStringLiteral("NameEdit"));
    NameEdit->setToolTip(QStringLiteral("Wpisz swoje imię"));
    NameEdit->setGeometry(20, 72, 230, 22);
    UseScrollBarBackground(NameEdit);

    QLabel* timeLabel = MakeLabel(this, "Label3", QStringLiteral(" Podaj czas trwania egzaminu: "),
                                  QRect(300, 54, 200, 16));
    SETime = new TTimeSpin("SETime", this);
    SETime->setToolTip(QStringLiteral("Nastaw czas egzainu"));
    SETime->setGeometry(300, 72, 80, 22);
    UseScrollBarBackground(SETime);
    // Each field is named by the label above it.
    for (auto [label, field] : {std::pair<QLabel*, QWidget*>{nameLabel, NameEdit},
                                std::pair<QLabel*, QWidget*>{timeLabel, SETime}}) {
        label->setBuddy(field);
        field->setAccessibleName(label->text().trimmed());
    }

    auto* box = new QGroupBox(QStringLiteral(" Test: "), this);
    box->setObjectName(QStringLiteral("GroupBox1"));
    box->setToolTip(QStringLiteral("O teście ..."));
    box->setGeometry(kBoxX, 104, kBoxWidth, 170);

    const int captionWidth = 168;
    Directory = MakeLabel(box, "Directory", QString(), QRect(10, 16, kBoxWidth - 20, 15));
    Directory->setToolTip(QStringLiteral("Skąd"));
    Directory->setFont(UiFont("MS Sans Serif", 11, true));
    Linia1 = AddValue(box, "Linia1", "Opis :", QStringLiteral("Opis"), 33, 40);
    Linia2 = MakeLabel(box, "Linia2", QString(), QRect(50, 48, kBoxWidth - 58, 15));
    Linia2->setToolTip(QStringLiteral("Opis"));
    Linia2->setFont(Linia1->font());
    TSName = AddValue(box, "TSName", "Nazwa :", QStringLiteral("Nazwa testu"), 66, captionWidth);
    TSAutor =
        AddValue(box, "TSAutor", "Autor testu :", QStringLiteral("Autor testu"), 82, captionWidth);
    TSData = AddValue(box, "TSData", "Utworzony :", QStringLiteral("Data utworzenia testu"), 98,
                      captionWidth);
    TSPyt =
        AddValue(box, "TSPyt", "Liczba pytań :", QStringLiteral("Liczba pytań"), 114, captionWidth);
    TSPkt =
        AddValue(box, "TSPkt", "Max. ilość punktów :", QStringLiteral("Maksymalna ilość punktów"),
                 130, captionWidth);
    TSSam = AddValue(box, "TSSam", "Ilość odpowiedzi samodzielnych :",
                     QStringLiteral("Ilość odpowiedzi samodzielnych w teście"), 146, captionWidth);
    for (QLabel* value : {TSPyt, TSPkt, TSSam})
        value->setFixedWidth(kBoxWidth - 100 - value->x());

    SpeedButton2 = new TSpeedButton("SpeedButton2", QStringLiteral("&Wybierz test ..."),
                                    QStringLiteral("Wybierz test"), Glyph(TGlyph::Open), box);
    SpeedButton2->setGeometry(kBoxWidth - 89 - 6, 170 - 63 - 5, 89, 63);

    // The run counter stands in the gap of the sentence around it.
    QLabel* sentence = MakeLabel(
        this, "Label1",
        QStringLiteral("Ten program jest uruchamiany poraz                                        "
                       "na tym komputerze."),
        QRect(kBoxX, 280, kBoxWidth, 18));
    sentence->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    const int before = sentence->fontMetrics().horizontalAdvance(
        QStringLiteral("Ten program jest uruchamiany poraz "));
    const int whole = sentence->fontMetrics().horizontalAdvance(sentence->text());
    Odometer1 = new TOdometer("Odometer1", this);
    Odometer1->setGeometry(kBoxX + (kBoxWidth - whole) / 2 + before, 279, 96, 20);
}

QLabel* TStartPage::AddValue(QGroupBox* box, const char* name, const char* caption,
                             const QString& hint, int y, int captionWidth) {
    MakeLabel(box, "", QString::fromUtf8(caption), QRect(10, y, captionWidth, 15));
    QLabel* value = MakeLabel(box, name, QString(),
                              QRect(10 + captionWidth, y, kBoxWidth - 20 - captionWidth, 15));
    value->setToolTip(hint);
    value->setFont(UiFont("MS Sans Serif", 11, true));
    return value;
}

} // namespace kwizmar
