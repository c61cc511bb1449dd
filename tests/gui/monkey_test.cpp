// A monkey at the keyboard and the mouse: from a seed, random keys, texts and clicks on the
// enabled controls of whatever page is shown (menu entries, the schedule grid and the calendars
// included), with every message answered at random, for a bounded number of steps. The program
// must never crash nor let an exception out of a handler (either would end this process), the
// error screen, when a run-time error brings it up, must lead back to an empty basic information
// page, and an error other than the core's run-time error is a defect.
//
// TALLEX_MONKEY_SEED and TALLEX_MONKEY_STEPS replay or lengthen a run; a failure names its step.

#include "TypedLoan.h"
#include "shell/CaseFileActions.h"
#include "widgets/ScheduleGrid.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <random>

namespace {

// Texts a user might type, with the ones a user should not.
const QStringList kTexts =
    QStringLiteral(
        "1000|10000|330|88.85|36|12|1|0|30|15|365|8.25|10|1880|250000|01-15-2026|02-15-2026|12-31-2027|02-29-2024|"
        "13-45-2026|6|-5|$1,000.00|(5)|abc||1e308|99999999999999999999|0.125|.25|-|.|12-|Jane Examiner")
        .split(QLatin1Char('|')) +
    QStringList{QString(300, QLatin1Char('9'))};

// Keys a user presses, as their names, with the access keys of the pages' buttons ("&Continue",
// "&Back", ...; Exit is taken only now and then, with its button).
const QStringList kKeys =
    QStringLiteral(
        "0 1 2 5 9 . - , $ / A E Space Backspace Del Tab Shift+Tab Return Enter Esc Up Down Left "
        "Right PgUp PgDown Home End Shift+Left Shift+End Alt+C Alt+B Alt+N Alt+P Alt+R Alt+D Alt+A Alt+H "
        "Alt+S Alt+O Alt+T")
        .split(QLatin1Char(' '));

// The enabled, visible controls of a kind on the page shown (or in a dialog).
template <class T>
QList<T*> Usable(QWidget* root) {
    QList<T*> items;
    for (T* w : root ? root->findChildren<T*>() : QList<T*>())
        if (w->isVisible() && w->isEnabled()) items << w;
    return items;
}

class Monkey {
public:
    Monkey(GuiHarness& h, quint32 seed) : h_(h), rng_(seed) {
        h_.user().setFallback([this](const std::string&, short style) -> short {
            if (style == tallex::kStyleYesNoQuestion || style == tallex::kStyleYesNoCritical)
                return pick(2) ? tallex::kAnswerYesButton : tallex::kAnswerNoButton;
            if (style == tallex::kStyleOkCancelWarning) return pick(2) ? tallex::kAnswerOk : tallex::kAnswerCancel;
            return tallex::kAnswerOk;
        });
        h_.dialogs().onEvery(QStringLiteral("frmError"), [this](QDialog& screen) {
            const auto text = [&](const char* name) { return screen.findChild<QLabel*>(name)->text(); };
            lastError_ = text("lblErrNum") + " " + text("lblErrMsg") + " on " + text("lblFormCaption");
        });
        // The calendars run their own modal loop: a watcher drives them from inside it.
        QObject::connect(&watcher_, &QTimer::timeout, [this] { driveCalendar(); });
        watcher_.start(5);
    }

    // One random action on the page shown, then the checks.
    void step(int number) {
        const int roll = pick(100);
        QWidget* focus = QApplication::focusWidget();
        if (!focus || focus->window() != &h_.window()) focus = &h_.window();
        if (roll < 30) {
            if (QLineEdit* box = pickOf(Usable<QLineEdit>(h_.page()))) type(box);
        } else if (roll < 55) {
            const QKeyCombination key = QKeySequence::fromString(kKeys[pick(int(kKeys.size()))])[0];
            QTest::keyClick(focus, key.key(), key.keyboardModifiers());
        } else if (roll < 82) {
            QList<QAbstractButton*> buttons = Usable<QAbstractButton>(h_.page());
            buttons.removeIf([this](QAbstractButton* b) { return rare(b); });
            if (QAbstractButton* button = pickOf(buttons)) QTest::mouseClick(button, Qt::LeftButton);
        } else if (roll < 88 && h_.pageName() == QStringLiteral("frmPymt") && h_.grid()->model()->rowCount() > 0) {
            h_.clickCell(pick(h_.grid()->model()->rowCount()), pick(5));
        } else if (roll < 93) {
            QList<QAction*> actions;
            for (QAction* a : h_.window().findChildren<QAction*>())
                if (!a->objectName().isEmpty() && a->isEnabled() && !a->menu() && !rare(a)) actions << a;
            if (QAction* action = pickOf(actions)) action->trigger();
        } else {
            static const char* const names[] = {"case.json", "report.txt", "missing/case.json", ""};
            const QString name = QString::fromLatin1(names[pick(std::size(names))]);
            h_.outputs().queueFileName(name.isEmpty() ? QString() : folder_.filePath(name));
            if (pick(4) == 0) h_.outputs().queuePrintToPdf(folder_.filePath(QStringLiteral("printed.pdf")));
        }
        h_.settle();
        check(number);
    }

private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    template <class T>
    T* pickOf(const QList<T*>& items) {
        return items.isEmpty() ? nullptr : items[pick(static_cast<int>(items.size()))];
    }
    // Exit ends the window's run; Back, New Loan and Open Case leave the page: taken seldom, so
    // the monkey stays a while.
    bool rare(const QObject* control) {
        const QString name = control->objectName().toLower();
        if (name.contains(QStringLiteral("exit"))) return pick(40) != 0;
        for (const char* word : {"back", "newapr", "newloan", "opencase"})
            if (name.contains(QLatin1String(word))) return pick(6) != 0;
        return false;
    }
    void type(QLineEdit* box) {
        const QString text = kTexts[pick(static_cast<int>(kTexts.size()))];
        QPointer<QLineEdit> guard(box);
        QTest::mouseClick(box, Qt::LeftButton);
        if (!guard) return;
        if (pick(3)) box->selectAll();
        QTest::keyClicks(box, text);
    }

    // Inside a calendar's own modal loop: a few random actions, then Cancel if still open. (The
    // error screen, the About box and the listing are the scripted runner's.)
    void driveCalendar() {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (driving_ || !dialog || !dialog->objectName().contains(QStringLiteral("Calendar"))) return;
        driving_ = true;
        QPointer<QDialog> open(dialog);
        for (int i = pick(8); i > 0 && open && open->isVisible(); --i) {
            if (QLineEdit* box = pick(2) ? pickOf(Usable<QLineEdit>(dialog)) : nullptr)
                type(box);
            else if (QAbstractButton* button = pickOf(Usable<QAbstractButton>(dialog)))
                QTest::mouseClick(button, Qt::LeftButton);
            QApplication::processEvents();
        }
        if (open && open->isVisible()) open->reject();
        driving_ = false;
    }

    void check(int number) {
        if (!h_.window().isVisible()) return h_.restart();  // the monkey chose Exit
        QVERIFY2(h_.page(), qPrintable("no page after step " + QString::number(number)));
        if (lastError_.isEmpty()) return;
        // Only the core's run-time errors may end on the error screen, and the loan is then gone:
        // an empty basic information page.
        QVERIFY2(
            !lastError_.startsWith(QStringLiteral("51 ")) && h_.pageName() == QStringLiteral("frmBasicInfo") &&
                h_.record().gdAmount == 0 && h_.record().giPymtRows == 0 && h_.text("txtBorrower").isEmpty(),
            qPrintable("step " + QString::number(number) + ", after error " + lastError_ + " on " + h_.pageName()));
        lastError_.clear();
    }

    GuiHarness& h_;
    std::mt19937 rng_;
    QTimer watcher_;
    QTemporaryDir folder_;
    bool driving_ = false;
    QString lastError_;
};

// Where an episode starts: the monkey alone seldom gets a loan through to the results or to
// reimbursement, so the episodes of a run begin on each of these pages in turn, reached by
// typing a good loan, and go on at random from there; the construction pages are reached by
// opening a copy of an example case (the monkey may save over it).
const char* const kStarts[] = {"frmBasicInfo",     "frmPymt",          "FrmDisclosure",
                               "frmReimbursement", "frmConstInterest", "frmRecDiscl"};

bool Open(GuiHarness& h, const QString& page, const QTemporaryDir& folder) {
    if (page == QStringLiteral("frmConstInterest") || page == QStringLiteral("frmRecDiscl")) {
        // The construction phase disclosed separately: the case stops on the interest page.
        if (!h.window().caseFiles().openCaseFile(CopyExample("construction-only.json", folder.filePath("case.json"))))
            return false;
        if (page == QStringLiteral("frmRecDiscl")) h.click("cmdContinue");
        return h.pageName() == page;
    }
    TypedLoan understated = ThirtySixPaymentsOf330(QStringLiteral("10"), QStringLiteral("1880"));
    if (page == QStringLiteral("frmPymt")) understated.schedule.clear();  // stops on the empty schedule
    h.choose("optType_0");  // the page remembers the last loan kind in APR.INI
    if (page != QStringLiteral("frmBasicInfo")) TypeLoan(h, understated);
    if (page == QStringLiteral("frmReimbursement")) h.click("cmdContinue");
    return h.pageName() == page;
}

int EnvironmentNumber(const char* name, int fallback) {
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok ? value : fallback;
}

}  // namespace

class MonkeyTest : public QObject {
    Q_OBJECT
private slots:
    void random_input_never_crashes_data();
    void random_input_never_crashes();
};

void MonkeyTest::random_input_never_crashes_data() {
    QTest::addColumn<int>("seed");
    if (const int seed = EnvironmentNumber("TALLEX_MONKEY_SEED", 0)) {
        QTest::newRow("seed from the environment") << seed;
        return;
    }
    for (int seed : {1, 20261206, 4242}) QTest::addRow("seed %d", seed) << seed;
}

void MonkeyTest::random_input_never_crashes() {
    QFETCH(int, seed);
    const int steps = EnvironmentNumber("TALLEX_MONKEY_STEPS", 3000);
    GuiHarness h;
    Monkey monkey(h, static_cast<quint32>(seed));
    QTemporaryDir folder;
    QElapsedTimer clock;
    clock.start();
    int done = 0;
    // Bounded in time as well, so the run stays well inside the test function's time limit.
    for (int episode = 0; done < steps && clock.elapsed() < 15000; ++episode) {
        const QString start = QString::fromLatin1(kStarts[(episode + seed) % std::size(kStarts)]);
        h.restart();
        h.forgetPrompts();
        QVERIFY2(Open(h, start, folder),
                 qPrintable(start + " not reached: on " + h.pageName() + "; " + PromptsText(h.prompts())));
        for (int k = 0; k < 250 && done < steps; ++k, ++done) {
            monkey.step(done);
            if (QTest::currentTestFailed()) return;
        }
    }
    qInfo("seed %d: %d steps in %lld ms", seed, done, static_cast<long long>(clock.elapsed()));
}

QTEST_MAIN(MonkeyTest)
#include "monkey_test.moc"
