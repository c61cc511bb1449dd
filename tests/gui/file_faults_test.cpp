// The desktop program's files when the disk fails it or a file is damaged: APR.INI and the case
// file written onto a full disk (or into a read-only folder) leave the earlier file whole, with
// nothing half-written beside it, and the case says so with the run-time's message; a damaged
// or wrongly typed case file is refused with a message and nothing is discarded. (The report on
// a full disk, and how a damaged APR.INI reads, are the command line's and the core's.)

#include "../cli/file_faults_disk.h"

#include "GuiHarness.h"
#include "TypedLoan.h"
#include "shell/CaseFileActions.h"
#include "shell/SettingsStore.h"

#include <QAction>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

using tallex::faults::SmallDisk;

class FileFaultsTest : public QObject {
    Q_OBJECT
private slots:
    void exit_on_a_full_disk_keeps_the_earlier_settings_file();
    void case_file_on_a_full_disk_keeps_the_earlier_one();
    void damaged_case_file_is_refused_data();
    void damaged_case_file_is_refused();
};

namespace {

QString Path(const SmallDisk& disk, const char* name) { return QString::fromStdString(disk.path(name)); }

QStringList Files(const SmallDisk& disk) {
    QStringList names;
    for (const std::string& name : disk.files()) names << QString::fromStdString(name);
    return names;
}

}  // namespace

void FileFaultsTest::exit_on_a_full_disk_keeps_the_earlier_settings_file() {
    SmallDisk disk;
    if (!disk.canFail()) QSKIP("neither a mount nor a read-only folder stops a write here");
    const QByteArray earlier = "[Options]\nStartup Intro=No\n[TALLEX]\nUserName=Jane Examiner\n";
    {
        QFile file(Path(disk, "APR.INI"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(earlier);
    }
    tallex::ScriptedUser user;
    MainWindow window(user, SettingsStore(Path(disk, "APR.INI"), SettingsStore::Location::Explicit));
    window.start();
    QApplication::processEvents();
    auto* name = window.findChild<QLineEdit*>(QStringLiteral("txtUserName"));
    QCOMPARE(name->text(), QStringLiteral("Jane Examiner"));
    name->setText(QStringLiteral("Pat Examiner, whose name does not fit on a full disk"));

    disk.fill();
    window.findChild<QAction*>(QStringLiteral("mnuExit"))->trigger();
    QApplication::processEvents();
    // The program ends as Exit says, asking nothing; the settings stay as they were.
    QVERIFY(!window.isVisible());
    QCOMPARE(user.prompts().size(), std::size_t{0});
    QCOMPARE(ReadAll(Path(disk, "APR.INI")), earlier);
    QCOMPARE(Files(disk), QStringList{"APR.INI"});
}

void FileFaultsTest::case_file_on_a_full_disk_keeps_the_earlier_one() {
    SmallDisk disk;
    if (!disk.canFail()) QSKIP("neither a mount nor a read-only folder stops a write here");
    const QString path = Path(disk, "review.json");
    GuiHarness h;
    QVERIFY2(TypeLoan(h, ThirtySixPaymentsOf330(QStringLiteral("10"), QStringLiteral("1880"))),
             PromptsText(h.prompts()));
    h.outputs().queueFileName(path);
    h.trigger("mnuSaveCaseAs");
    const QByteArray earlier = ReadAll(path);
    QVERIFY(earlier.contains("\"amount_financed\": \"10000\""));

    disk.fill();
    h.outputs().queueFileName(path);
    h.trigger("mnuSaveCaseAs");
    QCOMPARE(h.prompts(), QStringList{QStringLiteral("Unable to save case file.  Error # %1 - %2")
                                          .arg(disk.expectedErrorNumber())
                                          .arg(QString::fromStdString(disk.expectedErrorDescription()))});
    QCOMPARE(h.user().prompts()[0].style, short(16));
    QCOMPARE(ReadAll(path), earlier);
    QCOMPARE(Files(disk), QStringList{"review.json"});
}

void FileFaultsTest::damaged_case_file_is_refused_data() {
    QTest::addColumn<int>("keep");  // bytes of the good file kept; -1: the text below instead
    QTest::addColumn<QByteArray>("damage");
    QTest::addColumn<QString>("reason");  // how the message goes on
    const QString malformed = QStringLiteral("(file): malformed JSON: ");
    QTest::newRow("empty") << 0 << QByteArray() << malformed;
    QTest::newRow("cut after the first key") << 20 << QByteArray() << malformed;
    QTest::newRow("cut in the middle") << 200 << QByteArray() << malformed;
    QTest::newRow("cut before the last brace") << -2 << QByteArray() << malformed;
    QTest::newRow("a NUL byte") << -1 << QByteArray("{\"kind\":\"regu\0lar\"}", 19) << malformed;
    QTest::newRow("not UTF-8") << -1 << QByteArray("{\"kind\":\"\xff\xfe\"}") << malformed;
    QTest::newRow("not JSON") << -1 << QByteArray("APR.INI") << malformed;
    QTest::newRow("wrong type") << -1 << QByteArray(R"({"kind": "regular", "schedule": 5})")
                                << QStringLiteral("schedule: ");
}

void FileFaultsTest::damaged_case_file_is_refused() {
    QFETCH(int, keep);
    QFETCH(QByteArray, damage);
    QFETCH(QString, reason);
    const QByteArray good = ReadAll(QFINDTESTDATA("../../examples/regular-monthly.json"));
    QVERIFY(good.size() > 200);
    QByteArray text = damage;
    if (keep >= 0) text = good.left(keep);
    if (keep == -2) text = good.left(good.lastIndexOf('}'));
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("damaged.json"));
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    GuiHarness h;
    h.type("txtBorrower", QStringLiteral("Kept Borrower"));
    h.outputs().queueFileName(path);
    h.trigger("mnuOpenCase");
    QCOMPARE(h.prompts().size(), 1);
    const QString expected = "The case file " + path + " cannot be read: " + reason;
    QVERIFY2(h.prompts()[0].startsWith(expected), qPrintable(h.prompts()[0]));
    // Nothing was discarded.
    QCOMPARE(h.pageName(), QStringLiteral("frmBasicInfo"));
    QCOMPARE(h.text("txtBorrower"), QStringLiteral("Kept Borrower"));
    QVERIFY(h.window().caseFiles().fileName().isEmpty());
}

QTEST_MAIN(FileFaultsTest)
#include "file_faults_test.moc"
