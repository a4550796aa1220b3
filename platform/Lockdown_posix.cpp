#include "Lockdown.h"

#include "LockdownRecorder.h"

namespace kwizmar {

// There is no shell here to hide; the calls are kept so that their order can
// be checked.
ILockdownOperations& PlatformLockdown() {
    return ProcessLockdownRecorder();
}

} // namespace kwizmar
