#include "print/OutputChooser.h"

#include <QAbstractPrintDialog>
#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

bool DesktopOutputChooser::choosePrinter(QPrinter& printer, QWidget* parent) {
    QPrintDialog dialog(&printer, parent);
    // Copies and print to file; no selection or page range: the whole report is printed.
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog.setOption(QAbstractPrintDialog::PrintCollateCopies, true);
    return dialog.exec() == QDialog::Accepted;
}

bool DesktopOutputChooser::defaultPrinter(QPrinter& printer) {
    const QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) return false;
    printer.setPrinterName(info.printerName());
    return printer.isValid();
}

QString DesktopOutputChooser::saveFileName(QWidget* parent, const QString& caption, const QString& folder,
                                           const QString& filter) {
    return QFileDialog::getSaveFileName(parent, caption, folder, filter);
}

QString DesktopOutputChooser::openFileName(QWidget* parent, const QString& caption, const QString& folder,
                                           const QString& filter) {
    return QFileDialog::getOpenFileName(parent, caption, folder, filter);
}
