#pragma once
// Runs tessary-cli with arguments and collects exit code and output.

#include <QProcess>
#include <QString>
#include <QStringList>

struct CliResult {
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

inline CliResult RunCli(const QStringList& args, int timeoutMs = 120000)
{
    QProcess p;
    p.start(QStringLiteral(TESSARY_CLI_EXE), args);
    CliResult r;
    if (!p.waitForFinished(timeoutMs) || p.exitStatus() != QProcess::NormalExit)
        return r;
    r.exitCode = p.exitCode();
    r.out = p.readAllStandardOutput();
    r.err = p.readAllStandardError();
    return r;
}
