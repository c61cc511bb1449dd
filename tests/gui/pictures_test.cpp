// The pictures of the results page: the payment timeline places each payment where its date
// falls, the tolerance scales place the computed figures against their bands, and the positive
// verdict shows only when no note does.
//
// The timeline's expected places are worked out here from calendar dates: a payment date lies
// whole months after the loan date plus the days left over (counted back from the payment date),
// a unit period being a month of 30 days. The correct APR of 36 x 330 on 10,000 is 11.5504 % and
// its finance charge 1,880.00 (see TypedLoan.h).

#include "TypedLoan.h"
#include "widgets/PaymentTimeline.h"
#include "widgets/ToleranceBand.h"

#include <QDate>
#include <QLabel>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

class PicturesTest : public QObject {
    Q_OBJECT
private slots:
    void timeline_places_each_payment_at_its_date_and_prints_when_ticked();
    void tolerance_scales_and_positive_verdict_data();
    void tolerance_scales_and_positive_verdict();
};

namespace {

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
    TypedLoan loan = ThirtySixPaymentsOf330(QStringLiteral("12"), QStringLiteral("1205"));
    loan.amountFinanced = QStringLiteral("5000");
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

// The loan with an advance typed through to its results: 5000 + 1000 v(2.5) = sum of the payments'
// v(t), v(t) = 1 / ((1 + i/2)(1 + i)^(t - 1/2)), APR = 1200 i, found by bisection outside the
// program: 12.22654 %.
void PicturesTest::timeline_places_each_payment_at_its_date_and_prints_when_ticked() {
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

void PicturesTest::tolerance_scales_and_positive_verdict_data() {
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

void PicturesTest::tolerance_scales_and_positive_verdict() {
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

QTEST_MAIN(PicturesTest)
#include "pictures_test.moc"
