#include "core/windowslinks.h"

QString windowsDrivePrefix(const QString &winDir)
{
    return winDir.left(3);
}

QString windowsSystemName(const WindowsVersion &version)
{
    switch (version.platformId) {
    case 1: return version.minor == 0 ? QStringLiteral("Windows95") : QStringLiteral("Windows98");
    case 2: return version.major == 4 ? QStringLiteral("WindowsNT") : QStringLiteral("Windows2000");
    default: return {};
    }
}

QString windowsMailProgramPath(const QString &drivePrefix)
{
    return drivePrefix + QStringLiteral("Program Files\\Outlook Express\\MSIMN.EXE");
}

QString windowsBrowserPath(const QString &drivePrefix, const QString &systemName)
{
    if (systemName == QLatin1String("WindowsNT"))
        return drivePrefix + QStringLiteral("Program Files\\Plus!\\Microsoft Internet\\IEXPLORE.EXE");
    if (systemName == QLatin1String("Windows95") || systemName == QLatin1String("Windows98") ||
        systemName == QLatin1String("Windows2000"))
        return drivePrefix + QStringLiteral("Program Files\\Internet Explorer\\IEXPLORE.EXE");
    return {};
}

MessageText linkProgramMissingMessage(LinkProgram program, bool onWindows)
{
    const bool mail = program == LinkProgram::Mail;
    const QString name = onWindows ? (mail ? QStringLiteral("Outlook Express") : QStringLiteral("Internet Explorer"))
                                   : (mail ? QStringLiteral("メールソフト") : QStringLiteral("Webブラウザ"));
    const QString title = onWindows ? (mail ? QStringLiteral("OE ｲﾝｽﾄｰﾙ 確認") : QStringLiteral("IE ｲﾝｽﾄｰﾙ 確認"))
                                    : name + QStringLiteral(" ｲﾝｽﾄｰﾙ 確認");
    return {QStringLiteral("「%1」 が ｲﾝｽﾄｰﾙ されていません。").arg(name), title, MsgStyle::Exclamation};
}

QString windowsBrowserCommandLine(const QString &browserPath, const QString &url)
{
    // Quoted, so that the blank in "Program Files" does not split the program's name.
    return QLatin1Char('"') + browserPath + QStringLiteral("\" ") + url;
}
