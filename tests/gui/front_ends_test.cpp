// One case, three ways in: the command line, the desktop program's File > Open Case followed by
// Continue, and the same entries typed into the pages. All three must end with the same figures
// and verdicts, or with the same refusal. A row is a case file: every example, and each file
// named in kCases (tests/gui/cases); a case named "refused-..." must be refused.

#include "CaseFile.h"
#include "CaseReplay.h"
#include "GuiHarness.h"
#include "TypedCase.h"
#include "Verdict.h"
#include "shell/CaseFileActions.h"

#include "engine/Format.h"

#include <nlohmann/json.hpp>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTest>

namespace {

// The cases beyond the examples, one file of tests/gui/cases per row.
const char* const kCases[] = {
    "refused-apr-key.json",
    "refused-single-payment-dates.json",
    "refused-calendar-switch.json",
    "permanent-stream-dates.json",
    "construction-days-over-a-year.json",
    "single-payment-days-no-tolerance.json",
    "apr-adjustment-under-a-dollar.json",
    "refused-payments-cell.json",
    "refused-payment-date.json",
    "refused-simple-rate.json",
    "changed-loan-date.json",
    "answered-apr-question.json",
};

// How a front end ended: with the results page's figures and verdicts, or with a refusal.
struct Ending {
    QString refusal;
    QString page;               // the page left shown by a refusal (the desktop program only)
    bool notEnterable = false;  // typed: the pages offer no way to make an entry of the case
    QStringList figures;        // calculated APR, amount financed, finance charge, total of payments
    QList<bool> violations;     // APR understated, APR overstated, FC understated, FC overstated
    QStringList verdicts;       // the APR note and the finance charge note
    QStringList information;    // information messages, in order
    // Open Case only: the figures of the case saved from the pages, and those shown after going
    // back to the first page of the loan's terms and on again.
    QStringList saved;
    QStringList again;
};

QString Percent(double value) { return QString::fromStdString(tallex::Format(value / 100, "###0.0000 %")); }
QString Money(double value) { return QString::fromStdString(tallex::Format(value, "Currency")); }

bool ReadCase(const QString& path, tallex::casefile::CaseFile& c) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray text = file.readAll();
    return !tallex::casefile::ParseCase(std::string_view(text.constData(), static_cast<std::size_t>(text.size())), c);
}

Ending CommandLine(const tallex::casefile::CaseFile& c) {
    Ending e;
    tallex::casefile::CaseOutcome outcome;
    if (const auto error = tallex::casefile::RunCase(c, outcome)) {
        e.refusal = QString::fromStdString(error->message);
        return e;
    }
    const nlohmann::json v = nlohmann::json::parse(tallex::cli::VerdictJson(outcome));
    e.figures = {Percent(v["calc_apr"]), Money(v["amount_financed"]), Money(v["finance_charge"]),
                 Money(v["total_of_payments"])};
    e.violations = {v["apr_understated_violation"].get<bool>(), v["apr_overstated_violation"].get<bool>(),
                    v["fc_understated_violation"].get<bool>(), v["fc_overstated_violation"].get<bool>()};
    e.verdicts = {QString::fromStdString(v["apr_note"].get<std::string>()),
                  QString::fromStdString(v["fc_note"].get<std::string>())};
    if (v.contains("notes"))
        for (const auto& note : v["notes"]) {
            const std::string text = note.get<std::string>();
            // Notes of the reimbursement step: the comparison ends on the results page.
            if (text.rfind("reimbursement.", 0) == 0) continue;
            e.information << QString::fromStdString(text);
        }
    return e;
}

QString Shown(GuiHarness& h, const char* name) {
    const QLabel* label = h.control<QLabel>(name);
    return label && label->isVisible() ? label->text() : QString();
}

// A verdict note as the results page shows it: the caption, then its amount.
QString Verdict(GuiHarness& h, const char* caption, const char* amount) {
    QString text = Shown(h, caption);
    if (!text.isEmpty() && !Shown(h, amount).isEmpty()) text += QLatin1Char(' ') + Shown(h, amount);
    return text;
}

// What the scripted user was shown: the first refusal and the information messages.
void Prompts(GuiHarness& h, Ending& e) {
    for (const tallex::Prompt& p : h.user().prompts()) {
        if (p.style == tallex::kStyleInformation) e.information << QString::fromStdString(p.text);
        if (p.style == tallex::kStyleExclamation && e.refusal.isEmpty()) e.refusal = QString::fromStdString(p.text);
    }
    if (!e.refusal.isEmpty()) e.page = h.pageName();
}

void Results(GuiHarness& h, Ending& e) {
    const tallex::LoanRecord& r = h.record();
    e.figures = {Shown(h, "lblAPR"), Shown(h, "lblAmount"), Shown(h, "lblFinanceChg"), Shown(h, "lblTotPymts")};
    e.violations = {r.gbAPRUnderViol, r.gbAPROverViol, r.gbFCUnderViol, r.gbFCOverViol};
    e.verdicts = {Verdict(h, "lblAPRViolation", "lblAPRViolAmt"),
                  Verdict(h, "lblFinanceViolation", "lblFinanceViolAmt")};
}

bool OnResults(GuiHarness& h) {
    return h.pageName() == QLatin1String("FrmDisclosure") || h.pageName() == QLatin1String("frmRecDiscl");
}

// From the results back to the page of the disclosed APR and on again, as a user checks an entry.
QStringList Revisited(GuiHarness& h) {
    for (int i = 0;
         i < 3 && h.pageName() != QLatin1String("frmAPR1") && h.pageName() != QLatin1String("frmConstInterest"); ++i)
        if (!h.click("cmdBack")) break;
    for (int i = 0; i < 3 && !OnResults(h); ++i)
        if (!h.click("cmdContinue") && !h.click("CmdContinue")) break;
    Ending e;
    if (OnResults(h)) Results(h, e);
    return e.figures;
}

Ending Opened(const QString& path, const tallex::casefile::CaseFile& c) {
    GuiHarness h;
    AnswerFromCase(h, c);
    h.outputs().queueFileName(path);
    h.window().findChild<QAction*>(QStringLiteral("mnuOpenCase"))->trigger();
    h.settle();
    // Open Case stops before the results; Continue is the user's.
    Ending e;
    if (h.user().prompts().empty() || h.user().prompts().back().style != tallex::kStyleExclamation) {
        if (!h.click("cmdContinue") || !OnResults(h))
            e.page = QStringLiteral("no results page: ") + h.pageName();
        else
            Results(h, e);
    }
    Prompts(h, e);
    if (e.figures.isEmpty()) return e;
    const CaseFileActions::Snapshot snapshot = h.window().caseFiles().currentCase();
    if (snapshot.caseFile) e.saved = CommandLine(*snapshot.caseFile).figures;
    e.again = Revisited(h);
    return e;
}

Ending Typed(const tallex::casefile::CaseFile& c) {
    GuiHarness h;
    AnswerFromCase(h, c);
    const TypedCase typed = TypeCase(h, c);
    Ending e;
    e.notEnterable = typed.notEnterable;
    if (typed.results)
        Results(h, e);
    else if (typed.refusal.isEmpty() && !typed.notEnterable)
        e.page = QStringLiteral("no results page: ") + h.pageName();
    Prompts(h, e);
    return e;
}

}  // namespace

class FrontEndsTest : public QObject {
    Q_OBJECT
private slots:
    void command_line_open_case_and_typing_agree_data();
    void command_line_open_case_and_typing_agree();
};

void FrontEndsTest::command_line_open_case_and_typing_agree_data() {
    QTest::addColumn<QString>("path");
    const QDir examples(QFINDTESTDATA("../../examples"));
    const QStringList names = examples.entryList({QStringLiteral("*.json")}, QDir::Files, QDir::Name);
    QVERIFY(names.size() >= 5);
    for (const QString& name : names) QTest::newRow(qPrintable(name)) << examples.filePath(name);
    for (const char* name : kCases)
        QTest::newRow(name) << QFINDTESTDATA(QStringLiteral("cases/") + QString::fromLatin1(name));
}

void FrontEndsTest::command_line_open_case_and_typing_agree() {
    QFETCH(QString, path);
    tallex::casefile::CaseFile c;
    QVERIFY2(ReadCase(path, c), qPrintable(path));
    const Ending line = CommandLine(c);
    const bool refusedCase = QFileInfo(path).fileName().startsWith(QStringLiteral("refused-"));
    QVERIFY2(line.refusal.isEmpty() != refusedCase, qPrintable(line.refusal));

    const Ending opened = Opened(path, c);
    const Ending typed = Typed(c);
    QCOMPARE(opened.refusal, line.refusal);
    if (typed.notEnterable) {
        // Nobody can type such a case; both replays must refuse it.
        QVERIFY2(refusedCase, "a case the pages cannot take was not refused");
        return;
    }
    QCOMPARE(typed.refusal, line.refusal);
    QCOMPARE(opened.page, typed.page);
    QCOMPARE(opened.information, line.information);
    QCOMPARE(typed.information, line.information);
    if (refusedCase) return;
    QVERIFY(!line.figures.isEmpty());
    QCOMPARE(opened.figures, line.figures);
    QCOMPARE(opened.saved, line.figures);
    QCOMPARE(opened.again, line.figures);
    QCOMPARE(typed.figures, line.figures);
    QCOMPARE(opened.violations, line.violations);
    QCOMPARE(typed.violations, line.violations);
    QCOMPARE(opened.verdicts, line.verdicts);
    QCOMPARE(typed.verdicts, line.verdicts);
}

QTEST_MAIN(FrontEndsTest)
#include "front_ends_test.moc"
