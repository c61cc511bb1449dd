#include "review/TapeReviewWindow.h"

#include "print/ReportPrinter.h"
#include "shell/CaseFileActions.h"
#include "shell/MainWindow.h"

#include "engine/RuntimeError.h"
#include "report/OutputPlan.h"
#include "report/ReportText.h"

#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

using namespace tallex;
using tallex::cli::BatchSummary;

namespace {

constexpr char kTapeFilter[] = "Loan tapes (*.csv *.jsonl);;Case files (*.json);;All Files (*)";
constexpr char kExportFilter[] = "CSV (*.csv);;Excel workbook (*.xlsx)";

QString Count(long n) { return QLocale(QLocale::English).toString(static_cast<qlonglong>(n)); }

// A figure of the summary, its number in bold.
QString Figure(long n, const char* what) {
    return QStringLiteral("<b>%1</b>&nbsp;%2").arg(Count(n), QString::fromLatin1(what));
}

}  // namespace

TapeReviewWindow::TapeReviewWindow(MainWindow& window)
    : QWidget(&window, Qt::Window), window_(window), filter_(model_) {
    setObjectName(QStringLiteral("frmTapeReview"));
    setWindowTitle(QStringLiteral("Loan Tape Review"));
    resize(1120, 640);

    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    title_ = new QLabel(this);
    title_->setObjectName(QStringLiteral("lblTape"));
    QFont titleFont = title_->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.25);
    titleFont.setBold(true);
    title_->setFont(titleFont);
    title_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    openTape_ = new QPushButton(QStringLiteral("&Open Tape..."), this);
    openTape_->setObjectName(QStringLiteral("cmdOpenTape"));
    top->addWidget(title_, 1);
    top->addWidget(openTape_);
    layout->addLayout(top);

    // The counts of the command line's summary line, on a panel of their own.
    summary_ = new QLabel(this);
    summary_->setObjectName(QStringLiteral("lblSummary"));
    summary_->setTextFormat(Qt::RichText);
    summary_->setWordWrap(true);
    summary_->setFrameShape(QFrame::StyledPanel);
    summary_->setAutoFillBackground(true);
    summary_->setBackgroundRole(QPalette::Base);
    summary_->setMargin(6);
    layout->addWidget(summary_);

    auto* filters = new QHBoxLayout;
    show_ = new QComboBox(this);
    show_->setObjectName(QStringLiteral("cboShow"));
    show_->addItems({QStringLiteral("All cases"), QStringLiteral("Violations"), QStringLiteral("Refused"),
                     QStringLiteral("Subject to reimbursement")});
    auto* showLabel = new QLabel(QStringLiteral("&Show:"), this);
    showLabel->setBuddy(show_);
    account_ = new QLineEdit(this);
    account_->setObjectName(QStringLiteral("txtAccount"));
    account_->setPlaceholderText(QStringLiteral("Search by account"));
    account_->setClearButtonEnabled(true);
    auto* accountLabel = new QLabel(QStringLiteral("&Account:"), this);
    accountLabel->setBuddy(account_);
    shown_ = new QLabel(this);
    shown_->setObjectName(QStringLiteral("lblShown"));
    filters->addWidget(showLabel);
    filters->addWidget(show_);
    filters->addSpacing(12);
    filters->addWidget(accountLabel);
    filters->addWidget(account_, 1);
    filters->addSpacing(12);
    filters->addWidget(shown_);
    layout->addLayout(filters);

    table_ = new QTableView(this);
    table_->setObjectName(QStringLiteral("grdVerdicts"));
    table_->setModel(&filter_);
    // In the order of the tape until the user sorts.
    table_->horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
    table_->setSortingEnabled(true);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setAlternatingRowColors(true);
    table_->setWordWrap(false);
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->horizontalHeader()->setHighlightSections(false);
    // Columns are sized by the first rows, not by a thousand.
    table_->horizontalHeader()->setResizeContentsPrecision(64);
    table_->verticalHeader()->setResizeContentsPrecision(64);
    table_->setAccessibleName(QStringLiteral("Verdicts of the cases on the tape"));
    layout->addWidget(table_, 1);

    progress_ = new QProgressBar(this);
    progress_->setObjectName(QStringLiteral("prgCheck"));
    progress_->setRange(0, 1000);
    progress_->setTextVisible(false);
    status_ = new QLabel(this);
    status_->setObjectName(QStringLiteral("lblStatus"));
    cancel_ = new QPushButton(QStringLiteral("&Cancel"), this);
    cancel_->setObjectName(QStringLiteral("cmdCancel"));
    openCase_ = new QPushButton(QStringLiteral("Open in &Pages"), this);
    openCase_->setObjectName(QStringLiteral("cmdOpenInPages"));
    openCase_->setToolTip(QStringLiteral("Open the case in the pages (or double-click its row)"));
    print_ = new QPushButton(QStringLiteral("P&rint Reports..."), this);
    print_->setObjectName(QStringLiteral("cmdPrintReports"));
    print_->setToolTip(QStringLiteral("Print the reports of the selected cases, each from a new page"));
    export_ = new QPushButton(QStringLiteral("&Export..."), this);
    export_->setObjectName(QStringLiteral("cmdExport"));
    export_->setToolTip(QStringLiteral("Save the verdicts of every case as CSV or as a spreadsheet"));
    auto* close = new QPushButton(QStringLiteral("C&lose"), this);
    close->setObjectName(QStringLiteral("cmdClose"));
    // The progress of a check or an export sits between the actions and Close.
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(openCase_);
    buttons->addWidget(print_);
    buttons->addWidget(export_);
    buttons->addSpacing(16);
    buttons->addWidget(status_);
    buttons->addWidget(progress_, 1);
    buttons->addWidget(cancel_);
    buttons->addStretch(0);
    buttons->addWidget(close);
    layout->addLayout(buttons);

    // Every handler runs guarded, as the pages' handlers do.
    const auto guarded = [this](auto handler) { return [this, handler] { window_.guard([&] { handler(); }); }; };
    connect(openTape_, &QPushButton::clicked, this, guarded([this] { chooseTape(); }));
    connect(cancel_, &QPushButton::clicked, this, [this] { checker_.cancel(); });
    connect(openCase_, &QPushButton::clicked, this, guarded([this] { openInPages(table_->currentIndex()); }));
    connect(table_, &QTableView::doubleClicked, this,
            [this](const QModelIndex& index) { window_.guard([&] { openInPages(index); }); });
    connect(print_, &QPushButton::clicked, this, guarded([this] { printReports(); }));
    connect(export_, &QPushButton::clicked, this, guarded([this] { exportList(); }));
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    connect(show_, &QComboBox::currentIndexChanged, this, [this](int index) {
        filter_.setShow(static_cast<TapeReviewFilter::Show>(index));
        showSummary();
    });
    connect(account_, &QLineEdit::textChanged, this, [this](const QString& text) {
        filter_.setAccountSearch(text);
        showSummary();
    });
    connect(&checker_, &TapeChecker::rowsChecked, this, &TapeReviewWindow::batchArrived);
    connect(&checker_, &TapeChecker::progressed, progress_, &QProgressBar::setValue);
    connect(&checker_, &TapeChecker::finished, this, &TapeReviewWindow::jobFinished);
    showBusy(false, QString());
    showSummary();
}

TapeReviewWindow::~TapeReviewWindow() = default;

TapeReviewWindow* TapeReviewWindow::Open(MainWindow& window) {
    auto* review = window.findChild<TapeReviewWindow*>(QString(), Qt::FindDirectChildrenOnly);
    if (review && review->isVisible()) {
        review->raise();
        review->activateWindow();
        return review;
    }
    const QString folder = review && !review->tape_.isEmpty()
                               ? QFileInfo(review->tape_).absolutePath()
                               : QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    const QString name = window.outputChooser().openFileName(&window, QStringLiteral("Review Loan Tape"), folder,
                                                             QString::fromLatin1(kTapeFilter));
    if (name.isEmpty()) return review;
    if (!review) review = new TapeReviewWindow(window);
    review->show();
    review->review(name);
    return review;
}

void TapeReviewWindow::chooseTape() {
    const QString folder = tape_.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation)
                                           : QFileInfo(tape_).absolutePath();
    const QString name = window_.outputChooser().openFileName(this, QStringLiteral("Review Loan Tape"), folder,
                                                              QString::fromLatin1(kTapeFilter));
    if (!name.isEmpty()) review(name);
}

void TapeReviewWindow::review(const QString& path) {
    tape_ = path;
    exportName_.clear();
    const QFileInfo info(path);
    tapeModified_ = info.lastModified();
    tapeSize_ = info.size();
    title_->setText(info.fileName());
    title_->setToolTip(QDir::toNativeSeparators(info.absoluteFilePath()));
    setWindowTitle(QStringLiteral("Loan Tape Review - %1").arg(info.fileName()));
    // While the tape is checked, rows arrive at the end of the list: sorting each batch into
    // place would cost the window more than the check. The list is sorted once it is complete.
    filter_.setDynamicSortFilter(false);
    model_.clear();
    columnsSized_ = false;
    progress_->setValue(0);
    checker_.check(path);
    checking_.start();
    showBusy(true, QStringLiteral("Checking..."));
    showSummary();
}

void TapeReviewWindow::batchArrived(const std::shared_ptr<ReviewBatch>& batch) {
    model_.append(std::move(batch->rows), batch->summary);
    if (!columnsSized_ && model_.rowCount() > 0) {
        // Sized once, by the first rows: sizing by every row of a large tape would take long.
        table_->resizeColumnsToContents();
        for (int column = 0; column < model_.columnCount(); ++column)
            table_->setColumnWidth(column, std::min(table_->columnWidth(column), 320));
        columnsSized_ = true;
    }
    showSummary();
}

void TapeReviewWindow::jobFinished(const QString& problem, bool cancelled) {
    const QString exported = exportName_;
    exportName_.clear();
    showBusy(false, QString());
    UserSeam& user = window_.user();
    if (!exported.isEmpty()) {
        if (!problem.isEmpty())
            user.show("The verdicts cannot be exported to " + exported.toStdString() + ": " + problem.toStdString(),
                      kStyleCritical);
        else if (!cancelled)
            user.show("The verdicts have been exported to " + exported.toStdString() + ".", kStyleInformation);
        return;
    }
    filter_.setDynamicSortFilter(true);
    if (filter_.sortColumn() >= 0) filter_.sort(filter_.sortColumn(), filter_.sortOrder());
    const BatchSummary& summary = model_.summary();
    if (cancelled)
        status_->setText(QStringLiteral("Cancelled after %1 cases").arg(Count(summary.cases)));
    else
        status_->setText(
            QStringLiteral("Checked in %1 s").arg(static_cast<double>(checking_.elapsed()) / 1000, 0, 'f', 1));
    if (!problem.isEmpty())
        user.show("The loan tape " + tape_.toStdString() + " cannot be read: " + problem.toStdString(),
                  kStyleExclamation);
    else if (!cancelled && summary.cases == 0)
        user.show("The loan tape " + tape_.toStdString() + " holds no cases.", kStyleExclamation);
}

void TapeReviewWindow::showBusy(bool busy, const QString& what) {
    progress_->setVisible(busy);
    cancel_->setVisible(busy);
    cancel_->setEnabled(busy);
    if (busy) status_->setText(what);
    export_->setEnabled(!busy && !tape_.isEmpty());
    openTape_->setEnabled(true);
}

void TapeReviewWindow::showSummary() {
    const BatchSummary& s = model_.summary();
    summary_->setText(
        QStringLiteral("%1 &nbsp;&middot;&nbsp; %2 &nbsp;&middot;&nbsp; %3 &nbsp;&middot;&nbsp; %4 "
                       "&nbsp;&middot;&nbsp; %5<br>Violations: APR understated <b>%6</b>, APR overstated <b>%7</b>, "
                       "finance charge understated <b>%8</b>, finance charge overstated <b>%9</b>")
            .arg(Figure(s.cases, "cases"), Figure(s.checked, "checked"), Figure(s.failures, "refused"),
                 Figure(model_.violations(), "with a violation"), Figure(s.reimbursable, "subject to reimbursement"),
                 Count(s.aprUnder), Count(s.aprOver), Count(s.fcUnder), Count(s.fcOver)));
    shown_->setText(QStringLiteral("%1 of %2 shown").arg(Count(filter_.rowCount()), Count(model_.rowCount())));
    const bool any = filter_.rowCount() > 0;
    openCase_->setEnabled(any);
    print_->setEnabled(any);
}

std::string TapeReviewWindow::caseName(int sourceRow) const { return std::string(model_.rows().text(sourceRow, 0)); }

bool TapeReviewWindow::tapeUnchanged() {
    const QFileInfo info(tape_);
    if (info.exists() && info.lastModified() == tapeModified_ && info.size() == tapeSize_) return true;
    window_.user().show("The loan tape " + tape_.toStdString() + " has changed since it was checked. Open it again.",
                        kStyleExclamation);
    return false;
}

void TapeReviewWindow::openInPages(const QModelIndex& index) {
    if (!index.isValid()) {
        window_.user().show("Choose the case to open in the pages.", kStyleExclamation);
        return;
    }
    const int row = filter_.mapToSource(index).row();
    if (!tapeUnchanged()) return;
    casefile::CaseFile c;
    if (const auto problem = ReadCaseAt(checker_.walk(), model_.rows().location(row), c)) {
        window_.user().show(caseName(row) + " cannot be opened in the pages: " + *problem, kStyleExclamation);
        return;
    }
    window_.raise();
    window_.activateWindow();
    window_.caseFiles().showCase(c);
}

void TapeReviewWindow::exportList() {
    if (busy() || !tapeUnchanged()) return;
    const QString name = window_.outputChooser().saveFileName(
        this, QStringLiteral("Export Verdicts"), QFileInfo(tape_).absolutePath(), QString::fromLatin1(kExportFilter));
    if (name.isEmpty()) return;
    exportName_ = name;
    progress_->setValue(0);
    checker_.exportTo(name);
    showBusy(true, QStringLiteral("Exporting..."));
}

void TapeReviewWindow::printReports() {
    // The selected cases in the order the list shows them.
    QModelIndexList selected = table_->selectionModel()->selectedRows();
    std::sort(selected.begin(), selected.end(),
              [](const QModelIndex& a, const QModelIndex& b) { return a.row() < b.row(); });
    if (selected.isEmpty()) {
        window_.user().show("Select the cases whose reports to print.", kStyleExclamation);
        return;
    }
    if (!tapeUnchanged()) return;
    QPrinter printer(QPrinter::HighResolution);
    // The margins of the pages' own reports.
    printer.setPageMargins(QMarginsF(18, 18, 18, 18), QPageLayout::Point);
    if (!window_.outputChooser().choosePrinter(printer, this)) return;
    UserSeam& user = window_.user();
    try {
        std::vector<PrintedLine> plan;
        cli::CaseRun run;
        std::vector<std::string> skipped;
        for (const QModelIndex& index : selected) {
            const int row = filter_.mapToSource(index).row();
            casefile::CaseFile c;
            if (model_.rows().flags(row) & VerdictRows::Refused ||
                ReadCaseAt(checker_.walk(), model_.rows().location(row), c)) {
                skipped.push_back(caseName(row));
                continue;
            }
            // Composed as `tallex-cli report` composes it: the case run to its end.
            run.error.reset();
            cli::RunCaseFile(c, run);
            if (run.error) {
                skipped.push_back(caseName(row));
                continue;
            }
            std::vector<PrintedLine> report =
                PlanPrintedReport(WriteReport(*run.outcome.record, run.outcome.identity, TALLEX_VERSION));
            if (!plan.empty() && !report.empty()) report.front().newPageBefore = true;
            plan.insert(plan.end(), std::make_move_iterator(report.begin()), std::make_move_iterator(report.end()));
        }
        if (!skipped.empty()) {
            std::string names;
            for (const std::string& name : skipped) names += (names.empty() ? "" : ", ") + name;
            user.show("A refused case has no report: " + names + ".", kStyleExclamation);
        }
        if (plan.empty()) return;
        if (ReportPrinter::PrintPlan(printer, plan, ReportPrinter::ReportFontFamily(), printer.copyCount()) == 0)
            user.show(ReportFailureMessage(false, kPrinterErrorNumber, kPrinterErrorDescription), kStyleCritical);
    } catch (const RuntimeError& e) {
        user.show(ReportFailureMessage(false, e.number(), e.description()), kStyleCritical);
    }
}
