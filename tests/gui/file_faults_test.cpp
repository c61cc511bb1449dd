// The desktop program's files when the disk fails it or a file is damaged: APR.INI, the case
// file and the saved report written onto a full disk (or into a read-only folder) leave the
// earlier file whole, with nothing half-written beside it, and the case and the report say so
// with the run-time's message; a damaged case file is refused with a message, and nothing
// crashes. (How a damaged APR.INI reads is the core's.)

#include "../cli/file_faults_disk.h"

#include "GuiHarness.h"
#include "TypedLoan.h"
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
    void report_on_a_full_disk_keeps_the_earlier_one();
    void damaged_case_file_is_refused_data();
    void damaged_case_file_is_refused();
};

namespace {

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString Path(const SmallDisk& disk, const char* name) { return QString::fromStdString(disk.path(name)); }

QStringList Files(const SmallDisk& disk) {
    QStringList names;
    for (const std::string& name : disk.files()) names << QString::fromStdString(name);
    return names;
}

QString FailureMessage(const char* start, const SmallDisk& disk) {
    return QStringLiteral("%1  Error # %2 - %3")
        .arg(QString::fromLatin1(start))
        .arg(disk.expectedErrorNumber())
        .arg(QString::fromStdString(disk.expectedErrorDescription()));
}

void Trigger(GuiHarness& h, const char* action) {
    h.window().findChild<QAction*>(QString::fromLatin1(action))->trigger();
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
    ScriptedModalRunner dialogs;
    ScriptedOutputChooser outputs;
    MainWindow window(user, SettingsStore(Path(disk, "APR.INI"), SettingsStore::Location::Explicit));
    window.setModalRunner(dialogs);
    window.setOutputChooser(outputs);
    window.start();
    QApplication::processEvents();
    auto* name = window.findChild<QLineEdit*>(QStringLiteral("txtUserName"));
    QVERIFY(name);
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
    Trigger(h, "mnuSaveCaseAs");
    QVERIFY2(h.prompts().isEmpty(), PromptsText(h.prompts()));  // confirmed in the status bar
    const QByteArray earlier = ReadAll(path);
    QVERIFY(earlier.contains("\"amount_financed\": \"10000\""));

    disk.fill();
    h.forgetPrompts();
    h.outputs().queueFileName(path);
    Trigger(h, "mnuSaveCaseAs");
    QCOMPARE(h.prompts(), QStringList{FailureMessage("Unable to save case file.", disk)});
    QCOMPARE(h.user().prompts()[0].style, short(16));
    QCOMPARE(ReadAll(path), earlier);
    QCOMPARE(Files(disk), QStringList{"review.json"});
}

void FileFaultsTest::report_on_a_full_disk_keeps_the_earlier_one() {
    SmallDisk disk;
    if (!disk.canFail()) QSKIP("neither a mount nor a read-only folder stops a write here");
    const QString path = Path(disk, "report.txt");
    GuiHarness h;
    QVERIFY2(TypeLoan(h, ThirtySixPaymentsOf330(QStringLiteral("10"), QStringLiteral("1880"))),
             PromptsText(h.prompts()));
    h.outputs().queueFileName(path);
    QVERIFY(h.click("cmdSaveReport"));
    QCOMPARE(h.prompts(), QStringList{"Report has been saved in " + path + "."});
    const QByteArray earlier = ReadAll(path);
    QVERIFY(earlier.contains("APR Disclosure Documentation"));

    disk.fill();
    h.forgetPrompts();
    h.outputs().queueFileName(path);
    Trigger(h, "mnuSaveReport");
    QCOMPARE(h.prompts(), QStringList{FailureMessage("Unable to print report to file.", disk)});
    QCOMPARE(h.user().prompts()[0].style, short(16));
    QCOMPARE(ReadAll(path), earlier);
    QCOMPARE(Files(disk), QStringList{"report.txt"});
}

void FileFaultsTest::damaged_case_file_is_refused_data() {
    QTest::addColumn<int>("keep");  // bytes of the good file kept; -1: the damage below instead
    QTest::addColumn<QByteArray>("damage");
    QTest::newRow("empty") << 0 << QByteArray();
    QTest::newRow("cut after the first key") << 20 << QByteArray();
    QTest::newRow("cut in the middle") << 200 << QByteArray();
    QTest::newRow("cut before the last brace") << -2 << QByteArray();
    QTest::newRow("a NUL byte") << -1 << QByteArray("{\"kind\":\"regu\0lar\"}", 19);
    QTest::newRow("not UTF-8") << -1 << QByteArray("{\"kind\":\"\xff\xfe\"}");
}

void FileFaultsTest::damaged_case_file_is_refused() {
    QFETCH(int, keep);
    QFETCH(QByteArray, damage);
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
    h.outputs().queueFileName(path);
    Trigger(h, "mnuOpenCase");
    QCOMPARE(h.prompts().size(), 1);
    const QString expected = "The case file " + path + " cannot be read: (file): malformed JSON: ";
    QVERIFY2(h.prompts()[0].startsWith(expected), qPrintable(h.prompts()[0]));
    QCOMPARE(h.pageName(), QStringLiteral("frmBasicInfo"));
    QCOMPARE(h.record().gdAmount, 0.0);
}

QTEST_MAIN(FileFaultsTest)
#include "file_faults_test.moc"
