#include "About.h"

#include "Emblem.h"
#include "ErrorHandler.h"
#include "ExamAdapters.h"
#include "FileVersion.h"
#include "FocusStyle.h"
#include "Folders.h"
#include "Fonts.h"
#include "Glyphs.h"
#include "Platform.h"
#include "ProgramData.h"
#include "ScreenFit.h"

#include <QAbstractButton>
#include <QDate>
#include <QFileInfo>
#include <QHideEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QShowEvent>
#include <QToolButton>

#include <functional>

namespace kwizmar {

namespace {

// A label's text in `colour`. Palettes, not style sheets: the first style sheet
// of a program costs milliseconds at its start.
void SetTextColour(QLabel* label, const QColor& colour) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

// A link: text (or a picture) that acts on a click, with a hand pointer, red
// while it is held down. It is a button to the keyboard (Tab reaches it, the
// space bar or Enter acts) and to a screen reader; the focus frame goes
// around it.
class TLinkButton final : public QAbstractButton {
public:
    TLinkButton(const char* name, std::function<void()> onClick, QWidget* parent)
        : QAbstractButton(parent) {
        setObjectName(QString::fromLatin1(name));
        setCursor(Qt::PointingHandCursor);
        setFocusPolicy(Qt::StrongFocus);
        FrameFocusAround(this);
        connect(this, &QAbstractButton::clicked, this, std::move(onClick));
    }
    void SetPicture(const QPixmap& picture) {
        picture_ = picture;
        update();
    }
    QSize sizeHint() const override {
        if (!picture_.isNull())
            return picture_.deviceIndependentSize().toSize();
        return fontMetrics().boundingRect(QRect(), Qt::TextSingleLine, text()).size();
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        if (!picture_.isNull()) {
            painter.drawPixmap(0, 0, picture_);
            return;
        }
        painter.setFont(font());
        painter.setPen(isDown() ? QColor(Qt::red) : kNormal);
        painter.drawText(rect(), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, text());
    }
    void keyPressEvent(QKeyEvent* event) override {
        if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
            click();
            return;
        }
        QAbstractButton::keyPressEvent(event);
    }

private:
    static constexpr QColor kNormal{0x00, 0x00, 0xc0};
    QPixmap picture_;
};

// The type of a picture's lettering: its pixels, whatever the desktop's text
// size, as the picture's are.
QFont PictureFont(const char* family, int pixelHeight, bool bold = false) {
    QFont font = UiFont(family, pixelHeight, bold);
    font.setPixelSize(pixelHeight);
    return font;
}

// The program's picture: an exam sheet with ticked answers on a blue ground,
// and the program's name.
QPixmap AboutPicture() {
    QPixmap pixmap(400, 160);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient ground(0, 0, 400, 160);
    ground.setColorAt(0, QColor(16, 48, 128));
    ground.setColorAt(1, QColor(70, 140, 220));
    p.fillRect(pixmap.rect(), ground);

    PaintExamSheet(p, QPointF(44, 18), -6, 92, 5);

    QFont title = PictureFont("Times New Roman", 44, true);
    title.setItalic(true);
    p.setFont(title);
    p.setPen(QColor(0, 0, 0, 90));
    p.drawText(QRect(162, 34, 236, 60), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Kwizmar"));
    p.setPen(Qt::white);
    p.drawText(QRect(160, 32, 236, 60), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("Kwizmar"));
    p.setFont(PictureFont("Times New Roman", 30, true));
    p.setPen(QColor(255, 220, 90));
    p.drawText(QRect(160, 86, 236, 36), Qt::AlignLeft | Qt::AlignVCenter, QStringLiteral("2002"));
    p.setFont(PictureFont("MS Sans Serif", 12));
    p.setPen(QColor(230, 240, 255));
    p.drawText(QRect(160, 124, 236, 20), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("program egzaminacyjny"));
    return pixmap;
}

QPixmap SmallPicture(const QColor& fill, const QString& letter) {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(fill);
    p.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 3, 3);
    p.setPen(Qt::white);
    p.setFont(PictureFont("MS Sans Serif", 11, true));
    p.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, letter);
    return pixmap;
}

// The author's profile: a person on a blue tile.
QPixmap ProfilePicture() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(40, 90, 170));
    p.drawRoundedRect(QRectF(0.5, 0.5, 15, 15), 3, 3);
    p.setBrush(Qt::white);
    p.drawEllipse(QRectF(5.5, 2.5, 5, 5));
    p.drawChord(QRectF(3, 8.5, 10, 10), 0, 180 * 16);
    return pixmap;
}

} // namespace

int TF_About::TLabelMeasure::TextWidth(std::string_view utf8, const TFontSpec& font) const {
    return QFontMetrics(UiFont(font))
        .boundingRect(QRect(), Qt::TextSingleLine,
                      QString::fromUtf8(utf8.data(), qsizetype(utf8.size())))
        .width();
}

TF_About::TF_About(IShellOpen* shell, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setObjectName(QStringLiteral("TF_About"));
    setWindowTitle(QStringLiteral("O programie ..."));
    setFont(UiFont("MS Sans Serif", 11));
    QPalette white = palette();
    white.setColor(QPalette::Window, Qt::white);
    setPalette(white);
    setAutoFillBackground(true);

    const QString helpPage =
        QString::fromStdString(ProgramDataFolder()) + QStringLiteral("/help/trelvo2006.html");
    logic_ = std::make_unique<TF_AboutLogic>(TAboutServices{
        downloader_, shell ? *shell : systemShell_, measure_, [] { return IsOnLine(); },
        [] { return TempFolder(); }, [] { return ProgramFileVersion(); },
        [] { return QDate::currentDate().year(); }, helpPage.toStdString(),
        [](const std::string& file) { return QFileInfo::exists(QString::fromStdString(file)); },
        UpdateBaseAddress(), [](const std::string& text) { TQtMessageBox().ShowMessage(text); }});

    auto* img_About = new QLabel(this);
    img_About->setObjectName(QStringLiteral("img_About"));
    Label("l_Version", true);
    Label("a_l_1", false);
    Label("a_l_2", false);
    Link("a_l_3", &TF_AboutLogic::a_l_3Click);
    Label("a_l_4", false);
    Link("a_l_5", &TF_AboutLogic::a_l_5Click);
    Label("a_l_6", false);
    Link("a_l_7", &TF_AboutLogic::a_l_7Click);
    Label("a_l_8", false);
    Link("a_l_9", &TF_AboutLogic::a_l_9Click);
    Label("a_l_10", false);
    Link("imgGL", &TF_AboutLogic::imgGLClick);
    Link("img_Money", &TF_AboutLogic::img_MoneyClick);
    QLabel* notice = Label("l_SzukamPracy", true);
    SetTextColour(notice, QColor(0xc0, 0x00, 0x00));
    // Laid over the notice and never blinking, so the notice can be clicked
    // while it is hidden.
    Link("l_SzukamPracy2", &TF_AboutLogic::l_SzukamPracy2Click);
    Button("sb_DownUpdate", TGlyph::Download, &TF_AboutLogic::sb_DownUpdateClick);
    Button("sb_Pomoc", TGlyph::Help, &TF_AboutLogic::sb_PomocClick);
    QToolButton* ok = Button("sb_OK", TGlyph::Check, nullptr);
    connect(ok, &QToolButton::clicked, this, &QWidget::close);

    Timer_SzukamPracy.setParent(this);
    Timer_SzukamPracy.setObjectName(QStringLiteral("Timer_SzukamPracy"));
    Timer_SzukamPracy.setInterval(500);
    connect(&Timer_SzukamPracy, &QTimer::timeout, this,
            [this] { Act(&TF_AboutLogic::Timer_SzukamPracyTimer); });
    Render();
}

TF_About::~TF_About() = default;

void TF_About::DrawPictures() {
    // Drawn at the first showing, not while the program starts.
    auto* about = findChild<QLabel*>(QStringLiteral("img_About"));
    if (about->pixmap().isNull()) {
        about->setPixmap(AboutPicture());
        findChild<TLinkButton*>(QStringLiteral("imgGL"))->SetPicture(ProfilePicture());
        findChild<TLinkButton*>(QStringLiteral("img_Money"))
            ->SetPicture(SmallPicture(QColor(230, 160, 0), QStringLiteral("zł")));
    }
}

QLabel* TF_About::Label(const char* name, bool bold) {
    auto* label = new QLabel(this);
    label->setObjectName(QString::fromLatin1(name));
    label->setFont(UiFont("MS Sans Serif", 11, bold));
    return label;
}

QAbstractButton* TF_About::Link(const char* name, void (TF_AboutLogic::*click)()) {
    auto* link = new TLinkButton(
        name, [this, click] { Act(click); }, this);
    link->setFont(UiFont("MS Sans Serif", 11));
    return link;
}

QToolButton* TF_About::Button(const char* name, TGlyph glyph, void (TF_AboutLogic::*click)()) {
    auto* button = new QToolButton(this);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoRaise(true);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    button->setIcon(Glyph(glyph));
    button->setIconSize(QSize(16, 16));
    button->setFocusPolicy(Qt::StrongFocus);
    if (click)
        connect(button, &QToolButton::clicked, this, [this, click] { Act(click); });
    return button;
}

void TF_About::Act(void (TF_AboutLogic::*operation)()) {
    RunGuarded([&] { ((*logic_).*operation)(); });
    Render();
}

void TF_About::Render() {
    static const std::pair<const char*, TAboutControl TF_AboutView::*> kControls[] = {
        {"img_About", &TF_AboutView::img_About},
        {"l_Version", &TF_AboutView::l_Version},
        {"a_l_1", &TF_AboutView::a_l_1},
        {"a_l_2", &TF_AboutView::a_l_2},
        {"a_l_3", &TF_AboutView::a_l_3},
        {"a_l_4", &TF_AboutView::a_l_4},
        {"a_l_5", &TF_AboutView::a_l_5},
        {"a_l_6", &TF_AboutView::a_l_6},
        {"a_l_7", &TF_AboutView::a_l_7},
        {"a_l_8", &TF_AboutView::a_l_8},
        {"a_l_9", &TF_AboutView::a_l_9},
        {"a_l_10", &TF_AboutView::a_l_10},
        {"imgGL", &TF_AboutView::imgGL},
        {"img_Money", &TF_AboutView::img_Money},
        {"l_SzukamPracy", &TF_AboutView::l_SzukamPracy},
        {"l_SzukamPracy2", &TF_AboutView::l_SzukamPracy2},
        {"sb_DownUpdate", &TF_AboutView::sb_DownUpdate},
        {"sb_Pomoc", &TF_AboutView::sb_Pomoc},
        {"sb_OK", &TF_AboutView::sb_OK},
    };
    const TF_AboutView& v = logic_->view();
    for (const auto& [name, member] : kControls) {
        auto* widget = findChild<QWidget*>(QString::fromLatin1(name), Qt::FindDirectChildrenOnly);
        const TAboutControl& c = v.*member;
        widget->setGeometry(c.x, c.y, c.width, c.height);
        widget->setToolTip(QString::fromStdString(c.hint));
        if (auto* label = qobject_cast<QLabel*>(widget); label && label->pixmap().isNull())
            label->setText(QString::fromStdString(c.text));
        else if (auto* button = qobject_cast<QAbstractButton*>(widget))
            button->setText(QString::fromStdString(c.text));
        // A link without text is named by what it does.
        widget->setAccessibleName(c.text.empty() ? QString::fromStdString(c.hint) : QString());
        widget->setVisible(c.visible);
    }
    // The notice's link lies over it without a text of its own.
    findChild<QWidget*>(QStringLiteral("l_SzukamPracy2"))
        ->setAccessibleName(QString::fromStdString(v.l_SzukamPracy.text));
    findChild<QWidget*>(QStringLiteral("l_SzukamPracy2"))->raise();
    if (v.clientHeight > 0)
        setFixedSize(v.clientWidth, v.clientHeight);
    if (v.Timer_SzukamPracy != Timer_SzukamPracy.isActive())
        v.Timer_SzukamPracy ? Timer_SzukamPracy.start() : Timer_SzukamPracy.stop();
}

void TF_About::showEvent(QShowEvent* event) {
    // The first showing on line waits for the update file; the window appears
    // once it has come or failed. The window system showing it again after
    // hiding it is no new showing.
    if (event->spontaneous())
        return QWidget::showEvent(event);
    DrawPictures();
    Act(&TF_AboutLogic::FormShow);
    PlaceOnScreen(this, size());
    QWidget::showEvent(event);
    findChild<QWidget*>(QStringLiteral("sb_OK"))->setFocus(Qt::OtherFocusReason);
}

void TF_About::hideEvent(QHideEvent* event) {
    if (!event->spontaneous())
        Act(&TF_AboutLogic::FormClose);
    QWidget::hideEvent(event);
}

void TF_About::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    if (event->key() == Qt::Key_F1 && event->modifiers() == Qt::NoModifier) {
        Act(&TF_AboutLogic::sb_PomocClick);
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace kwizmar
