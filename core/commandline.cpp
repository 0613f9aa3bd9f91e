#include "core/commandline.h"

#include "core/product.h"

CommandLineAction commandLineAction(const QStringList &arguments, bool displayAvailable)
{
    const QString first = arguments.value(0);
    if (first == QLatin1String("--help") || first == QLatin1String("-h"))
        return CommandLineAction::PrintHelp;
    if (first == QLatin1String("--version") || first == QLatin1String("-v"))
        return CommandLineAction::PrintVersion;
    if (first == QLatin1String("--paths"))
        return CommandLineAction::PrintPaths;
    return displayAvailable ? CommandLineAction::Start : CommandLineAction::NoDisplay;
}

namespace
{
// The same lines scripts/run gives.
QString virtualDisplayHint()
{
    return QStringLiteral("仮想画面（Xvfb）で起動するには:\n"
                          "  Xvfb :99 -screen 0 1280x1024x24 &\n"
                          "  DISPLAY=:99 narabin\n");
}
} // namespace

QString usageText(bool windows)
{
    const QString options =
        QStringLiteral("使い方: narabin [オプション]\n"
                       "席替えプログラム「ならびん君」を起動します。\n"
                       "\n"
                       "  --paths     作業フォルダ・設定ファイル・ヘルプファイル・ドラッグアイコンの場所を\n"
                       "              表示して終了します（何も書き込みません）。\n"
                       "              ファイルが見つからないときの終了コードは 1 です。\n"
                       "  --version   バージョンを表示して終了します。\n"
                       "  --help      この説明を表示して終了します。\n"
                       "\n");
    // A windowed program does not keep cmd or PowerShell waiting: its exit status is gone
    // before it ends. The console launcher beside it waits and passes the status on.
    if (windows)
        return options + QStringLiteral("コマンドプロンプトや PowerShell では narabin-cli を使って下さい。\n"
                                        "終わるまで待ち、表示をコンソールの文字コードで出し、終了コードを返します:\n"
                                        "  narabin-cli --paths\n"
                                        "  echo %ERRORLEVEL%      （PowerShell では $LASTEXITCODE）\n");
    return options + QStringLiteral("画面（DISPLAY または WAYLAND_DISPLAY）がないと起動できません。") +
           virtualDisplayHint();
}

QString versionText()
{
    return QStringLiteral("narabin %1（%2 %3）\n")
        .arg(QStringLiteral(NARABIN_VERSION), QString::fromUtf8(product::Title), QString::fromUtf8(product::Version));
}

QString noDisplayText()
{
    return QStringLiteral("narabin: 画面がありません（DISPLAY も WAYLAND_DISPLAY も設定されていません）。\n") +
           virtualDisplayHint();
}
