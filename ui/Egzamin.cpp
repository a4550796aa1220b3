#include "Egzamin.h"

#include "ErrorHandler.h"
#include "SpeedButton.h"
#include "StartPage.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QScreen>
#include <QStyle>
#include <QTimer>

namespace kwizmar {

namespace {

constexpr int kClientWidth = 602;
constexpr int kClientHeight = 307;
constexpr int kColumnWidth = 89;
constexpr int kSlotY[] = {6, 86, 166, 240};

QIcon StandardIcon(QStyle::StandardPixmap icon) {
    return QApplication::style()->standardIcon(icon);
}

} // namespace

TEgzamin::TEgzamin(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Egzamin"));
    setWindowTitle(QStringLiteral("Nerbaly Kwizmar 2002"));
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFixedSize(kClientWidth, kClientHeight);

    BuildLeftColumn();

    Panel2 = new QFrame(this);
    Panel2->setObjectName(QStringLiteral("Panel2"));
    static_cast<QFrame*>(Panel2)->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel2->setGeometry(kColumnWidth, 0, kClientWidth - kColumnWidth, kClientHeight);

    Panel6 = new TStartPage(Panel2);
    Panel6->setGeometry(1, 1, Panel2->width() - 2, Panel2->height() - 2);
    connect(Panel6->SpeedButton2, &QToolButton::clicked, this, [this] { ChooseTest(); });

    ClearTestBox(box_);
    Render();

    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TEgzamin::BuildLeftColumn() {
    Panel1 = new QFrame(this);
    Panel1->setObjectName(QStringLiteral("Panel1"));
    static_cast<QFrame*>(Panel1)->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setGeometry(0, 0, kColumnWidth, kClientHeight);

    auto place = [this](TSpeedButton* button, int slot) {
        button->setGeometry(8, kSlotY[slot - 1], 73, 63);
    };
    SpeedButton5 = new TSpeedButton("SpeedButton5", QStringLiteral("&Opcje"),
                                    QStringLiteral("Opcje dostępne w programie"),
                                    StandardIcon(QStyle::SP_FileDialogDetailedView), Panel1);
    place(SpeedButton5, 1);
    SpeedButton3 = new TSpeedButton("SpeedButton3", QStringLiteral("&Start"),
                                    QStringLiteral("Rozpocznij test"),
                                    StandardIcon(QStyle::SP_MediaPlay), Panel1);
    place(SpeedButton3, 2);
    SpeedButton4 =
        new TSpeedButton("SpeedButton4", QStringLiteral("Abo&ut"), QStringLiteral("O programie"),
                         StandardIcon(QStyle::SP_MessageBoxInformation), Panel1);
    place(SpeedButton4, 3);
    SpeedButton1 = new TSpeedButton("SpeedButton1", QStringLiteral("&Zamknij"),
                                    QStringLiteral("Zakończ działanie programu"),
                                    StandardIcon(QStyle::SP_DialogCloseButton), Panel1);
    place(SpeedButton1, 4);
    connect(SpeedButton1, &QToolButton::clicked, this, [this] { close(); });
}

void TEgzamin::SetCommandLineTest(const QString& path) {
    commandLineTest_ = path;
}

QString TEgzamin::TestFolder() {
    return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("Testy"));
}

void TEgzamin::ChooseTest() {
    QFileDialog OpenTest(this, QStringLiteral("Wybierz test"), TestFolder());
    OpenTest.setObjectName(QStringLiteral("OpenTest"));
    OpenTest.setOption(QFileDialog::DontUseNativeDialog);
    OpenTest.setFileMode(QFileDialog::ExistingFile);
    OpenTest.setAcceptMode(QFileDialog::AcceptOpen);
    OpenTest.setNameFilter(QStringLiteral("Testy (*.ts2)"));
    OpenTest.setDefaultSuffix(QStringLiteral("ts2"));
    OpenTest.setSizeGripEnabled(true);
    OpenTest.selectFile(QString());
    if (OpenTest.exec() != QDialog::Accepted || OpenTest.selectedFiles().isEmpty())
        return;
    LoadTest(OpenTest.selectedFiles().constFirst());
}

void TEgzamin::LoadTest(const QString& path) {
    RunGuarded([&] { LoadTestFile(path.toStdString(), loaded_, box_, regional_, measure_); });
    Render();
}

void TEgzamin::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (shownOnce_)
        return;
    shownOnce_ = true;
    // After the window is on screen, so that an error box has a window to sit on.
    QTimer::singleShot(0, this, [this] {
        if (!commandLineTest_.isEmpty())
            LoadTest(commandLineTest_);
    });
}

void TEgzamin::Render() {
    Panel6->ShowTestBox(box_);
    SpeedButton3->setVisible(box_.SpeedButton3.visible);
    SpeedButton3->setEnabled(box_.SpeedButton3.enabled);
}

} // namespace kwizmar
