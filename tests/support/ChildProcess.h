#pragma once
// Running programs from a test: orvek-batch as a script runs it, and a test function of the
// running test program again as another user.

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

class QProcess;

namespace orvek::test {

struct BatchRun {
    int exitCode = -1;  // -1 when the program did not end normally (a signal)
    QByteArray out, err;
};

// Runs orvek-batch with these arguments, in `folder` when one is given, and waits for it to end.
// `setUp` may redirect the process's channels or limit it before it starts.
BatchRun runBatch(const QStringList& args, const QString& folder = QString(),
                  const std::function<void(QProcess&)>& setUp = {});

// Runs one test function of this test program again as the unprivileged user "nobody" (root may
// read and write anywhere, so refusals are only meaningful for an ordinary user). Empty when it
// passed; its output when it did not.
QString failureAsNobody(const char* testFunction);

}  // namespace orvek::test
