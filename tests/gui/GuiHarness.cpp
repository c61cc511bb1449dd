#include "GuiHarness.h"

#include "pages/frmPymt.h"
#include "widgets/ScheduleGrid.h"
#include "widgets/ScheduleModel.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

GuiHarness::GuiHarness(const QString& settingsText, const QString& caseFile) {
    QApplication::setQuitOnLastWindowClosed(false);
    WriteAll(folder_.filePath(QStringLiteral("APR.INI")), settingsText.toUtf8());
    startWindow(caseFile);
}

void GuiHarness::startWindow(const QString& caseFile) {
    const QString settings = folder_.filePath(QStringLiteral("APR.INI"));
    window_ = std::make_unique<MainWindow>(user_, SettingsStore(settings, SettingsStore::Location::Explicit));
    window_->setModalRunner(dialogs_);
    window_->setOutputChooser(outputs_);
    window_->start(caseFile);
    window_->activateWindow();
    (void)QTest::qWaitForWindowActive(window_.get());
    settle();
}

void GuiHarness::restart() {
    window_->close();
    window_.reset();
    settle();
    startWindow();
}

QString GuiHarness::pageName() const { return page() ? page()->objectName() : QString(); }

void GuiHarness::settle() const {
    // Deferred focus moves and selections run on the next turns of the event loop.
    for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

bool GuiHarness::type(const char* name, const QString& text) {
    QLineEdit* box = control<QLineEdit>(name);
    if (!box) return false;
    box->setFocus(Qt::MouseFocusReason);
    settle();
    box->selectAll();
    QTest::keyClicks(box, text);
    settle();
    return true;
}

void GuiHarness::press(Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus ? focus : window_.get(), key, modifiers);
    settle();
}

bool GuiHarness::click(const char* name) {
    QPushButton* button = control<QPushButton>(name);
    if (!button || !button->isVisible() || !button->isEnabled()) return false;
    QTest::mouseClick(button, Qt::LeftButton);
    settle();
    return true;
}

bool GuiHarness::choose(const char* name) {
    QRadioButton* option = control<QRadioButton>(name);
    if (!option) return false;
    QTest::mouseClick(option, Qt::LeftButton, Qt::NoModifier, QPoint(8, option->height() / 2));
    settle();
    return true;
}

void GuiHarness::trigger(const char* action) {
    if (auto* a = window_->findChild<QAction*>(QString::fromLatin1(action))) a->trigger();
    settle();
}

QString GuiHarness::text(const char* name) const {
    if (auto* label = control<QLabel>(name)) return label->text();
    if (auto* box = control<QLineEdit>(name)) return box->text();
    return QStringLiteral("<no %1>").arg(QString::fromLatin1(name));
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool WriteAll(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QString PdfText(const QString& pdf) {
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    return text.waitForFinished(10000) ? QString::fromUtf8(text.readAllStandardOutput()) : QString();
}

QStringList GuiHarness::prompts() const {
    QStringList texts;
    for (const tallex::Prompt& p : user_.prompts()) texts << QString::fromStdString(p.text);
    return texts;
}

QByteArray PromptsText(const QStringList& prompts) {
    return ("messages shown: [" + prompts.join(QStringLiteral("] [")) + "]").toUtf8();
}

ScheduleGrid* GuiHarness::grid() const {
    auto* schedule = qobject_cast<frmPymt*>(window_->loadedPage(PageId::Schedule));
    return schedule ? schedule->grid() : nullptr;
}

void GuiHarness::typeCell(const QString& text) {
    ScheduleGrid* g = grid();
    if (QLineEdit* editor = g->editorWidget()) {
        editor->selectAll();
        QTest::keyClicks(editor, text);
    } else {
        // A cell that is not being edited starts its editor with the first key.
        g->setFocus(Qt::OtherFocusReason);
        QTest::keyClicks(g, text.left(1));
        if ((editor = g->editorWidget())) QTest::keyClicks(editor, text.mid(1));
    }
    settle();
}

void GuiHarness::typeCells(const QStringList& cells) {
    for (const QString& text : cells) {
        typeCell(text);
        tab();
    }
}

QString GuiHarness::cell(int row, int column) const {
    ScheduleGrid* g = grid();
    if (g->currentRow() == row && g->currentColumn() == column && g->editorWidget()) return g->editorWidget()->text();
    return static_cast<ScheduleModel*>(g->model())->cell(row, column);
}

bool GuiHarness::withDialog(const char* button, const std::function<void(QDialog&)>& drive) {
    bool driven = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
        if (!dialog) return;
        (void)QTest::qWaitForWindowActive(dialog);
        driven = true;
        drive(*dialog);
        if (dialog->isVisible()) dialog->reject();
    });
    if (!click(button)) return false;
    (void)QTest::qWaitForWindowActive(window_.get());
    settle();
    return driven;
}

void GuiHarness::fillCalendar(QDialog& calendar, std::initializer_list<std::pair<const char*, QString>> dates) {
    for (const auto& [name, text] : dates) {
        auto* box = calendar.findChild<QLineEdit*>(QString::fromLatin1(name));
        box->setFocus(Qt::MouseFocusReason);
        QApplication::processEvents();
        box->selectAll();
        QTest::keyClick(box, Qt::Key_Backspace);
        box->setCursorPosition(0);
        QTest::keyClicks(box, text);
    }
    QTest::mouseClick(calendar.findChild<QPushButton*>(QStringLiteral("cmdFedCalOK")), Qt::LeftButton);
    QApplication::processEvents();
}
