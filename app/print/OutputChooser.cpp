#include "print/OutputChooser.h"

#include <QAbstractPrintDialog>
#include <QCheckBox>
#include <QFileDialog>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QVBoxLayout>

namespace {

// Copies and print to file; no selection or page range: the whole report is printed.
void SetReportOptions(QPrintDialog& dialog) {
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog.setOption(QAbstractPrintDialog::PrintCollateCopies, true);
}

}  // namespace

bool DesktopOutputChooser::choosePrinterWithPictures(QPrinter& printer, QWidget* parent, bool& includePictures) {
    QPrintDialog dialog(&printer, parent);
    SetReportOptions(dialog);
    // The pictures are a page of their own after the report, printed only when asked for.
    auto* pictures = new QWidget(&dialog);
    pictures->setWindowTitle(QStringLiteral("Pictures"));
    auto* box = new QCheckBox(QStringLiteral("Include &pictures (a page after the report)"), pictures);
    box->setObjectName(QStringLiteral("chkIncludePictures"));
    auto* layout = new QVBoxLayout(pictures);
    layout->addWidget(box);
    layout->addStretch();
    dialog.setOptionTabs({pictures});
    const bool accepted = dialog.exec() == QDialog::Accepted;
    includePictures = accepted && box->isChecked();
    return accepted;
}

bool DesktopOutputChooser::choosePrinter(QPrinter& printer, QWidget* parent) {
    QPrintDialog dialog(&printer, parent);
    SetReportOptions(dialog);
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
