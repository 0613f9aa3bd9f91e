// The decisions the windows leave to the core: the roster editor's register and close,
// the countdown's colours, the working folder and the words of each system.
#include "core/backupmedia.h"
#include "core/countdowncolours.h"
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
    void registerStoresTheNames();
    void closeSteps_data();
    void closeSteps();
    void countdownColours_data();
    void countdownColours();
    void workingFolder_data();
    void workingFolder();
    void wordsOfEachSystem_data();
    void wordsOfEachSystem();
    void namesAMediumRefuses_data();
    void namesAMediumRefuses();
    void mediaPlacesOfTheAccount();
    void windowsBackupDrives();
};

void TestDecisions::registerSteps_data()
{
    QTest::addColumn<QStringList>("filled"); // "seat:name"
    QTest::addColumn<int>("step");
    QTest::addColumn<QString>("message");
    QTest::newRow("nobody") << QStringList() << int(Register::AskRegisterEmpty)
                            << "登録確認|新規にメンバーが登録されていません。登録しますか？|33";
    QTest::newRow("a name twice") << QStringList{"1:山田", "9:山田"} << int(Register::ReportSameName)
                                  << "登録者重複|同じ氏名を登録しようとしました。|16";
    // The file would make the two one: WAVE DASH is saved as FULLWIDTH TILDE.
    QTest::newRow("twice once saved") << QStringList{"1:〜", "2:～"} << int(Register::ReportSameName)
                                      << "登録者重複|同じ氏名を登録しようとしました。|16";
    QTest::newRow("no CP932")
        << QStringList{"1:山田", "7:𠮷田"} << int(Register::ReportUnsavable)
        << "使用できない文字|No.7 の氏名「𠮷田」には名簿ファイルに保存できない文字が含まれています。\r\n"
           "別の文字に置き換えて下さい。|16";
    QTest::newRow("leading quote")
        << QStringList{"3:\"山田"} << int(Register::ReportUnsavable)
        << "使用できない文字|No.3 の氏名「\"山田」は名簿ファイルに保存すると同じ氏名に戻りません。\r\n"
           "制御文字や、「\"」で始まる氏名は使えません。|16";
    QTest::newRow("blanks, TAB and comma are names")
        << QStringList{"2:  ", "3:伊藤\t翔太", "4:山田,花子"} << int(Register::ChooseFileAndSave) << "";
}

void TestDecisions::registerSteps()
{
    QFETCH(QStringList, filled);
    QFETCH(int, step);
    QFETCH(QString, message);
    SharedState s;
    RosterSession session(s);
    const Register taken = session.beginRegister(boxes(filled));
    QCOMPARE(int(taken), step);
    QCOMPARE(taken == Register::ChooseFileAndSave ? QString() : messageLine(session.message(taken)), message);
    QCOMPARE(s.RosterEmpty, filled.isEmpty());
    QCOMPARE(s.MatchFound, taken == Register::ReportSameName);
}

// The names go into the shared roster, closed up in seat order, whatever follows; the
// confirmation tells a correction from a new roster once.
void TestDecisions::registerStoresTheNames()
{
    SharedState s;
    s.openClass.pupils = QStringList{"前の名簿", "二", "三", "四", "五"};
    s.RosterFromFile = true;
    RosterSession session(s);
    QCOMPARE(session.beginRegister(boxes({"2:山田", "20:佐藤"})), Register::ChooseFileAndSave);
    QCOMPARE(s.openClass.pupils, (QStringList{"山田", "佐藤"}));
    QCOMPARE(messageLine(session.saved(QStringLiteral("/x/1組.mem"))),
             QStringLiteral("修正確認|メンバーを修正しました。|64"));
    QCOMPARE(s.RosterFileName, QStringLiteral("/x/1組.mem"));
    QCOMPARE(messageLine(session.saved(QStringLiteral("/x/2組.mem"))),
             QStringLiteral("登録確認|新規にメンバーを登録しました。|64"));
    // An empty roster: OK keeps editing, no longer empty; Cancel closes.
    QCOMPARE(session.beginRegister(boxes({})), Register::AskRegisterEmpty);
    QVERIFY(!session.keepEditingEmpty(false) && s.RosterEmpty);
    QVERIFY(session.keepEditingEmpty(true) && !s.RosterEmpty);
}

void TestDecisions::closeSteps_data()
{
    QTest::addColumn<bool>("loaded");
    QTest::addColumn<bool>("empty");
    QTest::addColumn<bool>("edited");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QStringList>("filled");
    QTest::addColumn<int>("step");
    QTest::addColumn<bool>("countChanged");
    const QStringList two{"1:山田", "2:佐藤"};
    QTest::newRow("opened, untouched") << true << false << false << "a.mem" << two << int(Close::Nothing) << false;
    QTest::newRow("opened, edited") << true << false << true << "a.mem" << two << int(Close::AskSaveChanges) << false;
    QTest::newRow("opened, a name more") << true << false << false << "a.mem" << (two + QStringList{"5:鈴木"})
                                         << int(Close::AskSaveChanges) << true;
    QTest::newRow("registered empty") << false << true << false << "" << QStringList() << int(Close::Nothing) << false;
    QTest::newRow("new, a file chosen") << false << false << true << "a.mem" << two << int(Close::Nothing) << false;
    QTest::newRow("new") << false << false << true << "" << two << int(Close::AskDiscardNew) << false;
}

void TestDecisions::closeSteps()
{
    QFETCH(bool, loaded);
    QFETCH(bool, empty);
    QFETCH(bool, edited);
    QFETCH(QString, fileName);
    QFETCH(QStringList, filled);
    QFETCH(int, step);
    QFETCH(bool, countChanged);
    SharedState s;
    s.RosterLoaded = loaded;
    s.RosterEmpty = empty;
    s.RosterEdited = edited;
    s.RosterFileName = fileName;
    s.openClass.pupils =
        loaded ? QStringList{"山田", "佐藤"} : collectNames(boxes(filled)); // an opened roster held two
    s.CountChanged = !countChanged;
    const Close taken = RosterSession(s).beginClose(boxes(filled));
    QCOMPARE(int(taken), step);
    if (loaded || empty)
        QCOMPARE(s.CountChanged, countChanged);
    QCOMPARE(messageLine(RosterSession::message(taken)),
             taken == Close::AskSaveChanges ? QStringLiteral("変更確認|名簿は変更されています。保存しますか？|33")
             : taken == Close::AskDiscardNew ? QStringLiteral("新規作成|新規名簿を取消してよろしいですか？|33")
                                             : QStringLiteral("||0"));
}

void TestDecisions::countdownColours_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("background");
    QTest::addColumn<uint>("chosen");    // a new text colour
    QTest::addColumn<QString>("shown");  // text|background
    QTest::addColumn<QString>("choice"); // what choosing `chosen` for the text does
    QTest::newRow("the stored defaults") << QStringLiteral("&HFFFFFF") << "&HFF" << 0u << "ffffff|ff0000"
                                         << QStringLiteral("store 0");
    QTest::newRow("same as the background")
        << QStringLiteral("&HFFFFFF") << "255" << 255u << "ffffff|ff0000" << QStringLiteral("same");
    QTest::newRow("background no colour")
        << QStringLiteral("&HFF00") << "blue" << 0u << "00ff00|000000" << QStringLiteral("ignored");
    QTest::newRow("text no colour") << QString() << "&H0" << 16711680u << "ffffff|000000"
                                    << QStringLiteral("store 16711680");
}

void TestDecisions::countdownColours()
{
    QFETCH(QString, text);
    QFETCH(QString, background);
    QFETCH(uint, chosen);
    QFETCH(QString, shown);
    QFETCH(QString, choice);
    const CountdownColours colours = ::countdownColours(text, background);
    const auto hex = [](ColorValue v) { return QColor(redOf(v), greenOf(v), blueOf(v)).name().mid(1); };
    QCOMPARE(hex(colours.text) + u'|' + hex(colours.background), shown);
    const CountdownColourChoice made = chooseCountdownColour(chosen, background);
    const QString seen = made.kind == CountdownColourChoice::Kind::Store ? QStringLiteral("store ") + made.stored
                         : made.kind == CountdownColourChoice::Kind::SameAsOther ? QStringLiteral("same")
                                                                                 : QStringLiteral("ignored");
    QCOMPARE(seen, choice);
}

void TestDecisions::workingFolder_data()
{
    QTest::addColumn<bool>("windows");
    QTest::addColumn<bool>("marker");
    QTest::addColumn<bool>("installedLayout");
    QTest::addColumn<bool>("writable");
    QTest::addColumn<QString>("documents");
    QTest::addColumn<QString>("folder");
    QTest::newRow("Windows, installed") << true << true << false << true << "/docs"
                                        << "/docs/ならびん";
    // Not the drive's root ("/ならびん"): the program's own folder of the user's data.
    QTest::newRow("Windows, installed, no Documents") << true << true << false << true << ""
                                                      << "/data";
    QTest::newRow("Windows, portable") << true << false << false << true << "/docs"
                                       << "/prog";
    // Even when it could not write there: the copy shows where it was put.
    QTest::newRow("Windows, portable on a locked medium") << true << false << false << false << "/docs"
                                                          << "/prog";
    QTest::newRow("Linux, build tree") << false << false << false << true << "/docs"
                                       << "/prog";
    QTest::newRow("Linux, installed") << false << false << true << true << "/docs"
                                      << "/data";
    QTest::newRow("Linux, unwritable copy") << false << false << false << false << "/docs"
                                            << "/data";
}

void TestDecisions::workingFolder()
{
    QFETCH(bool, windows);
    QFETCH(bool, marker);
    QFETCH(bool, installedLayout);
    QFETCH(bool, writable);
    QFETCH(QString, documents);
    QFETCH(QString, folder);
    WorkingFolderFacts facts{windows,   QStringLiteral("/prog"), marker, installedLayout, writable,
                             documents, QStringLiteral("/data")};
    QCOMPARE(workingFolderFor(facts), folder);
}

// Windows keeps its own words; elsewhere they speak of what a Linux desktop has.
void TestDecisions::wordsOfEachSystem_data()
{
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("expected");
    const auto line = [](const MessageText &m) { return messageLine(m); };
    QTest::newRow("mail, Windows") << line(linkProgramMissingMessage(LinkProgram::Mail, true))
                                   << "OE ｲﾝｽﾄｰﾙ 確認|「Outlook Express」 が ｲﾝｽﾄｰﾙ されていません。|48";
    QTest::newRow("browser, Windows") << line(linkProgramMissingMessage(LinkProgram::Browser, true))
                                      << "IE ｲﾝｽﾄｰﾙ 確認|「Internet Explorer」 が ｲﾝｽﾄｰﾙ されていません。|48";
    QTest::newRow("mail, Linux") << line(linkProgramMissingMessage(LinkProgram::Mail, false))
                                 << "メールソフト ｲﾝｽﾄｰﾙ 確認|「メールソフト」 が ｲﾝｽﾄｰﾙ されていません。|48";
    QTest::newRow("browser, Linux") << line(linkProgramMissingMessage(LinkProgram::Browser, false))
                                    << "Webブラウザ ｲﾝｽﾄｰﾙ 確認|「Webブラウザ」 が ｲﾝｽﾄｰﾙ されていません。|48";
    QTest::newRow("backup prepared, Windows")
        << line(backupPrepareQuestion(BackupTarget::FloppyDrive, QStringLiteral("名簿"), 2))
        << "ﾊﾞｯｸｱｯﾌﾟ準備|フォルダー「名簿」の名簿 2 件をバックアップします。\r"
           "データのバックアップをとる場合はドライブＡに\rフロッピーディスクをセットして下さい。|33";
    QTest::newRow("no disk, Windows") << line(backupMissingQuestion(BackupTarget::FloppyDrive))
                                      << "ﾊﾞｯｸｱｯﾌﾟ準備|ドライブＡにフロッピーディスクがセットされていません。\r"
                                         "処理を続ける場合はフロッピーディスクをセットして下さい。|33";
    QTest::newRow("backup done, Windows")
        << line(backupDoneMessage({QStringLiteral("名簿"), QStringLiteral("A:"), 2, 2, {}, false}))
        << "終了確認|バックアップを終了しました。\rフォルダー「名簿」の名簿 2 件を「A:」にコピーしました。|64";
}

void TestDecisions::wordsOfEachSystem()
{
    QFETCH(QString, shown);
    QFETCH(QString, expected);
    QCOMPARE(shown, expected);
}

void TestDecisions::namesAMediumRefuses_data()
{
    QTest::addColumn<QByteArray>("fileSystem");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QStringList>("refused");
    const QString same = QStringLiteral("大文字と小文字の違いしかないため、同じ名前になります。");
    QTest::newRow("vfat") << QByteArray("vfat")
                          << QStringList{"a.mem", "x:y.mem", "b.mem",    "A.MEM",       "c.mem.",
                                         "B.mem", "a.Mem",   "com¹.mem", "Conout$.mem", "lpt9.mem"}
                          << QStringList{"x:y.mem ファイル名に使えない文字（\\ / : * ? \" < > |）が含まれています。",
                                         "c.mem. ファイル名の終わりに「.」や空白は使えません。",
                                         "com¹.mem 「com¹」は機器の名前なので、ファイル名に使えません。",
                                         "Conout$.mem 「Conout$」は機器の名前なので、ファイル名に使えません。",
                                         "lpt9.mem 「lpt9」は機器の名前なので、ファイル名に使えません。",
                                         "A.MEM a.Mem a.mem " + same,
                                         "B.mem b.mem " + same};
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
    const auto taken = [](bool removable, bool fixed, bool onUsb, bool system) {
        return backupDriveOfWindows({removable, fixed, onUsb, system});
    };
    QVERIFY(taken(true, false, false, false));  // a stick that says it is removable
    QVERIFY(taken(false, true, true, false));   // a stick or disk on USB that says it is fixed
    QVERIFY(!taken(false, true, false, false)); // the computer's own second disk
    QVERIFY(!taken(false, true, true, true));   // Windows started from a USB disk
    QVERIFY(!taken(false, false, true, false)); // a network or optical drive
}

QTEST_MAIN(TestDecisions)
#include "tst_decisions.moc"
