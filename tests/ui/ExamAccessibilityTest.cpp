// What a screen reader finds in the main window: the accessible interfaces
// the program installs, read as the platform's bridge reads them.

#include "ExamPage.h"
#include "ExamWindowFixture.h"
#include "GuiHelpers.h"

#include <QAccessible>
#include <QMessageBox>
#include <QRadioButton>

#include <vector>

namespace kwizmar::testing {
namespace {

QAccessibleInterface* Of(QObject* object) {
    return QAccessible::queryAccessibleInterface(object);
}

// Everything a reader can reach below `root`, as it walks the tree.
std::vector<QAccessibleInterface*> Below(QAccessibleInterface* root) {
    std::vector<QAccessibleInterface*> all;
    for (int i = 0; i < root->childCount(); ++i)
        if (QAccessibleInterface* child = root->child(i)) {
            all.push_back(child);
            for (QAccessibleInterface* deeper : Below(child))
                all.push_back(deeper);
        }
    return all;
}

QString NameOf(QObject* object) {
    return Of(object)->text(QAccessible::Name);
}

using ExamAccessibilityTest = ExamWindowTest;

TEST_F(ExamAccessibilityTest, TheWindowIsOneFrameWithANameThatStaysWhileItsTitleScrolls) {
    StartOnSample();
    QAccessibleInterface* window = Of(&Window());
    EXPECT_EQ(window->role(), QAccessible::Window);
    const QString name = window->text(QAccessible::Name);
    EXPECT_EQ(name, QStringLiteral("Kwizmar 2002 – Geografia Polski"));
    Window().setWindowTitle(QStringLiteral("rbaly Kwizmar 2002     Ne"));
    EXPECT_EQ(window->text(QAccessible::Name), name);
    for (QAccessibleInterface* inside : Below(window))
        EXPECT_NE(inside->role(), QAccessible::Window)
            << inside->text(QAccessible::Name).toStdString();
    EXPECT_EQ(NameOf(Find<QWidget>("NameEdit")), QStringLiteral("Podaj swoje imię:"));
    EXPECT_EQ(NameOf(Find<QWidget>("SETime")), QStringLiteral("Podaj czas trwania egzaminu:"));

    // No name: the message, then the focus back in the name field.
    Find<QWidget>("SETime")->setFocus();
    ASSERT_TRUE(WithModal([&] { Button("SpeedButton3")->click(); },
                          [](QWidget* box) { static_cast<QMessageBox*>(box)->accept(); }));
    // (the window's own focus: offscreen, nothing activates it again)
    ASSERT_TRUE(Window().focusWidget());
    EXPECT_EQ(Window().focusWidget()->objectName(), "NameEdit");
}

// Through the first questions by keyboard: the question one text, the form
// choice and the answers radio buttons that say their letter and text, the
// focus on a control in sight after every step.
TEST_F(ExamAccessibilityTest, TheQuestionAndItsAnswersReadAsTheyShowAndTheFocusStaysInSight) {
    StartOnSample();
    TypeName("Jan");
    Key(Qt::Key_Return);
    auto focusInSight = [&] {
        QWidget* focus = QApplication::focusWidget();
        return focus && focus->isVisible() && focus->window() == &Window() &&
               Of(focus)->state().focused;
    };
    ASSERT_TRUE(Shown("Panel7")); // question 1 offers a typed answer
    EXPECT_TRUE(focusInSight());
    for (const char* form : {"RBSam", "RBTest"})
        EXPECT_EQ(Of(Find<QWidget>(form))->role(), QAccessible::RadioButton);
    EXPECT_EQ(NameOf(Find<QWidget>("RBTest")), QStringLiteral("testowa"));
    Alt('t');
    EXPECT_TRUE(Of(Find<QWidget>("RBTest"))->state().checked);
    Key(Qt::Key_Return);

    for (int k = 0; k < 2; ++k) {
        SCOPED_TRACE(k + 1);
        EXPECT_EQ(FocusName(), "A");
        const QString question = static_cast<TExamPage*>(Find<QFrame>("Panel3"))->QuestionText();
        ASSERT_FALSE(question.isEmpty());
        int questionTexts = 0;
        for (QAccessibleInterface* inside : Below(Of(&Window())))
            questionTexts += inside->role() == QAccessible::StaticText &&
                             inside->text(QAccessible::Name) == question;
        EXPECT_EQ(questionTexts, 1);
        for (const char* letter : {"A", "B", "C", "D", "E"}) {
            auto* button = Find<QRadioButton>(letter);
            if (!button->isVisible())
                continue;
            const QString text =
                Find<QLabel>(QStringLiteral("odp%1").arg(letter).toLatin1())->text();
            EXPECT_EQ(Of(button)->role(), QAccessible::RadioButton);
            EXPECT_EQ(NameOf(button), QStringLiteral("%1: %2").arg(letter, text.trimmed()));
        }
        Key(Qt::Key_Down); // the arrows pick the next answer
        EXPECT_EQ(FocusName(), "B");
        EXPECT_TRUE(Of(Find<QWidget>("B"))->state().checked);
        Key(Qt::Key_Return);
        ASSERT_TRUE(Shown("ODPPanel"));
        EXPECT_TRUE(focusInSight());
        EXPECT_FALSE(NameOf(Find<QWidget>("ODPPanel")).isEmpty());
        Key(Qt::Key_Return);
        if (Shown("Panel7")) {
            Alt('t');
            Key(Qt::Key_Return);
        }
    }
}

// The summary by keyboard: the focus on "&Egzaminuj ...", which tells the
// result, and "Oceny" shown and hidden by a key.
TEST_F(ExamAccessibilityTest, TheSummaryTellsTheResultAndItsGradesComeByAKey) {
    StartOnSample();
    TypeName("Jan");
    Key(Qt::Key_Return);
    AnswerRightUpTo(kGeografiaQuestions);
    ASSERT_TRUE(QTest::qWaitFor([&] { return FocusName() == "SpeedButton9"; }));
    EXPECT_TRUE(Of(Button("SpeedButton9"))
                    ->text(QAccessible::Description)
                    .contains(QStringLiteral("bardzo dobry")));
    Button("SpeedButton11")->setFocus();
    for (const bool shown : {true, false}) {
        Key(Qt::Key_Space);
        EXPECT_EQ(Shown("Panel8"), shown);
    }
}

} // namespace
} // namespace kwizmar::testing
