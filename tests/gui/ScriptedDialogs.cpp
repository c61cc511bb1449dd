#include "ScriptedDialogs.h"

#include <QApplication>
#include <QDialog>
#include <QPrinter>

void ScriptedModalRunner::onNext(const QString& objectName, Driver driver) {
    next_[objectName].push_back(std::move(driver));
}

int ScriptedModalRunner::run(QDialog& dialog) {
    Driver driver;
    if (auto it = next_.find(dialog.objectName()); it != next_.end() && !it->second.empty()) {
        driver = std::move(it->second.front());
        it->second.pop_front();
    }
    dialog.setResult(QDialog::Rejected);
    dialog.show();
    QApplication::processEvents();
    if (driver) driver(dialog);
    if (dialog.isVisible()) dialog.reject();
    QApplication::processEvents();
    return dialog.result();
}

void ScriptedOutputChooser::queuePrintToPdf(const QString& pdfPath, int copies, bool includePictures) {
    prints_.push_back(PrintChoice{pdfPath, copies, includePictures});
}

void ScriptedOutputChooser::queueFileName(const QString& path) { files_.push_back(path); }

bool ScriptedOutputChooser::choosePrinterWithPictures(QPrinter& printer, QWidget* parent, bool& includePictures) {
    includePictures = !prints_.empty() && prints_.front().includePictures;
    return choosePrinter(printer, parent);
}

bool ScriptedOutputChooser::choosePrinter(QPrinter& printer, QWidget*) {
    if (prints_.empty()) return false;
    const PrintChoice choice = prints_.front();
    prints_.pop_front();
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(choice.pdfPath);
    printer.setCopyCount(choice.copies);
    return true;
}

bool ScriptedOutputChooser::defaultPrinter(QPrinter& printer) {
    if (defaultPdf_.isEmpty()) return false;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(defaultPdf_);
    return true;
}

QString ScriptedOutputChooser::nextFile() {
    if (files_.empty()) return {};
    const QString name = files_.front();
    files_.pop_front();
    return name;
}

QString ScriptedOutputChooser::saveFileName(QWidget*, const QString&, const QString&, const QString&) {
    return nextFile();
}

QString ScriptedOutputChooser::openFileName(QWidget*, const QString&, const QString&, const QString&) {
    return nextFile();
}
