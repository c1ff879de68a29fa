#include <cstdio>

#include "CliCommand.h"

namespace tessary::cli {

int Fail(int code, const QString& message)
{
    QString line = message;
    line.replace(QLatin1Char('\n'), QLatin1Char(' '));
    std::fprintf(stderr, "tessary-cli: %s\n", line.toLocal8Bit().constData());
    return code;
}

void PrintLine(const QString& text)
{
    std::fprintf(stdout, "%s\n", text.toUtf8().constData());
}

void PrintJson(const QJsonDocument& doc)
{
    const QByteArray bytes = doc.toJson(QJsonDocument::Compact);
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fputc('\n', stdout);
}

bool TakeOption(QStringList& args, const QString& name, QString& value, bool& present)
{
    present = false;
    const qsizetype i = args.indexOf(name);
    if (i < 0)
        return true;
    if (i + 1 >= args.size())
        return false;
    value = args[i + 1];
    args.remove(i, 2);
    present = true;
    return true;
}

bool TakeFlag(QStringList& args, const QString& name)
{
    return args.removeAll(name) > 0;
}

} // namespace tessary::cli
