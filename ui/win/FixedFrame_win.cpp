#include "FixedFrame.h"

namespace kwizmar {

// Windows gives a window with MSWindowsFixedSizeDialogHint its thin, fixed
// border by itself.
void AskWindowSystemForFixedFrame(QWidget&) {}

} // namespace kwizmar
