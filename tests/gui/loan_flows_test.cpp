// One flow per loan kind, typed as a user types it from the first page: a regular monthly loan
// with the calendar's odd days and Back and Continue keeping every entry; a loan with an advance
// through to the pictures of its results, printed with them or without; a construction loan
// alone, and one with permanent financing through its two calendars; and reimbursement, printed
// and saved, against the command line, and the offer to save the case changed since. The
// tolerance scales of the results place the computed figures against their bands, and the
// positive verdict shows only when no note does.
//
// The timeline's expected places are worked out here from calendar dates: a payment date lies
// whole months after the loan date plus the days left over (counted back from the payment date),
// a unit period being a month of 30 days. The correct APR of 36 x 330 on 10,000 is 11.5504 % and
// its finance charge 1,880.00 (see TypedLoan.h).

#include "CaseCommands.h"
#include "TypedLoan.h"
#include "widgets/PaymentTimeline.h"
#include "widgets/ScheduleGrid.h"
#include "widgets/ToleranceBand.h"

#include <QDate>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QRadioButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include <sstream>

namespace {

// Types into each box of the page shown, then leaves the last.
void TypeTerms(GuiHarness& h, std::initializer_list<std::pair<const char*, const char*>> boxes) {
    for (const auto& [box, text] : boxes) h.type(box, QString::fromLatin1(text));
    h.tab();
}

// A construction loan of 100,000.00 with 1,000.00 prepaid and 500.00 paid later, typed on the
// first two pages as far as the construction phase page.
bool ConstructionTerms(GuiHarness& h, const char* rate, const char* disclosure, const char* interestOn) {
    if (!h.choose("optType_1") || !h.click("CmdContinue")) return false;
    TypeTerms(h,
              {{"txtLoanAmt", "100000"}, {"txtSimpleInt", rate}, {"txtPrepdFinChg", "1000"}, {"txtSubFinChg", "500"}});
    return h.choose(disclosure) && h.choose(interestOn) && h.click("cmdContinue");
}

// Unit periods (months of 30 days) from the loan date to a date.
double MonthsFrom(const QDate& loan, const QDate& date) {
    int months = 0;
    while (date.addMonths(-(months + 1)) >= loan) ++months;
    return months + loan.daysTo(date.addMonths(-months)) / 30.0;
}

struct DatedStream {
    QString amount;
    int payments;
    QDate first;  // monthly from here
};

const QDate kLoanDate(2026, 1, 20);
// An advance, 35 monthly payments and a final one, all 15 days off the month.
const DatedStream kStreams[] = {{QStringLiteral("-1000"), 1, QDate(2026, 4, 4)},
                                {QStringLiteral("200"), 35, QDate(2026, 3, 4)},
                                {QStringLiteral("205"), 1, QDate(2029, 2, 4)}};

// The streams typed as whole months and odd days after the loan date: 2026-04-04, 2026-03-04 and
// 2029-02-04 are 2, 1 and 36 months and 15 days after 2026-01-20.
TypedLoan ThreeStreamLoan() {
    TypedLoan loan;
    loan.amountFinanced = QStringLiteral("5000");
    loan.disclosedApr = QStringLiteral("12");
    loan.disclosedFinanceCharge = QStringLiteral("1205");
    loan.schedule = QStringList{"-1000", "1", "2", "15", "200", "35", "1", "15", "205", "1", "36", "15"};
    return loan;
}

template <class Picture>
Picture* ShowTab(GuiHarness& h, const char* name) {
    auto* picture = h.control<Picture>(name);
    if (auto* tabs = h.control<QTabWidget>("tabPictures"); tabs && picture) tabs->setCurrentWidget(picture);
    h.settle();
    return picture;
}

}  // namespace

class LoanFlowsTest : public QObject {
    Q_OBJECT
private slots:
    void monthly_loan_with_three_streams_and_a_calendar();
    void advance_loan_drawn_on_its_timeline_and_printed_with_it_when_ticked();
    void tolerance_scales_and_positive_verdict_data();
    void tolerance_scales_and_positive_verdict();
    void construction_only_with_an_estimate_of_its_interest();
    void construction_and_permanent_through_the_calendars_and_the_schedule();
    void reimbursement_printed_and_saved_as_the_command_line_has_it();
};

// 6000 financed, repaid by 12 x 250.00, 12 x 300.00 and one 1000.00; the loan is dated
// 01-15-2026 and the first payment falls on 02-20-2026, one month and 5 odd days later (taken
// from the calendar); the later streams follow on. The APR solving
//   6000 = sum P / ((1 + 5/30 i)(1 + i)^t)  over every payment, APR = 1200 i,
// found by bisection to 40 digits outside the program, is 19.99240 %.
void LoanFlowsTest::monthly_loan_with_three_streams_and_a_calendar() {
    GuiHarness h;
    TypedLoan loan;
    loan.amountFinanced = QStringLiteral("6000");
    loan.disclosedApr = QStringLiteral("19.5");
    loan.disclosedFinanceCharge = QStringLiteral("1600");
    QVERIFY(!TypeLoan(h, loan));  // stops on the empty schedule
    QCOMPARE(h.pageName(), QStringLiteral("frmPymt"));
    h.forgetPrompts();
    h.typeCells({"250", "12"});
    QVERIFY(h.withDialog("cmdFedCal", [](QDialog& calendar) {
        GuiHarness::fillCalendar(calendar, {{"mskStartDate", "01152026"}, {"mskEndDate", "02202026"}});
    }));
    QCOMPARE(h.cell(0, 3), QStringLiteral("1"));
    QCOMPARE(h.cell(0, 4), QStringLiteral("5"));
    QCOMPARE(h.grid()->currentColumn(), 4);
    h.tab();
    h.typeCells({"300", "12", "", "", "1000", "1"});
    QVERIFY(h.click("cmdContinue"));
    QVERIFY2(h.pageName() == QStringLiteral("FrmDisclosure"), PromptsText(h.prompts()));
    QCOMPARE(h.text("lblAPR"), QStringLiteral("19.9924 %"));
    QVERIFY2(h.prompts().isEmpty(), PromptsText(h.prompts()));

    // Back to the first page and forward again: every entry is kept, and the APR with it.
    for (const char* back : {"cmdBack", "cmdBack", "CmdBack"}) QVERIFY(h.click(back));
    QCOMPARE(h.text("txtBorrower"), QStringLiteral("Lee Borrower"));
    for (const char* next : {"CmdContinue", "CmdContinue", "cmdContinue"}) QVERIFY(h.click(next));
    QCOMPARE(h.text("lblAPR"), QStringLiteral("19.9924 %"));
}

// The loan with an advance typed through to its results: 5000 + 1000 v(2.5) = sum of the payments'
// v(t), v(t) = 1 / ((1 + i/2)(1 + i)^(t - 1/2)), APR = 1200 i, found by bisection outside the
// program: 12.22654 %.
void LoanFlowsTest::advance_loan_drawn_on_its_timeline_and_printed_with_it_when_ticked() {
    GuiHarness h;
    QVERIFY2(TypeLoan(h, ThreeStreamLoan()), PromptsText(h.prompts()));
    QCOMPARE(h.text("lblAPR"), QStringLiteral("12.2265 %"));
    auto* timeline = ShowTab<PaymentTimeline>(h, "picTimeline");
    QVERIFY(timeline);
    double latest = 0;
    for (const DatedStream& s : kStreams)
        latest = std::max(latest, MonthsFrom(kLoanDate, s.first.addMonths(s.payments - 1)));
    // At the page's own size and in a larger window: the picture follows.
    for (const QSize size : {h.window().size(), QSize(1100, 760)}) {
        h.window().resize(size);
        h.settle();
        const PaymentTimeline::Layout layout = timeline->layout();
        const std::vector<tallex::TimelineStream>& streams = timeline->timeline().streams;
        QCOMPARE(streams.size(), std::size(kStreams));
        for (const DatedStream& s : kStreams) {
            const auto found = std::find_if(streams.begin(), streams.end(), [&](const tallex::TimelineStream& k) {
                return k.amount == s.amount.toDouble();
            });
            QVERIFY2(found != streams.end(), qPrintable(s.amount));
            const std::vector<QRectF>& marks = layout.marks[static_cast<std::size_t>(found - streams.begin())];
            QCOMPARE(marks.size(), std::size_t(s.payments));
            for (int j : {0, s.payments - 1}) {
                const QRectF& mark = marks[std::size_t(j)];
                const double x =
                    layout.plot.left() + MonthsFrom(kLoanDate, s.first.addMonths(j)) / latest * layout.plot.width();
                QVERIFY2(std::abs(mark.center().x() - x) < 0.5, qPrintable(s.amount + " #" + QString::number(j + 1)));
                // Advances below the axis, payments above it.
                QVERIFY(s.amount.startsWith(QLatin1Char('-')) ? mark.top() > layout.axisY
                                                              : mark.bottom() < layout.axisY);
            }
        }
        QVERIFY(layout.advanceAtLoanDate.top() > layout.axisY);
        QVERIFY(timeline->rect().contains(layout.plot.toRect()));
    }
    QVERIFY(timeline->accessibleDescription().contains(QStringLiteral("15 odd days")));

    // Each printed copy is the report as it was, then, when ticked, one page of pictures.
    QTemporaryDir folder;
    const QString plain = folder.filePath(QStringLiteral("plain.pdf"));
    const QString pictures = folder.filePath(QStringLiteral("pictures.pdf"));
    h.outputs().queuePrintToPdf(plain, 1);
    QVERIFY(h.click("cmdPrint"));
    h.outputs().queuePrintToPdf(pictures, 2, true);
    QVERIFY(h.click("cmdPrint"));
    const QString report = PdfText(plain);
    const QString withPictures = PdfText(pictures);
    QVERIFY(!report.isEmpty() && !report.contains(QStringLiteral("Payment timeline")));
    QCOMPARE(withPictures.count(QStringLiteral("Payment timeline")), 2);
    QVERIFY(withPictures.startsWith(report));
    QCOMPARE(withPictures.count(QLatin1Char('\f')), 2 * (report.count(QLatin1Char('\f')) + 1));
}

void LoanFlowsTest::tolerance_scales_and_positive_verdict_data() {
    QTest::addColumn<QStringList>("disclosed");  // APR, finance charge
    QTest::addColumn<bool>("secured");
    QTest::addColumn<bool>("aprOutside");
    QTest::addColumn<bool>("financeChargeOutside");
    QTest::addColumn<bool>("positive");
    QTest::newRow("accurate") << QStringList{"11.55", "1880"} << false << false << false << true;
    // 1.5504 points over the 1/8.
    QTest::newRow("APR understated") << QStringList{"10", "1880"} << false << true << false << false;
    // $80.00 under a $10.00 tolerance; the APR is right.
    QTest::newRow("finance charge understated") << QStringList{"11.55", "1800"} << false << false << true << false;
    // Secured, $80.00 under the $100.00 and the APR error caused by it (Yes): no violation, but
    // the note shows, and the APR lies outside its band.
    QTest::newRow("note, no violation") << QStringList{"11", "1800"} << true << true << false << false;
}

void LoanFlowsTest::tolerance_scales_and_positive_verdict() {
    QFETCH(QStringList, disclosed);
    QFETCH(bool, secured);
    QFETCH(bool, aprOutside);
    QFETCH(bool, financeChargeOutside);
    QFETCH(bool, positive);
    GuiHarness h;
    TypedLoan loan = ThirtySixPaymentsOf330(disclosed[0], disclosed[1]);
    loan.secured = secured;
    h.answerNext(tallex::kAnswerYesButton);
    QVERIFY2(TypeLoan(h, loan), PromptsText(h.prompts()));
    auto* band = ShowTab<ToleranceBand>(h, "picToleranceBand");
    QVERIFY(band);
    const auto outside = [band](ToleranceBand::Scale scale) {
        const ToleranceBand::Geometry g = band->geometry(scale);
        return g.computedX < g.band.left() || g.computedX > g.band.right();
    };
    QCOMPARE(outside(ToleranceBand::Scale::Apr), aprOutside);
    QCOMPARE(outside(ToleranceBand::Scale::FinanceCharge), financeChargeOutside);
    bool noteShown = false;
    for (const char* note : {"lblAPRViolation", "lblFinanceViolation", "lblFinanceError"})
        noteShown |= !h.control<QLabel>(note)->isHidden();
    QCOMPARE(!h.control<QLabel>("lblAccurate")->isHidden(), positive);
    QCOMPARE(noteShown, !positive);
}

// The loan of the hand-laid report e-construction-only: 100,000.00 at 10 % on the whole
// commitment for 18 months (360/360), the construction interest estimated at 4,500.00; its APR
// there is 7.9525 %.
void LoanFlowsTest::construction_only_with_an_estimate_of_its_interest() {
    GuiHarness h;
    QVERIFY(ConstructionTerms(h, "10", "optDiscType_0", "optInterestType_1"));
    QVERIFY(h.choose("optIntAccrl_0"));
    TypeTerms(h, {{"txtTimePeriod", "18"}});
    QVERIFY(h.click("cmdContinue"));
    TypeTerms(h, {{"txtAmtInt", "4500"}, {"txtDiscAPR", "10.5"}, {"txtFinChg", "6000"}});
    QVERIFY(h.click("cmdContinue"));
    QVERIFY2(h.pageName() == QStringLiteral("frmRecDiscl"), qPrintable(h.pageName() + PromptsText(h.prompts())));
    QCOMPARE(h.text("lblAPR"), QStringLiteral("7.9525 %"));
    QCOMPARE(h.text("lblAmount"), QStringLiteral("$99,000.00"));
}

// The construction loan's figures are worked by hand: commitment 100,000.00 at 9 % on advances, 365/360 over the 200
// days from 01-15-2026 to 08-03-2026: interest 0.09 x 50,000 / 360 x 200 = 2,500.00; amount financed for the solver
// 100,000 - 2,500 - 1,000 prepaid - 500 paid later = 96,000.00, shown on the results as 100,000 - 1,000.
void LoanFlowsTest::construction_and_permanent_through_the_calendars_and_the_schedule() {
    GuiHarness h;
    QVERIFY(ConstructionTerms(h, "9", "optDiscType_1", "optInterestType_0"));
    QVERIFY(h.choose("optIntAccrl_2"));
    QVERIFY(h.withDialog("cmdCalendar", [](QDialog& calendar) {
        GuiHarness::fillCalendar(calendar, {{"mskStartDate", "01152026"}, {"mskEndDate", "08032026"}});
    }));
    QCOMPARE(h.text("txtTimePeriod"), QStringLiteral("200"));
    QVERIFY(h.click("cmdContinue"));

    QCOMPARE(h.pageName(), QStringLiteral("frmConstInterest"));
    QCOMPARE(h.text("lblAmountIntInitialEstimate"), QStringLiteral("$2,500.00"));
    h.type("txtDiscAPR", QStringLiteral("8.25"));
    QVERIFY(h.click("cmdContinue"));
    QVERIFY2(h.pageName() == QStringLiteral("frmPymt"), PromptsText(h.prompts()));
    h.typeCells({"770", "360"});
    // Half the construction term (6 months 19 days = 199 days, half 100 days = 3 months 10
    // days) plus the permanent phase's month: 4 unit periods and 10 odd days.
    QVERIFY(h.withDialog("cmdFedCal", [](QDialog& calendar) {
        QCOMPARE(calendar.findChild<QLineEdit*>(QStringLiteral("mskLoanDate"))->text(), QStringLiteral("01-15-2026"));
        QCOMPARE(calendar.focusWidget()->objectName(), QStringLiteral("mskConstrEndDate"));
        GuiHarness::fillCalendar(calendar, {{"mskAmortPymtDate", "09032026"}});
    }));
    QCOMPARE(h.cell(0, 3), QStringLiteral("4"));
    QCOMPARE(h.cell(0, 4), QStringLiteral("10"));

    // Back from the schedule goes to the construction interest page, which kept its entries.
    QVERIFY(h.click("cmdBack"));
    QCOMPARE(h.pageName(), QStringLiteral("frmConstInterest"));
    QCOMPARE(h.text("txtDiscAPR"), QStringLiteral("8.25"));
    QVERIFY(h.click("cmdContinue"));
    QVERIFY(h.click("cmdContinue"));

    // 96,000 = 770 x annuity(360) x (1 + i) / ((1 + i)^4 (1 + 10/30 i)), APR = 1200 i, found by
    // bisection to 40 digits outside the program: 8.69814 %.
    QVERIFY2(h.pageName() == QStringLiteral("FrmDisclosure"), PromptsText(h.prompts()));
    QCOMPARE(h.text("lblAPR"), QStringLiteral("8.6981 %"));
    QCOMPARE(h.text("lblAmount"), QStringLiteral("$99,000.00"));
    QCOMPARE(h.text("lblSubFnceChg"), QStringLiteral("$500.00"));
}

// The loan of the hand-laid report b-apr-understatement, through reimbursement at the
// preselected .25 % with 12 prior payments: printed (a dialog cancelled, then by the menu), the
// case saved and the report saved as text and as PDF. The report is the hand-laid one, the PDF
// the printed pages, with the reimbursement on a page of its own, in a Courier face.
void LoanFlowsTest::reimbursement_printed_and_saved_as_the_command_line_has_it() {
    QTemporaryDir folder;
    const auto file = [&folder](const char* name) { return folder.filePath(QString::fromLatin1(name)); };
    GuiHarness h;
    TypedLoan loan = ThirtySixPaymentsOf330(QStringLiteral("10"), QStringLiteral("1880"));
    loan.preparer = QStringLiteral("Jane Examiner");
    loan.date = QStringLiteral("06-30-2026");
    loan.borrower = QStringLiteral("Rita Refund");
    loan.account = QStringLiteral("200-3001");
    loan.lender = QStringLiteral("Lakeside Savings");
    QVERIFY2(TypeLoan(h, loan) && h.click("cmdContinue"), PromptsText(h.prompts()));
    h.type("txtPriorPymts", QStringLiteral("12"));
    QVERIFY(h.click("cmdShowAdjustment"));
    QVERIFY(h.click("CmdPrint"));  // the print dialog cancelled
    h.outputs().queuePrintToPdf(file("printed.pdf"));
    h.trigger("mnuPrint");
    QVERIFY2(h.prompts().isEmpty(), PromptsText(h.prompts()));
    h.outputs().queueFileName(file("review.json"));
    h.trigger("mnuSaveCaseAs");
    h.outputs().queueFileName(file("saved.pdf"));
    h.trigger("mnuSaveReport");
    h.outputs().queueFileName(file("report.txt"));
    h.trigger("mnuSaveReport");
    QCOMPARE(h.prompts().last(), "Report has been saved in " + file("report.txt") + ".");
    QCOMPARE(ReadAll(file("report.txt")), ReadAll(QFINDTESTDATA("../golden/b-apr-understatement.expected.txt")));
    // Only the files asked for are written: no temporary file is left near them.
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files).size(), 4);
    const QString text = PdfText(file("printed.pdf"));
    QVERIFY2(text.contains(QStringLiteral("APR Disclosure Documentation")), qPrintable(text));
    QCOMPARE(PdfText(file("saved.pdf")), text);
    QVERIFY(text.left(text.indexOf(QStringLiteral("Reimbursement Documentation"))).count(QLatin1Char('\f')) >= 1);
    QProcess fonts;  // a Courier face, else Liberation Mono (Courier's metrics)
    fonts.start(QStringLiteral("pdffonts"), {file("printed.pdf")});
    QVERIFY(fonts.waitForFinished(10000));
    const QString list = QString::fromUtf8(fonts.readAllStandardOutput());
    QVERIFY2(list.contains(QStringLiteral("Courier"), Qt::CaseInsensitive) || list.contains("LiberationMono"),
             qPrintable(list));
    // The saved case gives the command line the same report; changed since, Exit offers to save
    // it, and Yes writes it whole, by rename.
    std::ostringstream out, err;
    QCOMPARE(
        tallex::cli::RunReportCommand({file("review.json").toStdString(), file("cli.txt").toStdString()}, out, err), 0);
    QCOMPARE(ReadAll(file("cli.txt")), ReadAll(file("report.txt")));
    QVERIFY(h.click("cmdBack"));
    h.control<QRadioButton>("optTolerance_1")->click();
    h.forgetPrompts();
    h.answerNext(tallex::kAnswerYesButton);
    h.window().ExitProgram();
    QCOMPARE(h.prompts(), QStringList{"The case has changed since it was saved in " + file("review.json") +
                                      ".\r\n\r\nSave the changes?"});
    QVERIFY(!h.window().isVisible());
    QVERIFY(ReadAll(file("review.json")).contains("0.125"));
    QCOMPARE(QDir(folder.path()).entryList(QDir::Files).size(), 5);
}

QTEST_MAIN(LoanFlowsTest)
#include "loan_flows_test.moc"
