#pragma once
// The print and save driver of the results pages (regular results, reimbursement and the
// construction results), kept apart from any page so that each of them uses the same one.
//
// Print: the print dialog comes first (printer, copies, print to a PDF file); only then is the
// report composed, and it is printed line by line with the page breaks, sizes and emphasis of
// the core's output plan, in the first installed "COURIER*" family (else Liberation Mono, which
// has Courier's metrics, else the system's fixed-pitch family). Each copy is a document of its
// own; a PDF file holds the copies one after another.
// Save Report: the report as text with CR LF line ends, or, for a name ending in .pdf, as the
// printed pages (the same output plan, through QPdfWriter), written atomically to a file the
// user chooses; "Report has been saved in <name>." confirms it.
// Cancelling a dialog writes nothing and says nothing; a failure is reported with the printing
// or the saving message. The report stays in memory: no temporary file is written.

#include "print/OutputChooser.h"

#include "report/OutputPlan.h"
#include "ui/UserSeam.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <string>
#include <vector>

class QPainter;
class QPrinter;
class QRectF;
class QWidget;

using ReportComposer = std::function<std::vector<std::string>()>;
// Paints the pictures of the loan into the printable area of a page of their own.
using PicturePainter = std::function<void(QPainter& painter, const QRectF& area)>;

class ReportPrinter {
public:
    ReportPrinter(OutputChooser& chooser, tallex::UserSeam& user);

    // With `pictures`, the print dialog offers "Include pictures"; when ticked, each copy ends
    // with the pictures on a page after the report.
    void print(QWidget* parent, const ReportComposer& compose, const PicturePainter& pictures = {});
    void save(QWidget* parent, const ReportComposer& compose);

    static QString ReportFontFamily();
    // Paints `copies` copies of the planned lines on the chosen printer. A line wider than the
    // page shrinks the whole copy to fit rather than being cut. Returns the pages of one copy, 0
    // when the printer could not be started. `pictures`, when given, adds a page to each copy.
    static int PrintPlan(QPrinter& printer, const std::vector<tallex::PrintedLine>& plan, const QString& family,
                         int copies, const PicturePainter& pictures = {});
    // One copy of the planned lines as a PDF document; empty when it could not be made.
    static QByteArray PdfOf(const std::vector<tallex::PrintedLine>& plan, const QString& family);

private:
    OutputChooser& chooser_;
    tallex::UserSeam& user_;
};

// Printing errors are reported with the run-time's printer error.
inline constexpr int kPrinterErrorNumber = 482;
inline constexpr const char* kPrinterErrorDescription = "Printer error";
