#include "support/ChildProcess.h"

#include <QCoreApplication>
#include <QProcess>

namespace orvek::test {

BatchRun runBatch(const QStringList& args, const QString& folder, const std::function<void(QProcess&)>& setUp) {
    QProcess p;
    if (!folder.isEmpty()) p.setWorkingDirectory(folder);
    if (setUp) setUp(p);
    p.start(ORVEK_BATCH, args);
    p.waitForFinished(120000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardOutput(),
            p.readAllStandardError()};
}

QString failureAsNobody(const char* testFunction) {
    QProcess child;
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start("setpriv", {"--reuid=65534", "--regid=65534", "--clear-groups", QCoreApplication::applicationFilePath(),
                            testFunction});
    if (!child.waitForFinished(60000)) return "setpriv did not finish";
    const QByteArray output = child.readAll();
    const bool passed = child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0 &&
                        output.contains(QByteArray("::") + testFunction + "(") && output.contains("PASS   : ");
    return passed ? QString() : QString::fromLocal8Bit(output);
}

}  // namespace orvek::test
