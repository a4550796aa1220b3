#include "QtShellOpen.h"

#include <QDesktopServices>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

namespace kwizmar {

TQtShellOpen::~TQtShellOpen() {
    for (QProcess* process : running_.findChildren<QProcess*>()) {
        process->disconnect();
        process->kill();
        process->waitForFinished(1000);
    }
}

void TQtShellOpen::Open(const std::string& target, TShowMode, const std::function<void()>& failed) {
    const QString text = QString::fromStdString(target);
    QUrl url(text, QUrl::TolerantMode);
    // A one-letter scheme is a Windows drive ("C:\..."), not an address.
    if (url.scheme().size() < 2)
        url = QUrl::fromLocalFile(text);
    const QString opener = failed && url.isLocalFile()
                               ? QStandardPaths::findExecutable(QStringLiteral("xdg-open"))
                               : QString();
    if (opener.isEmpty()) {
        if (!QDesktopServices::openUrl(url) && failed)
            failed();
        return;
    }
    // Qt would start xdg-open and forget it; one that finds no browser says so
    // only on its error output. Its output goes nowhere, so that a browser it
    // keeps running never waits on a full pipe.
    auto* process = new QProcess(&running_);
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    QObject::connect(process, &QProcess::finished, process,
                     [process, failed](int code, QProcess::ExitStatus status) {
                         process->deleteLater();
                         if (status != QProcess::NormalExit || code != 0)
                             failed();
                     });
    QObject::connect(process, &QProcess::errorOccurred, process,
                     [process, failed](QProcess::ProcessError error) {
                         if (error != QProcess::FailedToStart)
                             return;
                         process->deleteLater();
                         failed();
                     });
    // A place in the page goes with the address; the opener finds the file.
    process->start(opener, {url.hasFragment() ? url.toString() : url.toLocalFile()});
}

} // namespace kwizmar
