#pragma once
// Dialogs answered from a script, for the GUI tests and the screenshot tool, where nothing may
// wait for a person: the program's own modal dialogs are shown without a modal loop and handed
// to a driver, and the printer and file choices come from queues. Every request is recorded.

#include "dialogs/ModalRunner.h"
#include "print/OutputChooser.h"

#include <QString>

#include <deque>
#include <functional>
#include <map>

class ScriptedModalRunner final : public ModalRunner {
public:
    using Driver = std::function<void(QDialog&)>;

    // The next dialog with this object name is shown and handed to `driver`; a dialog still
    // open when its driver returns (or that has no driver) is rejected, as closing its window
    // would.
    void onNext(const QString& objectName, Driver driver);

    int run(QDialog& dialog) override;

private:
    std::map<QString, std::deque<Driver>> next_;
};

class ScriptedOutputChooser final : public OutputChooser {
public:
    // The next print dialog prints `copies` copies into the PDF file `pdfPath`, with the pictures
    // when asked; a dialog with nothing queued is cancelled.
    void queuePrintToPdf(const QString& pdfPath, int copies = 1, bool includePictures = false);
    // The next file dialog returns this name; an empty name, or nothing queued, cancels it.
    void queueFileName(const QString& path);
    // The default printer writes this PDF file; empty: there is no printer.
    void setDefaultPrinterPdf(const QString& pdfPath) { defaultPdf_ = pdfPath; }

    bool choosePrinter(QPrinter& printer, QWidget* parent) override;
    bool choosePrinterWithPictures(QPrinter& printer, QWidget* parent, bool& includePictures) override;
    bool defaultPrinter(QPrinter& printer) override;
    QString saveFileName(QWidget* parent, const QString& caption, const QString& folder,
                         const QString& filter) override;
    QString openFileName(QWidget* parent, const QString& caption, const QString& folder,
                         const QString& filter) override;

private:
    QString nextFile();

    struct PrintChoice {
        QString pdfPath;
        int copies = 1;
        bool includePictures = false;
    };
    std::deque<PrintChoice> prints_;
    std::deque<QString> files_;
    QString defaultPdf_;
};
