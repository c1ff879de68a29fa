#pragma once
// Runs the built tessary-cli with arguments (offscreen, optionally in a working folder) and
// collects its exit code and output. Shared by every test of a subcommand.

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

struct CliResult {
    int exitCode = -1; // -1 when the program did not finish normally in time
    QByteArray out;
    QByteArray err;
};

inline CliResult RunCli(const QStringList& args, const QString& workDir = QString(), int timeoutMs = 120000)
{
    QProcess p;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    p.setProcessEnvironment(env);
    if (!workDir.isEmpty())
        p.setWorkingDirectory(workDir);
    p.start(QStringLiteral(TESSARY_BINARY_DIR "/src/cli/tessary-cli"), args);
    CliResult r;
    if (!p.waitForFinished(timeoutMs) || p.exitStatus() != QProcess::NormalExit)
        return r;
    r.exitCode = p.exitCode();
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}
