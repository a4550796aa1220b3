#include "ResultsLog.h"

#include "AnswerRecordsFile.h"
#include "Folders.h"
#include "LabSettings.h"
#include "Paths.h"
#include "PendingResults.h"
#include "ResultsLogPlatform.h"

#include <exception>
#include <utility>

namespace kwizmar {

TResultsLog::TResultsLog(IRegistry& registry) : registry_(registry) {}

std::string TResultsLog::Path() const {
    return File().Path();
}

std::string TResultsLog::Locate() {
    if (!fixed_.empty()) {
        directory_ = fixed_;
        return Path();
    }
    // A lab's administrator names the shared folder in the program's own
    // machine-wide key; the system's Setup key is the program's old place.
    if (std::string lab = LabResultsFolder(registry_); !lab.empty()) {
        directory_ = std::move(lab);
        return Path();
    }
    auto setup = registry_.OpenKey(TRegistryRoot::LocalMachine, kSetupKey, false);
    std::string sysDir;
    if (setup && setup->ValueExists("SysDir"))
        sysDir = setup->ReadString("SysDir");
    if (!sysDir.empty() && SetupFolderServes(sysDir))
        directory_ = std::move(sysDir);
    else if (std::string own = DefaultDataFolder(); !own.empty())
        directory_ = std::move(own);
    return Path();
}

void TResultsLog::LoadIntoList() {
    Locate();
    File().ReadInto(list_);
}

int TResultsLog::AppendResultLine(const std::string& text,
                                  const std::optional<TAnswerRecord>& record) {
    LocateForResult(text, record);
    return File().Append(list_, text, {}, record);
}

std::string TResultsLog::LocateForResult(const std::string& text,
                                         const std::optional<TAnswerRecord>& record) {
    try {
        Locate();
    } catch (const std::exception& error) {
        File().Refuse(list_, text, error, false, record);
    }
    return directory_;
}

void TResultsLog::KeepRecord(const std::string& text, const TAnswerRecord& record) noexcept {
    try {
        TPendingRecords::Keep(WaitingRecord(record, text));
    } catch (...) {
    }
}

bool TResultsLog::HoldsResult(const std::string& text) {
    try {
        Locate();
        if (File().Holds(text))
            return true;
    } catch (const EPlatformError&) {
    }
    return TResultsLogFile::Waits(text);
}

void TResultsLog::Save() {
    File().Save(list_);
}

} // namespace kwizmar
