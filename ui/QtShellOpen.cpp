#include "QtShellOpen.h"

#include <QDesktopServices>
#include <QUrl>

namespace kwizmar {

bool TQtShellOpen::Open(const std::string& target, TShowMode) {
    const QString text = QString::fromStdString(target);
    QUrl url(text, QUrl::TolerantMode);
    // A one-letter scheme is a Windows drive ("C:\..."), not an address.
    if (url.scheme().size() < 2)
        url = QUrl::fromLocalFile(text);
    return QDesktopServices::openUrl(url);
}

} // namespace kwizmar
