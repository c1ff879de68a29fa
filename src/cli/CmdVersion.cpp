#include "CliCommand.h"
#include "TessaryVersion.h"

namespace tessary::cli {

int RunVersion(const QStringList& args)
{
    if (!args.isEmpty())
        return Fail(kExitUsage, QStringLiteral("version takes no arguments"));
    PrintLine(QStringLiteral("%1 %2.%3.%4.%5")
                  .arg(QStringLiteral(TESSARY_PRODUCT_NAME))
                  .arg(TESSARY_VERSION_MAJOR)
                  .arg(TESSARY_VERSION_MINOR)
                  .arg(TESSARY_VERSION_PATCH)
                  .arg(TESSARY_VERSION_TWEAK));
    return kExitOk;
}

} // namespace tessary::cli
