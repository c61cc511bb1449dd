#include "print/ReportPrinter.h"

#include "engine/RuntimeError.h"
#include "report/AtomicFile.h"
#include "report/ReportText.h"

#include <QBuffer>
#include <QFile>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QStandardPaths>

#include <algorithm>

using namespace tallex;

namespace {

// A name ending in .pdf gets the printed pages; any other the text.
constexpr char kReportFilter[] = "Text (*.txt);;PDF (*.pdf);;All Files (*)";

QFont LineFont(const QString& family, const PrintedLine& line) {
    QFont font(family);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    font.setPointSizeF(line.pointSize);
    font.setBold(line.headingEmphasis);
    return font;
}

// One copy on a printer or a PDF writer; returns its pages.
int PaintCopy(QPainter& painter, QPagedPaintDevice& printer, const std::vector<PrintedLine>& plan,
              const QString& family, const PicturePainter& pictures = {}) {
    const QRectF area = printer.pageLayout().paintRectPixels(printer.logicalDpiY());
    double widest = 0;
    for (const PrintedLine& line : plan) {
        const QFontMetricsF metrics(LineFont(family, line), &printer);
        widest = std::max(widest, metrics.horizontalAdvance(QString::fromStdString(line.text)));
    }
    const double scale = widest > area.width() ? area.width() / widest : 1.0;
    const double height = area.height() / scale;
    painter.save();
    painter.scale(scale, scale);
    int pages = 1;
    double y = 0;
    bool pageUsed = false;
    for (const PrintedLine& line : plan) {
        const QFont font = LineFont(family, line);
        const QFontMetricsF metrics(font, &printer);
        const bool full = y + metrics.lineSpacing() > height;
        if (pageUsed && (line.newPageBefore || full)) {
            printer.newPage();
            ++pages;
            y = 0;
        }
        painter.setFont(font);
        painter.drawText(QPointF(0, y + metrics.ascent()), QString::fromStdString(line.text));
        y += metrics.lineSpacing();
        pageUsed = true;
    }
    painter.restore();
    if (pictures) {
        printer.newPage();
        ++pages;
        painter.save();
        pictures(painter, QRectF(QPointF(0, 0), area.size()));
        painter.restore();
    }
    return pages;
}

}  // namespace

ReportPrinter::ReportPrinter(OutputChooser& chooser, UserSeam& user) : chooser_(chooser), user_(user) {}

QString ReportPrinter::ReportFontFamily() {
    std::vector<std::string> families;
    for (const QString& family : QFontDatabase::families()) families.push_back(family.toStdString());
    const QString mono = QStringLiteral("Liberation Mono");
    const QString fallback =
        QFontDatabase::hasFamily(mono) ? mono : QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
    return QString::fromStdString(ChooseReportFont(families, fallback.toStdString()));
}

int ReportPrinter::PrintPlan(QPrinter& printer, const std::vector<PrintedLine>& plan, const QString& family, int copies,
                             const PicturePainter& pictures) {
    copies = std::max(1, copies);
    printer.setCopyCount(1);
    int pages = 0;
    if (printer.outputFormat() == QPrinter::PdfFormat) {
        QPainter painter;
        if (!painter.begin(&printer)) return 0;
        for (int copy = 0; copy < copies; ++copy) {
            if (copy > 0) printer.newPage();
            pages = PaintCopy(painter, printer, plan, family, pictures);
        }
        return painter.end() ? pages : 0;
    }
    for (int copy = 0; copy < copies; ++copy) {
        QPainter painter;
        if (!painter.begin(&printer)) return 0;
        pages = PaintCopy(painter, printer, plan, family, pictures);
        if (!painter.end()) return 0;
    }
    return pages;
}

void ReportPrinter::print(QWidget* parent, const ReportComposer& compose, const PicturePainter& pictures) {
    QPrinter printer(QPrinter::HighResolution);
    // Narrow margins, as on the printers the report was laid out for.
    printer.setPageMargins(QMarginsF(18, 18, 18, 18), QPageLayout::Point);
    bool includePictures = false;
    const bool chosen = pictures ? chooser_.choosePrinterWithPictures(printer, parent, includePictures)
                                 : chooser_.choosePrinter(printer, parent);
    if (!chosen) return;
    try {
        const std::vector<PrintedLine> plan = PlanPrintedReport(compose());
        if (PrintPlan(printer, plan, ReportFontFamily(), printer.copyCount(),
                      includePictures ? pictures : PicturePainter{}) == 0)
            user_.show(ReportFailureMessage(false, kPrinterErrorNumber, kPrinterErrorDescription), kStyleCritical);
    } catch (const RuntimeError& e) {
        user_.show(ReportFailureMessage(false, e.number(), e.description()), kStyleCritical);
    }
}

QByteArray ReportPrinter::PdfOf(const std::vector<PrintedLine>& plan, const QString& family) {
    QBuffer pdf;
    pdf.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&pdf);
        writer.setCreator(QStringLiteral("TALLEX"));
        writer.setResolution(1200);
        // The printed report's page: the default paper, the same narrow margins.
        writer.setPageLayout(QPrinter(QPrinter::HighResolution).pageLayout());
        writer.setPageMargins(QMarginsF(18, 18, 18, 18), QPageLayout::Point);
        QPainter painter;
        if (!painter.begin(&writer)) return {};
        PaintCopy(painter, writer, plan, family);
        if (!painter.end()) return {};
    }
    return pdf.data();
}

void ReportPrinter::save(QWidget* parent, const ReportComposer& compose) {
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString name =
        chooser_.saveFileName(parent, QStringLiteral("Save Report"), folder, QString::fromLatin1(kReportFilter));
    if (name.isEmpty()) return;
    try {
        const bool asPdf = name.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive);
        std::string text;
        if (asPdf) {
            const QByteArray pdf = PdfOf(PlanPrintedReport(compose()), ReportFontFamily());
            if (pdf.isEmpty()) {
                user_.show(ReportFailureMessage(true, kPrinterErrorNumber, kPrinterErrorDescription), kStyleCritical);
                return;
            }
            text.assign(pdf.constData(), static_cast<std::size_t>(pdf.size()));
        } else {
            text = JoinReportLines(compose());
        }
        if (const auto failure = WriteFileAtomically(QFile::encodeName(name).toStdString(), text)) {
            user_.show(ReportFailureMessage(true, failure->number, failure->description), kStyleCritical);
            return;
        }
        user_.show("Report has been saved in " + name.toStdString() + ".", kStyleInformation);
    } catch (const RuntimeError& e) {
        user_.show(ReportFailureMessage(true, e.number(), e.description()), kStyleCritical);
    }
}
