#pragma once

#include <QCoreApplication>
#include <QProcess>
#include <QString>
#include <QTest>

#include <gtest/gtest.h>

#include <xcb/xcb.h>

namespace kwizmar::testing {

// A program of its own on the display (tests/ui/x11/OtherClient.cpp): a
// panel along the top edge, or an ordinary window.
class TOtherClient {
public:
    explicit TOtherClient(const char* mode) {
        process_.start(QCoreApplication::applicationDirPath() + "/lockdown_other_client",
                       {QString::fromLatin1(mode)});
        EXPECT_TRUE(QTest::qWaitFor([&] { return Output().startsWith("ready "); }, 5000));
        window_ = Output().section(' ', 1, 1).trimmed().toUInt();
    }
    ~TOtherClient() {
        process_.kill();
        process_.waitForFinished();
    }
    xcb_window_t Window() const { return window_; }
    // "ready <id>", then a line "press <x> <y>" for each button press it got.
    QString Output() {
        output_ += QString::fromLatin1(process_.readAllStandardOutput());
        return output_;
    }

private:
    QProcess process_;
    QString output_;
    xcb_window_t window_ = 0;
};

} // namespace kwizmar::testing
