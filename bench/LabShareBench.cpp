// A lab's end of lesson: 30 computers, each with its own SMB client of one
// Samba server (see tests/support/SambaRig.h), its own data folder and, where
// the system lets it, its own host name, finish at the same moment. The time
// from the moment they are let go until all 30 lines are in the log, per
// round, on a log that holds the rounds before. The rounds take turns: one
// with the answers' record of a 40-question exam beside each line, one with
// the line alone, so that what the records add is measured on the same log
// and the same server:
//   lab_share_bench [rounds]        (default 10; needs samba, smbnetfs, /dev/fuse)

#include "AnswerRecord.h"
#include "MemoryRegistry.h"
#include "ResultsLog.h"
#include "SambaRig.h"
#include "Scratch.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <sched.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace kwizmar;

namespace {

constexpr int kCopies = 30;

// The answers of an exam of 40 questions, as a finish records them.
TAnswerRecord FortyAnswers() {
    TAnswerRecord record{0, "", "\"Geografia Polski\"", 0x307adb6a4afbc52c, 40, {}};
    for (int k = 1; k <= 40; ++k)
        record.entries.push_back({k, 'B',
                                  QuestionStartText("Które miasto jest stolicą województwa "
                                                    "dolnośląskiego, a które opolskiego? " +
                                                    std::to_string(k)),
                                  char('A' + k % 5), k % 4 == 0, false, k % 4 ? "" : "Wrocław",
                                  k % 5 == 1 ? 2 : 0, k % 5 == 1 ? 0 : 2});
    return record;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// One copy: waits until `gate` is closed, then puts its result in.
pid_t Copy(const std::filesystem::path& share, const int gate[2], int round, int copy,
           bool record) {
    const pid_t child = ::fork();
    if (child != 0)
        return child;
    ::close(gate[1]);
    // A computer of its own: its name, and its data folder for a result that waits.
    const std::string name = "sala-" + std::to_string(copy);
    if (::unshare(CLONE_NEWUTS) == 0 && ::sethostname(name.c_str(), name.size()) != 0)
        std::perror("sethostname");
    const std::filesystem::path data =
        share.parent_path().parent_path().parent_path() / ("dane-" + name);
    std::filesystem::create_directories(data);
    ::setenv("XDG_DATA_HOME", data.c_str(), 1);
    char byte;
    while (::read(gate[0], &byte, 1) > 0) {
    }
    kwizmar::testing::TMemoryRegistry registry;
    registry.OpenKey(TRegistryRoot::LocalMachine, kSetupKey, true)
        ->WriteString("SysDir", share.string());
    int status = 0;
    try {
        const std::string text =
            "runda " + std::to_string(round) + " kopia " + std::to_string(copy);
        if (record)
            TResultsLog(registry).AppendResultLine(text, FortyAnswers());
        else
            TResultsLog(registry).AppendResultLine(text);
    } catch (...) {
        status = 1;
    }
    _exit(status);
}

} // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(2, std::atoi(argv[1])) : 10;
    if (const std::string why = TSambaRig::Unavailable(); !why.empty()) {
        std::printf("%s\n", why.c_str());
        return 1;
    }
    TScratch scratch;
    TSambaRig rig(kCopies);
    std::vector<double> seconds, withRecords, linesAlone;
    for (int round = 1; round <= rounds; ++round) {
        int gate[2];
        if (::pipe(gate) != 0)
            return 1;
        std::vector<pid_t> copies;
        for (int c = 0; c < kCopies; ++c)
            copies.push_back(Copy(rig.Share(c), gate, round, c, round % 2 == 1));
        ::close(gate[0]);
        ::usleep(500'000); // every copy is up and waiting
        const auto start = std::chrono::steady_clock::now();
        ::close(gate[1]);
        int failed = 0;
        for (pid_t copy : copies) {
            int status = 0;
            ::waitpid(copy, &status, 0);
            failed += !(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        }
        seconds.push_back(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        (round % 2 == 1 ? withRecords : linesAlone).push_back(seconds.back());
        TResultsLog log(PlatformRegistry());
        scratch.SetSysDir(rig.ServerFolder());
        log.LoadIntoList();
        std::printf("round %d%s: %d lines in the log after %.2f s (%d copies failed)\n", round,
                    round % 2 == 1 ? " with records" : "", int(log.LineCount()), seconds.back(),
                    failed);
        std::fflush(stdout);
    }
    std::sort(seconds.begin(), seconds.end());
    std::printf("30 copies finishing at once: median %.2f s, slowest %.2f s over %d rounds\n",
                seconds[seconds.size() / 2], seconds.back(), rounds);
    const double with = Median(withRecords), alone = Median(linesAlone);
    std::printf("with the answers' records: median %.2f s; lines alone: median %.2f s (%+.1f %%)\n",
                with, alone, 100.0 * (with - alone) / alone);
    return 0;
}
