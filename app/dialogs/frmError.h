#pragma once
// The error screen: an unexpected run-time error has ended the loan. It says so, shows the
// error's number and description, the page that was active, the program's version and the date
// and time, and offers New Loan, Print (the error information on the default printer), Support
// (the About box with the address for problem reports) and Exit. The window decides what the
// choice means; closing the screen's window counts as New Loan, the one way on that keeps
// the program running on a clean loan.

#include "print/OutputChooser.h"

#include "ui/UserSeam.h"

#include <QDateTime>
#include <QDialog>
#include <QString>
#include <QStringList>

#include <functional>
#include <string>

struct ErrorDetails {
    int number = 0;
    std::string description;
    QString activeForm;  // the caption of the page that was active; "None" when there was none
    QDateTime when;
    QString settingsFolder;  // where the settings file lives: its free space is shown
};

class frmError : public QDialog {
    Q_OBJECT
public:
    enum Choice { kChoiceNewLoan = 100, kChoiceExit = 101 };

    frmError(const ErrorDetails& details, OutputChooser& printers, tallex::UserSeam& user,
             std::function<void()> showAbout, QWidget* parent = nullptr);

    // What the user chose, from the dialog's result code.
    static Choice ChoiceOf(int result) { return result == kChoiceExit ? kChoiceExit : kChoiceNewLoan; }

    // The lines that Print prints.
    QStringList printedLines() const;
    // "APR Program Error" information in the first "Courier" or "Courier New" family; false
    // (and the failure shown) when it could not be printed.
    bool printErrorInformation();

private:
    OutputChooser& printers_;
    tallex::UserSeam& user_;
    std::function<void()> showAbout_;
    QString date_;
    QString time_;
    QString number_;
    QString message_;
    QString activeForm_;
    QString version_;
};

// The program's version and release shown on the error screen: "6.2.0 - April 2007".
QString ErrorScreenVersion();
