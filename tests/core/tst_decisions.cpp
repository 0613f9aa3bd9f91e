// The decisions the windows leave to the core: the roster editor's register and close,
// the countdown's colours, the working folder, the command line, the help index and the
// words of each system.
#include "core/backupmedia.h"
#include "core/commandline.h"
#include "core/countdowncolours.h"
#include "core/helpfile.h"
#include "core/rostersession.h"
#include "core/startup.h"
#include "core/versionlinks.h"

#include <QColor>
#include <QtTest>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace
{

using Register = RosterSession::RegisterStep;
using Close = RosterSession::CloseStep;

QStringList boxes(const QStringList &filled)
{
    QStringList texts(SeatCount);
    for (const QString &entry : filled)
        texts[entry.section(u':', 0, 0).toInt() - 1] = entry.section(u':', 1);
    return texts;
}

QString messageLine(const MessageText &m)
{
    return m.title + u'|' + m.text + u'|' + QString::number(m.style);
}

} // namespace

class TestDecisions : public QObject
{
    Q_OBJECT

private slots:
    void registerSteps_data();
    void registerSteps();
    void closeSteps_data();
    void closeSteps();
    void countdownColours_data();
    void countdownColours();
    void workingFolder_data();
    void workingFolder();
    void commandLine_data();
    void commandLine();
    void helpKeywordSearch_data();
    void helpKeywordSearch();
    void wordsOfEachSystem();
    void namesAMediumRefuses_data();
    void namesAMediumRefuses();
    void mediaPlacesOfTheAccount();
    void windowsBackupDrives();
};

void TestDecisions::registerSteps_data()
{
    QTest::addColumn<QStringList>("filled"); // "seat:name"
    QTest::addColumn<QString>("message");    // or, on to the file dialog, what saving says
    const QString twice = QStringLiteral("登録者重複|同じ氏名を登録しようとしました。|16");
    QTest::newRow("nobody") << QStringList() << "登録確認|新規にメンバーが登録されていません。登録しますか？|33";
    QTest::newRow("a name twice") << QStringList{"1:山田", "9:山田"} << twice;
    // The file would make the two one: WAVE DASH is saved as FULLWIDTH TILDE.
    QTest::newRow("twice once saved") << QStringList{"1:〜", "2:～"} << twice;
    QTest::newRow("no CP932")
        << QStringList{"1:山田", "7:𠮷田"}
        << "使用できない文字|No.7 の氏名「𠮷田」には名簿ファイルに保存できない文字が含まれています。\r\n"
           "別の文字に置き換えて下さい。|16";
    QTest::newRow("leading quote")
        << QStringList{"3:\"山田"}
        << "使用できない文字|No.3 の氏名「\"山田」は名簿ファイルに保存すると同じ氏名に戻りません。\r\n"
           "制御文字や、「\"」で始まる氏名は使えません。|16";
    QTest::newRow("blanks, TAB and comma are names")
        << QStringList{"2:  ", "3:伊藤\t翔太", "4:山田,花子"} << "登録確認|新規にメンバーを登録しました。|64";
}

void TestDecisions::registerSteps()
{
    QFETCH(QStringList, filled);
    QFETCH(QString, message);
    SharedState s;
    RosterSession session(s);
    const Register taken = session.beginRegister(boxes(filled));
    // Saved, the file is the roster's: closing asks nothing more.
    const bool saved = taken == Register::ChooseFileAndSave;
    QCOMPARE(messageLine(saved ? session.saved(QStringLiteral("/x/1組.mem")) : session.message(taken)), message);
    QCOMPARE(s.RosterEmpty, filled.isEmpty());
    QCOMPARE(s.RosterFileName, saved ? QStringLiteral("/x/1組.mem") : QString());
}

void TestDecisions::closeSteps_data()
{
    QTest::addColumn<QString>("roster"); // "opened" (of 山田, 佐藤), "empty" or "new"; "edited"; its file
    QTest::addColumn<int>("names");      // in the boxes: 山田, 佐藤, 鈴木
    QTest::addColumn<QString>("asked");
    const QString save = QStringLiteral("変更確認|名簿は変更されています。保存しますか？|33");
    QTest::newRow("opened, untouched") << "opened a.mem" << 2 << "||0";
    QTest::newRow("opened, edited") << "opened edited a.mem" << 2 << save;
    QTest::newRow("opened, a name more") << "opened a.mem" << 3 << save;
    QTest::newRow("registered empty") << "empty" << 0 << "||0";
    QTest::newRow("new, a file chosen") << "new edited a.mem" << 2 << "||0";
}

// A roster opened or registered empty counts its names again; a new one asks only before a file.
void TestDecisions::closeSteps()
{
    QFETCH(QString, roster);
    QFETCH(int, names);
    QFETCH(QString, asked);
    const QStringList words = roster.split(u' '), filled = QStringList{"1:山田", "2:佐藤", "5:鈴木"}.mid(0, names);
    SharedState s;
    s.RosterLoaded = words.contains(QStringLiteral("opened"));
    s.RosterEmpty = words.contains(QStringLiteral("empty"));
    s.RosterEdited = words.contains(QStringLiteral("edited"));
    s.RosterFileName = words.filter(QStringLiteral(".mem")).value(0);
    s.openClass.pupils = s.RosterLoaded ? QStringList{"山田", "佐藤"} : collectNames(boxes(filled));
    QCOMPARE(messageLine(RosterSession::message(RosterSession(s).beginClose(boxes(filled)))), asked);
}

// "text setting > background setting > a new text colour chosen > text|background shown > what
// choosing it does"
void TestDecisions::countdownColours_data()
{
    QTest::addColumn<QString>("colours");
    QTest::newRow("same as the background") << "&hffffff& > 255 > 255 > ffffff|ff0000 > same";
    QTest::newRow("background no colour") << "&HFF00 > blue > 0 > 00ff00|000000 > ignored";
    QTest::newRow("beyond 24 bits") << "&H1000000 >  > 0 > ffffff|000000 > ignored";
    QTest::newRow("text no colour") << " > &H0 > 16711680 > ffffff|000000 > store 16711680";
}

void TestDecisions::countdownColours()
{
    QFETCH(QString, colours);
    const QStringList part = colours.split(QStringLiteral(" > "));
    const CountdownColours shown = ::countdownColours(part[0], part[1]);
    const auto hex = [](ColorValue v) { return QColor(redOf(v), greenOf(v), blueOf(v)).name().mid(1); };
    const CountdownColourChoice made = chooseCountdownColour(part[2].toUInt(), part[1]);
    const QString seen = made.kind == CountdownColourChoice::Kind::Store ? QStringLiteral("store ") + made.stored
                         : made.kind == CountdownColourChoice::Kind::SameAsOther ? QStringLiteral("same")
                                                                                 : QStringLiteral("ignored");
    QCOMPARE(QStringList({hex(shown.text) + u'|' + hex(shown.background), seen}), part.mid(3));
}

void TestDecisions::workingFolder_data()
{
    QTest::addColumn<QString>("facts"); // "windows", "marker", "installed", "writable", the Documents folder
    QTest::addColumn<QString>("folder");
    QTest::newRow("Windows, installed") << "windows marker writable /docs"
                                        << "/docs/ならびん";
    // Not the drive's root ("/ならびん"): the program's own folder of the user's data.
    QTest::newRow("Windows, installed, no Documents") << "windows marker writable"
                                                      << "/data";
    // Even when it could not write there: the copy shows where it was put.
    QTest::newRow("Windows, portable on a locked medium") << "windows /docs"
                                                          << "/prog";
    QTest::newRow("Linux, build tree") << "writable /docs"
                                       << "/prog";
    QTest::newRow("Linux, installed") << "installed writable /docs"
                                      << "/data";
    QTest::newRow("Linux, unwritable copy") << "/docs"
                                            << "/data";
}

void TestDecisions::workingFolder()
{
    QFETCH(QString, facts);
    QFETCH(QString, folder);
    const QStringList f = facts.split(u' ');
    const auto has = [&f](const char *fact) { return f.contains(QLatin1String(fact)); };
    QCOMPARE(workingFolderFor({has("windows"), QStringLiteral("/prog"), has("marker"), has("installed"),
                               has("writable"), f.filter(QStringLiteral("/docs")).value(0), QStringLiteral("/data")}),
             folder);
}

void TestDecisions::commandLine_data()
{
    QTest::addColumn<QString>("arguments"); // "no display" first when there is none
    QTest::addColumn<int>("action");
    QTest::newRow("nothing") << "" << int(CommandLineAction::Start);
    // --help, --version and --paths without a display: tests/install.
    QTest::newRow("-h, no display") << "no display -h" << int(CommandLineAction::PrintHelp);
    // Qt's own options are Qt's.
    QTest::newRow("-platform offscreen") << "-platform offscreen" << int(CommandLineAction::Start);
}

void TestDecisions::commandLine()
{
    QFETCH(QString, arguments);
    QFETCH(int, action);
    const bool display = !arguments.startsWith(QLatin1String("no display"));
    const QStringList words = arguments.mid(display ? 0 : 10).split(u' ', Qt::SkipEmptyParts);
    QCOMPARE(int(commandLineAction(words, display)), action);
}

void TestDecisions::helpKeywordSearch_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("found");
    QTest::newRow("hiragana finds half-width katakana") << "ばっく" << QStringList{"ﾊﾞｯｸｱｯﾌﾟ"};
    QTest::newRow("width and case") << "END" << QStringList{"Ｅｎｄ"};
    QTest::newRow("blanks ignored") << "空 座席" << QStringList{"空座席"};
}

void TestDecisions::helpKeywordSearch()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, found);
    QList<HelpIndexEntry> index;
    for (const char *keyword : {"ﾊﾞｯｸｱｯﾌﾟ", "Ｅｎｄ", "空座席"})
        index.append({QString::fromUtf8(keyword), QString::fromUtf8(keyword), QStringLiteral("t")});
    QStringList keywords;
    for (const HelpIndexEntry &e : matchHelpIndex(index, typed))
        keywords.append(e.keyword);
    QCOMPARE(keywords, found);
}

// Windows keeps its own words (the about window and the command line check the Linux ones):
// its consoles see a windowed program's status through the launcher.
void TestDecisions::wordsOfEachSystem()
{
    QCOMPARE((QStringList{messageLine(linkProgramMissingMessage(LinkProgram::Mail, true)),
                          messageLine(linkProgramMissingMessage(LinkProgram::Browser, true)),
                          messageLine(backupPrepareQuestion(BackupTarget::FloppyDrive, QStringLiteral("名簿"), 2)),
                          messageLine(backupMissingQuestion(BackupTarget::FloppyDrive)),
                          usageText(true).section(u'\n', -5)}),
             (QStringList{"OE ｲﾝｽﾄｰﾙ 確認|「Outlook Express」 が ｲﾝｽﾄｰﾙ されていません。|48",
                          "IE ｲﾝｽﾄｰﾙ 確認|「Internet Explorer」 が ｲﾝｽﾄｰﾙ されていません。|48",
                          "ﾊﾞｯｸｱｯﾌﾟ準備|フォルダー「名簿」の名簿 2 件をバックアップします。\r"
                          "データのバックアップをとる場合はドライブＡに\rフロッピーディスクをセットして下さい。|33",
                          "ﾊﾞｯｸｱｯﾌﾟ準備|ドライブＡにフロッピーディスクがセットされていません。\r"
                          "処理を続ける場合はフロッピーディスクをセットして下さい。|33",
                          "コマンドプロンプトや PowerShell では narabin-cli を使って下さい。\n"
                          "終わるまで待ち、表示をコンソールの文字コードで出し、終了コードを返します:\n"
                          "  narabin-cli --paths\n  echo %ERRORLEVEL%      （PowerShell では $LASTEXITCODE）\n"}));
}

void TestDecisions::namesAMediumRefuses_data()
{
    QTest::addColumn<QByteArray>("fileSystem");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("refused");
    const QString same = QStringLiteral("大文字と小文字の違いしかないため、同じ名前になります。");
    // A forbidden character and two names of one letter case: tst_filemanagement.
    QTest::newRow("vfat") << QByteArray("vfat")
                          << QStringList{"a.mem", "A.MEM", "c.mem.", "a.Mem", "com¹.mem", "Conout$.mem"}
                          << QStringList{"c.mem. ファイル名の終わりに「.」や空白は使えません。",
                                         "com¹.mem 「com¹」は機器の名前なので、ファイル名に使えません。",
                                         "Conout$.mem 「Conout$」は機器の名前なので、ファイル名に使えません。",
                                         "A.MEM a.Mem a.mem " + same};
    QTest::newRow("NTFS as Windows names it, wide letters")
        << QByteArray("NTFS") << QStringList{"Ａ.mem", "ａ.mem"} << QStringList{"Ａ.mem ａ.mem " + same};
    QTest::newRow("ext4 takes every name")
        << QByteArray("ext4") << QStringList{"a.mem", "A.MEM", "x:y.mem"} << QStringList();
}

void TestDecisions::namesAMediumRefuses()
{
    QFETCH(QByteArray, fileSystem);
    QFETCH(QStringList, names);
    QFETCH(QStringList, refused);
    QStringList found;
    for (const RefusedNames &r : namesRefusedBy(fileSystem, names))
        found.append(r.names.join(u' ') + u' ' + r.reason);
    QCOMPARE(found, refused);
}

// The desktop mounts sticks under the account's name, whatever the home folder is called.
void TestDecisions::mediaPlacesOfTheAccount()
{
#ifdef Q_OS_UNIX
    if (geteuid() != 0)
        QSKIP("the account is named root only when run by root (as CI runs)");
    const QByteArray user = qgetenv("USER");
    const QByteArray home = qgetenv("HOME");
    qunsetenv("USER");
    qputenv("HOME", "/tmp/teacher");
    const QStringList roots = backupMediaRoots();
    qputenv("USER", user);
    qputenv("HOME", home);
    QCOMPARE(roots, (QStringList{"/media/root", "/run/media/root", "/media"}));
#endif
}

// Many USB sticks and every USB disk call themselves fixed drives.
void TestDecisions::windowsBackupDrives()
{
    // {removable, fixed, on USB, the system's}
    QVERIFY(backupDriveOfWindows({true, false, false, false}));  // a stick that says it is removable
    QVERIFY(backupDriveOfWindows({false, true, true, false}));   // a stick or disk on USB that says it is fixed
    QVERIFY(!backupDriveOfWindows({false, true, false, false})); // the computer's own second disk
    QVERIFY(!backupDriveOfWindows({false, true, true, true}));   // Windows started from a USB disk
    QVERIFY(!backupDriveOfWindows({false, false, true, false})); // a network or optical drive
}

QTEST_MAIN(TestDecisions)
#include "tst_decisions.moc"
