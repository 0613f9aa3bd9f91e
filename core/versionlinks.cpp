#include "core/versionlinks.h"

MessageText linkProgramMissingMessage(LinkProgram program, bool onWindows)
{
    const bool mail = program == LinkProgram::Mail;
    const QString name = onWindows ? (mail ? QStringLiteral("Outlook Express") : QStringLiteral("Internet Explorer"))
                                   : (mail ? QStringLiteral("メールソフト") : QStringLiteral("Webブラウザ"));
    const QString title = onWindows ? (mail ? QStringLiteral("OE ｲﾝｽﾄｰﾙ 確認") : QStringLiteral("IE ｲﾝｽﾄｰﾙ 確認"))
                                    : name + QStringLiteral(" ｲﾝｽﾄｰﾙ 確認");
    return {QStringLiteral("「%1」 が ｲﾝｽﾄｰﾙ されていません。").arg(name), title, MsgStyle::Exclamation};
}
