#pragma once
// Drives the program as a user would, offscreen: one main window with a scripted user (every
// message is answered from a queue and recorded), a settings file of its own in a temporary
// folder, and helpers that type into and click the named controls of the page shown.

#include "ScriptedDialogs.h"
#include "pages/Page.h"
#include "shell/MainWindow.h"

#include "ui/ScriptedUser.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <functional>
#include <initializer_list>
#include <memory>
#include <utility>

class QDialog;
class ScheduleGrid;

class GuiHarness {
public:
    // Starts the program with this settings file text (the splash is skipped unless asked for)
    // and, when given, the case file named on its command line.
    explicit GuiHarness(const QString& settingsText = QStringLiteral("[Options]\nStartup Intro=No\n"),
                        const QString& caseFile = {});

    MainWindow& window() { return *window_; }
    tallex::LoanRecord& record() { return window_->record(); }
    tallex::ScriptedUser& user() { return user_; }
    // The program's own modal dialogs (error screen, About box, listing) and the printer and
    // file choices, answered from a script; a dialog nobody drives is closed at once.
    ScriptedModalRunner& dialogs() { return dialogs_; }
    ScriptedOutputChooser& outputs() { return outputs_; }
    // Closes this window and starts a new one on the same settings file.
    void restart();

    Page* page() const { return window_->currentPage(); }
    QString pageName() const;
    // A control of the page shown (several pages have controls of the same name).
    template <class T>
    T* control(const char* name) const {
        return page() ? page()->findChild<T*>(QString::fromLatin1(name)) : nullptr;
    }

    // Clicks into a box (its text is then selected) and types; returns false when the box is
    // missing.
    bool type(const char* box, const QString& text);
    // Presses one key on whatever has the focus.
    void press(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);
    // Tab to the next control (the box is left).
    void tab() { press(Qt::Key_Tab); }
    // Clicks a button of the page with the mouse.
    bool click(const char* button);
    // Clicks an option on its round indicator (the button is wider than its caption).
    bool choose(const char* option);
    // Triggers an entry of the window's menus.
    void trigger(const char* action);
    // The text of a label or box of the page shown.
    QString text(const char* name) const;
    void settle() const;

    // The messages shown so far, and the texts of those.
    QStringList prompts() const;
    void answerNext(short answer) { user_.queue(answer); }
    void forgetPrompts() { user_.clear(); }

    // The schedule grid of the schedule page: type into the current cell, move, read.
    ScheduleGrid* grid() const;
    void typeCell(const QString& text);
    // Types each cell and tabs to the next.
    void typeCells(const QStringList& cells);
    QString cell(int row, int column) const;

    // Opens a modal dialog (a calendar) with `button` and runs `drive` on it while it is open;
    // the dialog is cancelled if `drive` left it open, so a failing test cannot hang. False when
    // the button could not be clicked or no dialog opened.
    bool withDialog(const char* button, const std::function<void(QDialog&)>& drive);
    // In an open calendar: types each date into its box from the start, over whatever the box
    // held, and presses OK.
    static void fillCalendar(QDialog& calendar, std::initializer_list<std::pair<const char*, QString>> dates);

private:
    void startWindow(const QString& caseFile = {});

    QTemporaryDir folder_;
    tallex::ScriptedUser user_;
    ScriptedModalRunner dialogs_;
    ScriptedOutputChooser outputs_;
    std::unique_ptr<MainWindow> window_;
};

// Prints the recorded prompts (for a failure message).
QByteArray PromptsText(const QStringList& prompts);
QByteArray ReadAll(const QString& path);
bool WriteAll(const QString& path, const QByteArray& bytes);
// The text of a PDF file by pdftotext.
QString PdfText(const QString& pdf);
