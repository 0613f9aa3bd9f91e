#include "about/versioninfo.h"

#include "app/ui.h"

#include <QPushButton>

INFO_VER::INFO_VER()
    : FormDialog(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"), 5985, 3975)
{
    setObjectName(QStringLiteral("INFO_VER"));
    setBackgroundColor(this, rgb(128, 128, 128));
    auto *ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("Command1"));
    ok->setToolTip(QStringLiteral(" OK "));
    ok->setGeometry(twRect(4350, 1530, 1300, 300));
    connect(ok, &QPushButton::clicked, this, [this] { unloadSelf(); });
}

void ShowVersionInfo()
{
    form<INFO_VER>()->exec();
}
