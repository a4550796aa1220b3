// A lab's log that another computer holds, and results that wait on this
// computer: nothing is written without the lock, every waiting result goes in
// once, without another exam, and the window's thread never waits.
#include "ResultDelivery.h"
#include "ResultsLog.h"
#include "ServerLock.h"

#include "LogScratch.h"
#include "OtherComputersLock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <future>
#include <thread>

using namespace kwizmar;
using namespace std::chrono_literals;

namespace {

template <class F> bool Eventually(F done) {
    for (auto until = std::chrono::steady_clock::now() + 20s; !done();)
        if (std::chrono::steady_clock::now() > until)
            return false;
        else
            std::this_thread::sleep_for(20ms);
    return true;
}

} // namespace

TEST(ResultDelivery, ALogAnotherComputerHoldsIsNotWrittenAndTheResultGoesInOnceItIsFree) {
    TLogScratch scratch;
    WriteBytes(scratch.Log(), "1. a\r\n");
    TOtherComputersLock other(scratch.Log());
    const TResultsLogFile file(scratch.SysDir().string());
    TLogList list;
    try {
        file.Append(list, "wynik", {.patience = 1s});
        FAIL() << "written without the lock";
    } catch (const EResultWaits& e) {
        EXPECT_TRUE(e.Kept());
        EXPECT_EQ(std::string(e.what()).substr(0, std::string(e.what()).find("\n")),
                  "Plik wyników " + scratch.Log().string() +
                      " jest zajęty przez inny komputer dłużej, niż program może czekać.");
    }
    EXPECT_EQ(ReadBytes(scratch.Log()), "1. a\r\n");
    EXPECT_EQ(ReadBytes(scratch.Pending()), "wynik\r\n");

    // The program goes on trying by itself and gets in the moment the lock goes.
    std::atomic<int> changes{0};
    TResultDelivery delivery(1s);
    delivery.Watch(scratch.SysDir().string(), [&] { ++changes; });
    std::this_thread::sleep_for(1500ms);
    EXPECT_EQ(ReadBytes(scratch.Log()), "1. a\r\n");
    other.Release();
    ASSERT_TRUE(Eventually([&] { return TResultDelivery::Waiting() == 0 && changes > 0; }));

    // The next finish, through the same delivery, numbers on.
    std::promise<int> number;
    delivery.Save(scratch.SysDir().string(), "następny",
                  [&](int k, std::exception_ptr error) { number.set_value(error ? -1 : k); });
    EXPECT_EQ(number.get_future().get(), 3);
    EXPECT_EQ(ReadBytes(scratch.Log()), "1. a\r\n2. wynik\r\n3. nast\xEApny\r\n");
}

TEST(ResultDelivery, ResultsAnEarlierRunLeftGoInAtTheStartWithoutAnExam) {
    TLogScratch scratch;
    WriteBytes(scratch.Pending(), "Ala\r\nOla\r\n");
    TResultDelivery delivery;
    delivery.Watch(scratch.SysDir().string());
    ASSERT_TRUE(Eventually([&] { return std::filesystem::exists(scratch.Log()); }));
    ASSERT_TRUE(Eventually([&] { return TResultDelivery::Waiting() == 0; }));
    EXPECT_EQ(ReadBytes(scratch.Log()), "1. Ala\r\n2. Ola\r\n");
}

TEST(ResultDelivery, AFinishWaitingForTheLogIsGivenUpWhenTheProgramEnds) {
    TLogScratch scratch;
    TOtherComputersLock other(scratch.Log());
    std::promise<std::exception_ptr> answer;
    {
        TResultDelivery delivery;
        delivery.Save(scratch.SysDir().string(), "wynik",
                      [&](int, std::exception_ptr error) { answer.set_value(error); });
        std::this_thread::sleep_for(300ms);
    } // well within the finish's patience
    EXPECT_THROW(std::rethrow_exception(answer.get_future().get()), EResultWaits);
    EXPECT_EQ(ReadBytes(scratch.Pending()), "wynik\r\n");
    EXPECT_FALSE(std::filesystem::exists(scratch.Log()));
}
