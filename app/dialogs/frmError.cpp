#include "dialogs/frmError.h"

#include "pages/PageLayout.h"
#include "print/ReportPrinter.h"

#include "engine/Format.h"
#include "shell/CommonScreen.h"
#include "shell/StartupTexts.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QGridLayout>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QStorageInfo>
#include <QSysInfo>
#include <QThread>
#include <QVBoxLayout>

using namespace tallex;
using namespace page_layout;

namespace {

QLabel* NamedLabel(QWidget* parent, const QString& name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    return label;
}

// A "Key: value" line of a file under /proc; empty when there is none.
QString ProcValue(const char* file, const char* key) {
    QFile proc(QString::fromLatin1(file));
    if (!proc.open(QIODevice::ReadOnly)) return {};
    const QByteArray prefix(key);
    for (const QByteArray& line : proc.readAll().split('\n')) {
        if (!line.startsWith(prefix)) continue;
        const qsizetype colon = line.indexOf(':');
        if (colon >= 0) return QString::fromUtf8(line.mid(colon + 1).trimmed());
    }
    return {};
}

QString Megabytes(qint64 kilobytes) { return QLocale::c().toString(kilobytes / 1024) + QStringLiteral(" MB"); }

// The desktop session (GNOME, KDE, ...) and the display system it runs on.
QString DesktopSession() {
    QString desktop = qEnvironmentVariable("XDG_CURRENT_DESKTOP");
    if (desktop.isEmpty()) desktop = qEnvironmentVariable("DESKTOP_SESSION");
    if (desktop.isEmpty()) desktop = QStringLiteral("none");
    QString display = qEnvironmentVariable("XDG_SESSION_TYPE");
    if (display.isEmpty()) display = QGuiApplication::platformName();
    return desktop + QStringLiteral(" (") + display + QStringLiteral(")");
}

QString Memory() {
    const QString available = ProcValue("/proc/meminfo", "MemAvailable:");
    const QString total = ProcValue("/proc/meminfo", "MemTotal:");
    if (available.isEmpty() || total.isEmpty()) return QStringLiteral("unknown");
    // The values are in kB.
    return Megabytes(available.section(QLatin1Char(' '), 0, 0).toLongLong()) + QStringLiteral(" available of ") +
           Megabytes(total.section(QLatin1Char(' '), 0, 0).toLongLong());
}

QString Processor() {
    QString model = ProcValue("/proc/cpuinfo", "model name");
    if (model.isEmpty()) model = QSysInfo::currentCpuArchitecture();
    return model + QStringLiteral(", %1 threads").arg(QThread::idealThreadCount());
}

QString OperatingSystem() {
    return QSysInfo::prettyProductName() + QStringLiteral(", ") + QSysInfo::kernelType() + QLatin1Char(' ') +
           QSysInfo::kernelVersion();
}

QString FreeSpace(const QString& folder) {
    const QStorageInfo storage(folder.isEmpty() ? QCoreApplication::applicationDirPath() : folder);
    if (!storage.isValid()) return QStringLiteral("unknown");
    return Megabytes(storage.bytesAvailable() / 1024) + QStringLiteral(" in ") +
           QDir::toNativeSeparators(storage.rootPath());
}

// The error information is printed in Courier when the printer has it.
QString ErrorFontFamily() {
    for (const QString& family : QFontDatabase::families()) {
        const QString upper = family.toUpper();
        if (upper == QStringLiteral("COURIER") || upper == QStringLiteral("COURIER NEW")) return family;
    }
    return ReportPrinter::ReportFontFamily();
}

}  // namespace

QString ErrorScreenVersion() {
    return QString::fromStdString(AppVersion()) + QStringLiteral(" - ") + QStringLiteral("April 2007");
}

frmError::frmError(const ErrorDetails& details, OutputChooser& printers, UserSeam& user,
                   std::function<void()> showAbout, QWidget* parent)
    : QDialog(parent), printers_(printers), user_(user), showAbout_(std::move(showAbout)) {
    setObjectName(QStringLiteral("frmError"));
    setWindowTitle(QStringLiteral("TALLEX Program Error"));
    setModal(true);

    const QDate day = details.when.date();
    date_ = QString::fromStdString(FormatShortDate(day.year(), day.month(), day.day()));
    time_ = QLocale::c().toString(details.when.time(), QStringLiteral("h:mm:ss AP"));
    number_ = QString::number(details.number);
    message_ = QString::fromStdString(details.description);
    activeForm_ = details.activeForm.isEmpty() ? QStringLiteral("None") : details.activeForm;
    version_ = ErrorScreenVersion();

    auto* Label7 = NamedLabel(this, QStringLiteral("Label7"),
                              QStringLiteral("A program error has occurred.  Data integity may be compromised."));
    QFont bold = Label7->font();
    bold.setBold(true);
    Label7->setFont(bold);
    auto* Label3_0 =
        NamedLabel(this, QStringLiteral("Label3_0"), QStringLiteral("Current loan data has been discarded."));
    auto* Label3_1 = NamedLabel(this, QStringLiteral("Label3_1"),
                                QStringLiteral("You must create a new loan or exit from the program."));

    auto* Frame1 = new QGroupBox(QStringLiteral("Error Info"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    auto* info = new QGridLayout(Frame1);
    info->setHorizontalSpacing(10);
    const std::pair<const char*, const char*> infoLabels[] = {{"Label1", "Error #:"},
                                                              {"Label2", "Error Message:"},
                                                              {"Label6", "Active Form:"},
                                                              {"Label8", "Program Version:"}};
    const std::pair<const char*, QString> infoValues[] = {
        {"lblErrNum", number_}, {"lblErrMsg", message_}, {"lblFormCaption", activeForm_}, {"lblVersion", version_}};
    for (int i = 0; i < 4; ++i) {
        info->addWidget(
            NamedLabel(Frame1, QString::fromLatin1(infoLabels[i].first), QString::fromLatin1(infoLabels[i].second)), i,
            0);
        QLabel* value = NamedLabel(Frame1, QString::fromLatin1(infoValues[i].first), infoValues[i].second);
        value->setFont(bold);
        value->setWordWrap(true);
        info->addWidget(value, i, 1);
    }
    info->setColumnStretch(1, 1);

    auto* Frame2 = new QGroupBox(QStringLiteral("PC Info"), this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    auto* pc = new QGridLayout(Frame2);
    pc->setHorizontalSpacing(10);
    pc->setVerticalSpacing(2);
    // The facts a support person asks for on Linux; the labels keep the names of the form.
    const std::pair<const char*, QString> pcRows[] = {
        {"Desktop Session:", DesktopSession()},
        {"Memory:", Memory()},
        {"Operating System:", OperatingSystem()},
        {"Processor:", Processor()},
        {"Architecture:", QSysInfo::currentCpuArchitecture()},
        {"Free Space (settings folder):", FreeSpace(details.settingsFolder)},
    };
    const char* const pcNames[] = {"lblWindowsMode", "lblMemory",      "lblFreeResources",
                                   "lblCPUType",     "lblCoprocessor", "lblDriveSpace"};
    for (int i = 0; i < 6; ++i) {
        pc->addWidget(NamedLabel(Frame2, QStringLiteral("Label9_%1").arg(i), QString::fromLatin1(pcRows[i].first)), i,
                      0);
        QLabel* value = NamedLabel(Frame2, QString::fromLatin1(pcNames[i]), pcRows[i].second);
        value->setWordWrap(true);
        pc->addWidget(value, i, 1);
    }
    pc->setColumnStretch(1, 1);

    auto* when = new QHBoxLayout;
    when->addWidget(NamedLabel(this, QStringLiteral("lblDate"), date_));
    when->addSpacing(12);
    when->addWidget(NamedLabel(this, QStringLiteral("lblTime"), time_));
    when->addStretch();

    auto* actions = new QGridLayout;
    actions->setHorizontalSpacing(12);
    const struct {
        const char* name;
        const char* caption;
        const char* explanation;
    } buttons[] = {
        {"cmdNewLoan", "&New Loan", "Re-enter data for current loan or start on a new loan."},
        {"cmdPrint", "&Print", "Print the current error information."},
        {"cmdSupport", "&Support", "Get information on whom you can contact for program support."},
        {"cmdExit", "E&xit", "Exit from the program."},
    };
    QPushButton* made[4] = {};
    for (int i = 0; i < 4; ++i) {
        made[i] = Button(this, buttons[i].name, QString::fromLatin1(buttons[i].caption));
        actions->addWidget(made[i], i, 0);
        QLabel* explanation =
            NamedLabel(this, QStringLiteral("Label5_%1").arg(i), QString::fromLatin1(buttons[i].explanation));
        explanation->setWordWrap(true);
        actions->addWidget(explanation, i, 1);
    }
    actions->setColumnStretch(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    layout->setSpacing(kSpacing);
    layout->addWidget(Label7);
    layout->addWidget(Label3_0);
    layout->addWidget(Label3_1);
    layout->addWidget(Frame1);
    layout->addWidget(Frame2);
    layout->addLayout(when);
    layout->addLayout(actions);

    connect(made[0], &QPushButton::clicked, this, [this] { done(kChoiceNewLoan); });
    connect(made[1], &QPushButton::clicked, this, [this] { printErrorInformation(); });
    connect(made[2], &QPushButton::clicked, this, [this] {
        try {
            if (showAbout_) showAbout_();
        } catch (...) {
            // The About box is information only; the error screen stays.
        }
    });
    connect(made[3], &QPushButton::clicked, this, [this] { done(kChoiceExit); });
    made[0]->setDefault(true);
    made[0]->setFocus(Qt::OtherFocusReason);

    setFixedSize(sizeHint().expandedTo(QSize(520, 0)));
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    QApplication::beep();
}

QStringList frmError::printedLines() const {
    return {QStringLiteral("APR Program Error - ") + date_ + QStringLiteral(" ") + time_,
            QString(),
            QString(),
            QStringLiteral("   Error Message:          ") + message_,
            QStringLiteral("   Error #:                ") + number_,
            QStringLiteral("   Active Form:            ") + activeForm_,
            QStringLiteral("   APR Version:            ") + version_};
}

bool frmError::printErrorInformation() {
    std::string failure;
    try {
        QPrinter printer(QPrinter::HighResolution);
        if (!printers_.defaultPrinter(printer)) {
            failure = "No printer is installed.";
        } else {
            std::vector<PrintedLine> plan;
            for (const QString& line : printedLines())
                plan.push_back(PrintedLine{line.toStdString(), false, 11, false});
            plan.front().headingEmphasis = true;
            if (ReportPrinter::PrintPlan(printer, plan, ErrorFontFamily(), 1) == 0) failure = kPrinterErrorDescription;
        }
    } catch (const std::exception& e) {
        failure = e.what();
    }
    if (failure.empty()) return true;
    user_.show("The following error occurred while trying to print:" + std::string(kCrLf) + failure, kStyleCritical);
    return false;
}
