#pragma once
// Where a report or a case goes, as the user chooses it: a printer (with the number of copies,
// or a PDF file through the print dialog's print-to-file choice) and the names of files to save
// or open. The desktop shows the system's dialogs; tests and the screenshot tool answer from a
// script (ScriptedOutputChooser), so nothing waits for a person.

#include <QString>

class QPrinter;
class QWidget;

class OutputChooser {
public:
    virtual ~OutputChooser() = default;

    // Lets the user choose the printer and the copies; false when the dialog was cancelled.
    virtual bool choosePrinter(QPrinter& printer, QWidget* parent) = 0;
    // The same for a report that has pictures: the dialog also offers "Include pictures" (off
    // unless ticked), answered in `includePictures`.
    virtual bool choosePrinterWithPictures(QPrinter& printer, QWidget* parent, bool& includePictures) {
        includePictures = false;
        return choosePrinter(printer, parent);
    }
    // Sets up the default printer without a dialog; false when there is none.
    virtual bool defaultPrinter(QPrinter& printer) = 0;
    // A file name to write (the dialog asks before replacing a file); empty when cancelled.
    // `filter` is in the form "Text (*.txt);;All Files (*)".
    virtual QString saveFileName(QWidget* parent, const QString& caption, const QString& folder,
                                 const QString& filter) = 0;
    // An existing file to read; empty when cancelled.
    virtual QString openFileName(QWidget* parent, const QString& caption, const QString& folder,
                                 const QString& filter) = 0;
};

// The system's print dialog (copies, print to file) and file dialogs.
class DesktopOutputChooser final : public OutputChooser {
public:
    bool choosePrinter(QPrinter& printer, QWidget* parent) override;
    bool choosePrinterWithPictures(QPrinter& printer, QWidget* parent, bool& includePictures) override;
    bool defaultPrinter(QPrinter& printer) override;
    QString saveFileName(QWidget* parent, const QString& caption, const QString& folder,
                         const QString& filter) override;
    QString openFileName(QWidget* parent, const QString& caption, const QString& folder,
                         const QString& filter) override;
};
