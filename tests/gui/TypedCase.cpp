#include "TypedCase.h"

#include "CaseChoices.h"
#include "CaseUser.h"
#include "widgets/ScheduleGrid.h"

#include "schedule/ScheduleColumns.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <functional>
#include <vector>

using tallex::casefile::CaseConstruction;
using tallex::casefile::CaseFile;
using tallex::casefile::CaseStream;

namespace {

class Typist {
public:
    explicit Typist(GuiHarness& h) : h_(h), seen_(h.user().prompts().size()) {}

    // True once an entry was refused: the typing stops.
    bool refused() {
        const auto& prompts = h_.user().prompts();
        for (; seen_ < prompts.size(); ++seen_) {
            if (prompts[seen_].style == tallex::kStyleExclamation && refusal_.isEmpty())
                refusal_ = QString::fromStdString(prompts[seen_].text);
        }
        return !refusal_.isEmpty();
    }
    const QString& refusal() const { return refusal_; }

    // Types the text into a box shown on the page and leaves it with Tab; an empty text empties
    // the box. Nothing for a box the page does not show.
    void box(const char* name, const std::string& text) {
        QLineEdit* edit = h_.control<QLineEdit>(name);
        if (!edit || !edit->isVisible() || !edit->isEnabled()) return;
        if (text.empty()) {
            if (edit->text().isEmpty()) return;
            edit->setFocus(Qt::MouseFocusReason);
            h_.settle();
            edit->selectAll();
            QTest::keyClick(edit, Qt::Key_Backspace);
        } else {
            h_.type(name, QString::fromStdString(text));
        }
        h_.tab();
    }

    // Clicks an option or check box shown on the page unless it already is as wanted.
    void choose(const QString& name, bool checked = true) {
        auto* button = h_.page() ? h_.page()->findChild<QAbstractButton*>(name) : nullptr;
        if (!button || !button->isVisible() || button->isChecked() == checked) return;
        // On its indicator: a wide button does not take a click beyond its caption.
        QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(4, button->height() / 2));
        h_.settle();
    }

    // Presses a button of the page; true when it was there to press.
    bool press(const char* name) { return h_.click(name); }

    // Runs `act`; a calculator it opens gets the dates, in the order of its boxes, and OK. A
    // calculator still open after that (a date refused) is cancelled.
    void withCalculator(const std::function<void()>& act, const std::vector<std::string>& dates) {
        static const char* const kDateBoxes[] = {"mskStartDate", "mskEndDate", "mskLoanDate", "mskConstrEndDate",
                                                 "mskAmortPymtDate"};
        QTimer poll;
        QPointer<QDialog> driven;
        QObject::connect(&poll, &QTimer::timeout, [&] {
            auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            if (!dialog || dialog == driven) return;
            driven = dialog;
            if (dates.empty()) {
                // Opened by itself for a stream whose timing is typed.
                dialog->reject();
                return;
            }
            std::size_t next = 0;
            for (const char* name : kDateBoxes) {
                auto* date = dialog->findChild<QLineEdit*>(QString::fromLatin1(name));
                if (!date || next >= dates.size()) continue;
                GuiHarness::typeDate(date, QString::fromStdString(dates[next++]).remove(QLatin1Char('-')));
            }
            if (!refused()) {
                if (auto* ok = dialog->findChild<QPushButton*>(QStringLiteral("cmdFedCalOK")))
                    QTest::mouseClick(ok, Qt::LeftButton);
                QApplication::processEvents();
            }
            if (driven && driven->isVisible()) driven->reject();
        });
        poll.start(20);
        act();
        poll.stop();
        h_.settle();
    }

    GuiHarness& h_;
    bool notEnterable = false;

private:
    std::size_t seen_;
    QString refusal_;
};

bool On(GuiHarness& h, const char* page) { return h.pageName() == QLatin1String(page); }

void BasicInformation(Typist& t, const CaseFile& c) {
    t.box("txtUserName", c.preparer);
    if (!c.date.empty()) t.box("txtAcctDate", c.date);
    t.box("txtAccountNbr", c.account);
    t.box("txtBorrower", c.borrower);
    t.box("txtLender", c.lender);  // leaving it fills an empty original creditor
    if (!c.creditor.empty()) t.box("txtCreditor", c.creditor);
    t.choose(c.kind == "construction" ? QStringLiteral("optType_1") : QStringLiteral("optType_0"));
}

void SecuredBoxes(Typist& t, const CaseFile& c, bool byDefault) {
    const bool secured = c.securedByRealEstate.value_or(byDefault);
    t.choose(QStringLiteral("chkSecuredByRealEstate"), secured);
    if (secured) t.choose(QStringLiteral("chkDatePre_093095"), c.loanDateBefore1995);
}

void LoanTerms(Typist& t, const CaseFile& c) {
    const bool single = c.loanType == "single";
    t.choose(single ? QStringLiteral("optLoanType_1") : QStringLiteral("optLoanType_0"));
    t.choose(QStringLiteral("optPymtFreq_%1").arg(tallex::casefile::FrequencyIndex(c)));
    t.box("txtAmtFinanced", c.amountFinanced);
    t.box("txtDiscAPR", c.disclosedApr);
    t.box("txtDiscFinChg", c.disclosedFinanceCharge);
    t.box("txtUnitPeriod", c.unitPeriod);
    SecuredBoxes(t, c, false);
}

void ConstructionTerms(Typist& t, const CaseFile& c) {
    const CaseConstruction& cc = *c.construction;
    t.choose(cc.disclosure == "with_permanent" ? QStringLiteral("optDiscType_1") : QStringLiteral("optDiscType_0"));
    t.choose(cc.interestOn == "commitment" ? QStringLiteral("optInterestType_1") : QStringLiteral("optInterestType_0"));
    t.box("txtLoanAmt", cc.commitment);
    t.box("txtSimpleInt", cc.simpleRate);
    t.box("txtPrepdFinChg", cc.prepaidFinanceCharge);
    t.box("txtSubFinChg", cc.subsequentFinanceCharge);
    SecuredBoxes(t, c, true);
}

void ConstructionPhase(Typist& t, const CaseFile& c) {
    const CaseConstruction& cc = *c.construction;
    t.choose(QStringLiteral("optIntAccrl_%1")
                 .arg(tallex::casefile::ChoiceIndex(tallex::casefile::kAccrualKeys, cc.accrual)));
    t.choose(QStringLiteral("chkCompundInt"), cc.interestReserve);
    t.choose(cc.termBasis == "days" ? QStringLiteral("optOther_1") : QStringLiteral("optOther_0"));
    const auto* period = t.h_.control<QLineEdit>("txtTimePeriod");
    if (!cc.timePeriod.empty()) {
        t.box("txtTimePeriod", cc.timePeriod);
    } else if (period && period->isVisible() && !cc.loanDate.empty() && !cc.constructionEndDate.empty()) {
        t.withCalculator([&] { t.press("cmdCalendar"); }, {cc.loanDate, cc.constructionEndDate});
    }
    // After the calculator, only what the case gives replaces the periods it measured.
    const bool measured = cc.timePeriod.empty() && !cc.loanDate.empty() && !cc.constructionEndDate.empty();
    if (!measured || !cc.unitPeriods.empty()) t.box("txtUnitPeriod", cc.unitPeriods);
    if (!measured || !cc.oddDays.empty()) t.box("txtOddDays", cc.oddDays);
}

void ConstructionInterest(Typist& t, const CaseFile& c) {
    t.choose(c.loanType == "single" ? QStringLiteral("optLoanType_1") : QStringLiteral("optLoanType_0"));
    t.choose(QStringLiteral("optPymtFreq_%1").arg(tallex::casefile::FrequencyIndex(c)));
    if (c.construction->estimatedInterest) t.box("txtAmtInt", *c.construction->estimatedInterest);
    t.box("txtDiscAPR", c.disclosedApr);
    t.box("txtFinChg", c.disclosedFinanceCharge);
    t.box("txtUnitPeriod", c.unitPeriod);
}

// The streams row by row with Tab, as TypeLoan does; a stream's dates go into the calculator
// the page opens for it.
void Schedule(Typist& t, const CaseFile& c) {
    GuiHarness& h = t.h_;
    const int rows = static_cast<int>(c.schedule.size());
    for (int k = 1; k <= rows && !t.refused(); ++k) {
        const CaseStream& s = c.schedule[static_cast<std::size_t>(k - 1)];
        const bool constructionDates = k == 1 && c.construction && !c.construction->amortizationDate.empty() &&
                                       s.unitPeriods.empty() && s.oddDays.empty() && !s.hasDates();
        std::vector<std::string> dates;
        // A construction loan's schedule opens the three-date calculator: the stream's loan date,
        // the construction's end, the stream's first payment.
        if (s.hasDates())
            dates = c.construction
                        ? std::vector<std::string>{s.loanDate, c.construction->constructionEndDate, s.firstPaymentDate}
                        : std::vector<std::string>{s.loanDate, s.firstPaymentDate};
        if (constructionDates)
            dates = {c.construction->loanDate, c.construction->constructionEndDate, c.construction->amortizationDate};
        h.typeCell(QString::fromStdString(s.amount));
        h.tab();
        if (t.refused()) return;
        h.typeCell(QString::fromStdString(s.payments));
        // Entering the timing of a yearly stream opens the calculator by itself.
        t.withCalculator([&] { h.tab(); }, dates);
        if (t.refused()) return;
        if (!dates.empty()) {
            if (h.grid()->currentColumn() == tallex::kColUnitPeriods) {
                const auto* calendar = h.control<QAbstractButton>("cmdFedCal");
                if (!calendar || !calendar->isEnabled()) {
                    t.notEnterable = true;
                    return;
                }
                t.withCalculator([&] { t.press("cmdFedCal"); }, dates);
            }
        } else {
            h.typeCell(QString::fromStdString(s.unitPeriods));
            h.tab();
            if (t.refused()) return;
            h.typeCell(QString::fromStdString(s.oddDays));
        }
        if (k < rows && !t.refused()) {
            // Past the last cell: the next stream's row.
            if (h.grid()->currentColumn() != tallex::kColOddDays) h.grid()->placeCursor(k - 1, tallex::kColOddDays);
            h.tab();
        }
    }
}

}  // namespace

TypedCase TypeCase(GuiHarness& h, const CaseFile& c) {
    Typist t(h);
    TypedCase out;
    const auto done = [&] {
        t.refused();
        out.refusal = t.refusal();
        out.notEnterable = t.notEnterable;
        return out;
    };
    const bool construction = c.kind == "construction";
    BasicInformation(t, c);
    if (t.refused() || !t.press("CmdContinue")) return done();
    if (construction) {
        if (!On(h, "frmConstLoan")) return done();
        ConstructionTerms(t, c);
        if (t.refused() || !t.press("cmdContinue") || !On(h, "frmConstPhase")) return done();
        ConstructionPhase(t, c);
        if (t.refused() || !t.press("cmdContinue") || !On(h, "frmConstInterest")) return done();
        ConstructionInterest(t, c);
        if (t.refused() || !t.press("cmdContinue")) return done();
        if (On(h, "frmRecDiscl")) {
            out.results = true;
            return done();
        }
    } else {
        if (!On(h, "frmAPR1")) return done();
        LoanTerms(t, c);
        if (t.refused() || !t.press("CmdContinue")) return done();
    }
    if (!On(h, "frmPymt")) return done();
    Schedule(t, c);
    if (t.refused() || !t.press("cmdContinue")) return done();
    out.results = On(h, "FrmDisclosure");
    return done();
}

void AnswerFromCase(GuiHarness& h, const CaseFile& c) {
    h.user().setFallback([&h, c](const std::string& text, short style) {
        const short fallback = tallex::ScriptedUser::DefaultAnswer(style);
        if (style != tallex::kStyleYesNoQuestion && style != tallex::kStyleYesNoCritical) return fallback;
        // The command line's user decides which of the case's answers the question asks for.
        tallex::casefile::CaseUser answers(h.record(), c.aprUnderstatementCausedByFc, c.aprOverstatementCausedByFc);
        try {
            return answers.show(text, style);
        } catch (const tallex::casefile::CaseFault&) {
            return fallback;
        }
    });
}
