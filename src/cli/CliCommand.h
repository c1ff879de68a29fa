#pragma once
// One subcommand of tessary-cli. Each lives in its own file and is listed in main.cpp.
// Exit codes: 0 success, 1 failed operation, 2 wrong usage. Errors are one line on stderr.

#include <QJsonDocument>
#include <QString>
#include <QStringList>

namespace tessary::cli {

constexpr int kExitOk = 0;
constexpr int kExitFailed = 1;
constexpr int kExitUsage = 2;

struct CliCommand {
    const char* name;
    const char* usage;   // shown by --help, one or more lines
    int (*run)(const QStringList& args); // arguments after the subcommand name
};

// Prints "tessary-cli: <message>" as one line on standard error and returns `code`.
int Fail(int code, const QString& message);
void PrintLine(const QString& text);
void PrintJson(const QJsonDocument& doc);

// Takes "--name VALUE" out of args; false (and usage error printed) when the value is missing.
bool TakeOption(QStringList& args, const QString& name, QString& value, bool& present);
// Takes a "--flag" out of args.
bool TakeFlag(QStringList& args, const QString& name);

int RunVersion(const QStringList& args);
int RunExif(const QStringList& args);
int RunAlbum(const QStringList& args);
// "album search ALBUM.tsy [--collection NAME] QUERY [--json]": arguments after "search".
int RunAlbumSearch(const QStringList& args);
int RunImage(const QStringList& args);
int RunThumbs(const QStringList& args);

} // namespace tessary::cli
