// script: the resource script a build would write.
#include "cli/BuildCommand.h"
#include "cli/Commands.h"

namespace cli {
namespace {

Check runScript(const Invocation& run) {
    const QString kind = run.parser.positionalArguments().value(0);
    if (kind == QLatin1String("theme"))
        return printScript(run, themeRequest);
    if (kind == QLatin1String("iconset")) {
        for (const QString& themeOnly : {QStringLiteral("icons-sheet"), QStringLiteral("hires-icons-sheet")})
            if (run.parser.isSet(themeOnly))
                return usageError(
                    QStringLiteral("script iconset: --%1 is an option of theme").arg(themeOnly));
        return printScript(run, iconSetRequest);
    }
    if (kind.isEmpty())
        return usageError(QStringLiteral("script needs theme or iconset"));
    return usageError(QStringLiteral("script needs theme or iconset, not \"%1\"").arg(kind));
}

// The theme's sheet options carry the names of the icon set's as well, so a
// build's command line turns into "script" by putting the word in front of it.
QList<CliOption> scriptRows() {
    return buildOptionRows() + themeInputRows();
}

} // namespace

Command scriptCommand() {
    return {
        QStringLiteral("script"),
        QStringLiteral("prints the resource script a build would write"),
        QStringLiteral("Prints the resource script the build of KIND would write, without building. Sheets "
                       "and picks given are read and checked as the build would (for an icon set, --sheet "
                       "and --icon are the icon sheet's); no name is needed."),
        scriptRows(),
        {{QStringLiteral("kind"), {QStringLiteral("theme"), QStringLiteral("iconset")}}},
        runScript};
}

} // namespace cli
