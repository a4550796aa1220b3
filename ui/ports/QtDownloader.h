#pragma once

#include "AboutLogic.h"

namespace kwizmar {

// Downloads over HTTP(S) with Qt Network. The call blocks its caller but
// keeps the window system's events flowing (not the user's input), and gives
// up after `timeoutMs`; a failure, a time-out, an HTTP error status or an
// answer larger than the update file could be all count as a failed download
// and leave no local file of this call's. The file is written beside its
// place and renamed into it, so it is either the whole answer or not there.
class TQtDownloader final : public IDownloader {
public:
    explicit TQtDownloader(int timeoutMs = 5000) : timeoutMs_(timeoutMs) {}
    bool Download(const std::string& address, const std::string& localFile) override;

private:
    int timeoutMs_;
};

} // namespace kwizmar
