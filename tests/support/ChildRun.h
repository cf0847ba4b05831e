#pragma once
// Runs a test function again in a child process: the scale factor and the locale are fixed when
// an application starts.

#include <QCoreApplication>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// Runs one test function of this program again in a child process with more environment: the
// scale factor and the locale are fixed when an application starts. Empty when it passed,
// otherwise its output.
inline QString failureOfChild(const char* function, const QStringList& environment) {
    QProcess child;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const QString& setting : environment) env.insert(setting.section('=', 0, 0), setting.section('=', 1));
    child.setProcessEnvironment(env);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start(QCoreApplication::applicationFilePath(), {function});
    if (!child.waitForFinished(120000)) return "the child did not finish";
    const QString output = QString::fromLocal8Bit(child.readAll());
    return child.exitStatus() == QProcess::NormalExit && child.exitCode() == 0 ? QString() : output;
}
