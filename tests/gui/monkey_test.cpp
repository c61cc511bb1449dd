// A monkey at the keyboard and the mouse: from a seed, random keys, texts and clicks on the
// enabled controls of whatever page is shown (menu entries, the schedule grid and the calendars
// included), with every message answered at random, for a bounded number of steps. The program
// must never crash nor let an exception out of a handler (either would end this process), nor
// hang (the test function has its time limit), and the error screen, when a run-time error brings
// it up, must lead back to an empty basic information page; an error other than the core's
// run-time error is a defect.
//
// TALLEX_MONKEY_SEED replays another run than the usual one; a failure names its step.

#include "TypedLoan.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QKeySequence>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <random>

namespace {

// Texts a user might type, with the ones a user should not.
const QStringList kTexts = QStringLiteral(
                               "1000|330|36|12|1|0|15|365|8.25|10|1880|01-15-2026|02-29-2024|13-45-2026|-5|"
                               "$1,000.00|(5)|abc||1e308|99999999999999999999|.25|-|.")
                               .split(QLatin1Char('|'));

// Keys a user presses, with the access keys of the pages' buttons ("&Continue", "&Back", ...).
const QStringList kKeys = QStringLiteral(
                              "1 . - Backspace Del Tab Shift+Tab Return Esc Up Down PgDown Home End Alt+C "
                              "Alt+B Alt+N Alt+P Alt+R Alt+D Alt+S")
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
        } else if (roll < 88) {
            if (QAbstractButton* button = pickOf(Usable<QAbstractButton>(h_.page())); button && !exits(button))
                QTest::mouseClick(button, Qt::LeftButton);
        } else {
            QList<QAction*> actions;
            for (QAction* a : h_.window().findChildren<QAction*>())
                if (!a->objectName().isEmpty() && a->isEnabled() && !a->menu() && !exits(a)) actions << a;
            if (QAction* action = pickOf(actions)) action->trigger();
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
    // Exit would end the window's run (the flows take it).
    static bool exits(const QObject* control) {
        return control->objectName().contains(QStringLiteral("exit"), Qt::CaseInsensitive);
    }
    void type(QLineEdit* box) {
        QPointer<QLineEdit> guard(box);
        QTest::mouseClick(box, Qt::LeftButton);
        if (!guard) return;
        if (pick(3)) box->selectAll();
        QTest::keyClicks(box, kTexts[pick(static_cast<int>(kTexts.size()))]);
    }

    // Inside a calendar's own modal loop: a random entry and a random click, then Cancel if still
    // open. (The error screen, the About box and the listing are the scripted runner's.)
    void driveCalendar() {
        const QPointer<QDialog> open = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (driving_ || !open || !open->objectName().contains(QStringLiteral("Calendar"))) return;
        driving_ = true;
        if (QLineEdit* box = pickOf(Usable<QLineEdit>(open))) type(box);
        if (QAbstractButton* button = open ? pickOf(Usable<QAbstractButton>(open)) : nullptr)
            QTest::mouseClick(button, Qt::LeftButton);
        if (open && open->isVisible()) open->reject();
        driving_ = false;
    }

    void check(int number) {
        QVERIFY2(h_.window().isVisible() && h_.page(), qPrintable("no page after step " + QString::number(number)));
        // Only the core's run-time errors may end on the error screen, and the loan is then gone.
        int& error = h_.window().session().giLastError;
        if (error == 0) return;
        QVERIFY2(error != 51 && h_.pageName() == QStringLiteral("frmBasicInfo") && h_.record().gdAmount == 0 &&
                     h_.text("txtBorrower").isEmpty(),
                 qPrintable(QStringLiteral("step %1, after error %2 on ").arg(number).arg(error) + h_.pageName()));
        error = 0;
    }

    GuiHarness& h_;
    std::mt19937 rng_;
    QTimer watcher_;
    bool driving_ = false;
};

}  // namespace

class MonkeyTest : public QObject {
    Q_OBJECT
private slots:
    void random_input_never_crashes();
};

// The monkey alone seldom gets a loan through to the results, so every other episode begins there,
// with a loan typed whole; bounded in time too, well inside the test function's time limit. The
// usual seed's walk comes upon the error screen more than once.
void MonkeyTest::random_input_never_crashes() {
    const int seed =
        qEnvironmentVariableIsSet("TALLEX_MONKEY_SEED") ? qEnvironmentVariableIntValue("TALLEX_MONKEY_SEED") : 5;
    GuiHarness h;
    Monkey monkey(h, static_cast<quint32>(seed));
    QElapsedTimer clock;
    clock.start();
    int done = 0;
    for (int episode = 0; done < 3000 && clock.elapsed() < 15000; ++episode) {
        h.restart();
        h.choose("optType_0");  // the page remembers the last loan kind in APR.INI
        if (episode % 2) QVERIFY(TypeLoan(h, ThirtySixPaymentsOf330(QStringLiteral("10"), QStringLiteral("1880"))));
        for (int k = 0; k < 250 && done < 3000; ++k, ++done) {
            monkey.step(done);
            if (QTest::currentTestFailed()) return;
        }
    }
    qInfo("seed %d: %d steps in %lld ms", seed, done, static_cast<long long>(clock.elapsed()));
}

QTEST_MAIN(MonkeyTest)
#include "monkey_test.moc"
