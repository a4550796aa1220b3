// The windows other than the exam's for a user of the keyboard and of a
// screen reader: every control named and of its kind, Tab reaching each,
// the focus seen at once, F1 for the help page, the menu key for a control's
// own help.

#include "ContextHelp.h"
#include "GuiHelpers.h"
#include "HelpPanel.h"
#include "Pictures.h"
#include "ProgramWindows.h"

#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QCursor>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QTextEdit>
#include <QTreeView>

#include <set>

using namespace kwizmar;
using namespace kwizmar::testing;

namespace {

std::string Describe(QWidget* control) {
    return (control->metaObject()->className() + QStringLiteral(" ") + control->objectName() +
            QStringLiteral(" \"") + control->accessibleName() + QStringLiteral("\""))
        .toStdString();
}

// The role a screen reader is to say for the control's kind.
QAccessible::Role RoleOf(QWidget* control) {
    if (qobject_cast<QRadioButton*>(control))
        return QAccessible::RadioButton;
    if (qobject_cast<QCheckBox*>(control))
        return QAccessible::CheckBox;
    if (qobject_cast<QAbstractButton*>(control))
        return QAccessible::Button;
    if (qobject_cast<QLineEdit*>(control) || qobject_cast<QTextEdit*>(control))
        return QAccessible::EditableText;
    if (qobject_cast<QComboBox*>(control))
        return QAccessible::ComboBox;
    if (qobject_cast<QAbstractSpinBox*>(control))
        return QAccessible::SpinBox;
    if (qobject_cast<QTreeView*>(control))
        return QAccessible::Tree;
    if (qobject_cast<QTableView*>(control))
        return QAccessible::Table;
    return QAccessible::List;
}

// A radio button of a group whose checked one stands for the group: Tab goes
// to that one, the arrows to the others.
bool OthersStandFor(QWidget* control) {
    auto* radio = qobject_cast<QRadioButton*>(control);
    if (!radio || !radio->autoExclusive() || radio->isChecked())
        return false;
    for (QRadioButton* other :
         radio->parentWidget()->findChildren<QRadioButton*>(QString(), Qt::FindDirectChildrenOnly))
        if (other != radio && other->autoExclusive() && other->isChecked())
            return true;
    return false;
}

} // namespace

TEST_F(ProgramWindowsTest, EveryControlIsNamedAndOfItsKind) {
    for (const char* name : WindowNames()) {
        SCOPED_TRACE(name);
        QWidget* window = Open(name);
        ASSERT_NE(window, nullptr);
        QAccessibleInterface* whole = QAccessible::queryAccessibleInterface(window);
        ASSERT_NE(whole, nullptr);
        EXPECT_FALSE(whole->text(QAccessible::Name).isEmpty());
        for (QWidget* control : Controls(window)) {
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(control);
            ASSERT_NE(a, nullptr) << Describe(control);
            EXPECT_FALSE(a->text(QAccessible::Name).trimmed().isEmpty()) << Describe(control);
            EXPECT_EQ(a->role(), RoleOf(control)) << Describe(control);
        }
        window->close();
    }
}

TEST_F(ProgramWindowsTest, TabReachesEveryControl) {
    for (const char* name : WindowNames()) {
        SCOPED_TRACE(name);
        QWidget* window = Open(name);
        ASSERT_NE(window, nullptr);
        std::vector<QWidget*> wanted;
        for (QWidget* control : Controls(window))
            if (control->isEnabled() && !OthersStandFor(control))
                wanted.push_back(control);
        std::set<QWidget*> reached;
        for (std::size_t i = 0; i < 2 * wanted.size() + 4; ++i) {
            QWidget* focus = QApplication::focusWidget();
            ASSERT_NE(focus, nullptr);
            reached.insert(focus);
            if (focus->focusProxy())
                reached.insert(focus->focusProxy());
            if (focus->parentWidget())
                reached.insert(focus->parentWidget()); // a spin box's own line
            QTest::keyClick(focus, Qt::Key_Tab);
        }
        for (QWidget* control : wanted)
            EXPECT_TRUE(reached.count(control)) << Describe(control);
        window->close();
    }
}

TEST_F(ProgramWindowsTest, TheFocusShowsAtOnceAndStandsOut) {
    for (const char* name : WindowNames()) {
        SCOPED_TRACE(name);
        QWidget* window = Open(name);
        ASSERT_NE(window, nullptr);
        for (QWidget* control : Controls(window)) {
            if (!control->isEnabled() || control->focusPolicy() == Qt::NoFocus)
                continue;
            // No key pressed: the focus comes by a click, or as the window gives it.
            control->setFocus(Qt::MouseFocusReason);
            QApplication::processEvents();
            // The control with the room around it, where a frame may go.
            const QRect place = QRect(control->mapTo(window, QPoint(0, 0)), control->size())
                                    .adjusted(-3, -3, 3, 3)
                                    .intersected(window->rect());
            const QImage focused = window->grab(place).toImage();
            control->clearFocus();
            QApplication::processEvents();
            const QImage unfocused = window->grab(place).toImage();
            int standingOut = 0;
            for (int y = 0; y < focused.height(); ++y)
                for (int x = 0; x < focused.width(); ++x)
                    standingOut += Contrast(unfocused.pixel(x, y), focused.pixel(x, y)) >= 3.0;
            // A frame two pixels wide, at least round the control's text.
            EXPECT_GE(standingOut, 2 * control->height()) << Describe(control);
        }
        window->close();
    }
}

TEST_F(ProgramWindowsTest, F1OpensTheHelpPage) {
#ifdef _WIN32
    GTEST_SKIP() << "Windows opens a web page through its file types, not PATH";
#endif
    // Nothing here can show a web page: the message names the help page's file.
    const TNoPageOpener nothing(dir.path());
    const QString help = QCoreApplication::applicationDirPath() + "/help/trelvo2006.html";
    for (const char* name : WindowNames()) {
        SCOPED_TRACE(name);
        QWidget* window = Open(name);
        ASSERT_NE(window, nullptr);
        QString text;
        EXPECT_TRUE(WithModal(
            [&] {
                QWidget* focus = QApplication::focusWidget();
                QTest::keyClick(focus ? focus : window, Qt::Key_F1);
                QTest::qWaitFor([&] { return !text.isEmpty(); }, 3000);
            },
            [&](QWidget* box) {
                text = static_cast<QMessageBox*>(box)->text();
                static_cast<QMessageBox*>(box)->accept();
            }));
        EXPECT_TRUE(text.contains(QDir::toNativeSeparators(help))) << text.toStdString();
        window->close();
    }
}

TEST_F(ProgramWindowsTest, AKeyShowsTheFocusedControlsHelpUntilTheNextKey) {
    const struct {
        const char* window;
        const char* control;
        const THelpEntry* help;
    } cases[] = {
        {"TStatystyka", "SpeedButton7", ResultsHelpFor("SpeedButton7")},
        {"TClassSummaryWindow", "TestBox", ResultsHelpFor("TestBox")},
        {"TQuestionAnalysisWindow", "Tabela", AnalysisHelpFor("Tabela")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.window);
        QWidget* window = Open(c.window);
        ASSERT_NE(window, nullptr);
        QWidget* control = window->findChild<QWidget*>(c.control);
        control->setFocus(Qt::TabFocusReason);
        THelpPanel* panel = nullptr;
        for (QFrame* frame : window->findChildren<QFrame*>(Qt::FindDirectChildrenOnly))
            panel = panel ? panel : dynamic_cast<THelpPanel*>(frame);
        ASSERT_NE(panel, nullptr);
        // Shift + F10; the menu key comes as the context menu's event the
        // window system makes of it.
        QTest::keyClick(control, Qt::Key_F10, Qt::ShiftModifier);
        EXPECT_TRUE(panel->isVisible());
        EXPECT_EQ(panel->H[0]->text(), QString::fromUtf8(c.help->H1));
        QTest::keyClick(control, Qt::Key_Shift);
        EXPECT_FALSE(panel->isVisible());
        QContextMenuEvent menuKey(QContextMenuEvent::Keyboard, QPoint(), QCursor::pos());
        QApplication::sendEvent(control, &menuKey);
        EXPECT_TRUE(panel->isVisible());
        QTest::keyClick(control, Qt::Key_Down);
        EXPECT_FALSE(panel->isVisible());
        window->close();
    }
}
