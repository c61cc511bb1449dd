#include "dialogs/frmAbout.h"

#include "pages/PageLayout.h"

#include "shell/IniFile.h"
#include "shell/StartupTexts.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QStyle>
#include <QVBoxLayout>

using namespace page_layout;

QString SupportAddress(const tallex::IniFile& settings) {
    return QString::fromStdString(settings.Read("Options", "SupportAddress", kDefaultSupportAddress));
}

const QStringList& frmAbout::SystemInfoTools() {
    // The desktops' own system information programs, best first.
    static const QStringList tools = {QStringLiteral("hardinfo2"), QStringLiteral("hardinfo"),
                                      QStringLiteral("kinfocenter"), QStringLiteral("gnome-system-monitor")};
    return tools;
}

QString frmAbout::FindSystemInfoTool() {
    for (const QString& tool : SystemInfoTools()) {
        const QString path = QStandardPaths::findExecutable(tool);
        if (!path.isEmpty()) return path;
    }
    return {};
}

QString frmAbout::ConfigText(const AboutDetails& details) {
    const QString crlf = QStringLiteral("\r\n");
    return QStringLiteral("To report problems, send email to:") + crlf + QStringLiteral("\t") + details.supportAddress +
           crlf + crlf + QStringLiteral("Application Path=") + details.programFolder + crlf +
           QStringLiteral("Settings File=") + details.settingsPath + QStringLiteral(" (") + details.settingsLocation +
           QStringLiteral(")") + crlf;
}

frmAbout::frmAbout(const AboutDetails& details, tallex::UserSeam& user, QWidget* parent)
    : QDialog(parent), user_(user) {
    const QString title = QString::fromLatin1(tallex::kApplicationTitle);
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("About ") + title);
    setModal(true);

    auto* picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setPixmap(style()->standardIcon(QStyle::SP_FileDialogInfoView).pixmap(48, 48));
    auto* lblTitle = Heading(this, "lblTitle", title);
    auto* lblVersion = new QLabel(QStringLiteral("Version ") + QString::fromStdString(tallex::AppVersion()), this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));

    auto* FrameConfig = new QGroupBox(QStringLiteral(" Information ..."), this);
    FrameConfig->setObjectName(QStringLiteral("FrameConfig"));
    auto* TextConfig = new QPlainTextEdit(FrameConfig);
    TextConfig->setObjectName(QStringLiteral("TextConfig"));
    TextConfig->setReadOnly(true);
    TextConfig->setLineWrapMode(QPlainTextEdit::NoWrap);
    QString shown = ConfigText(details);
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    TextConfig->setPlainText(shown);
    auto* frameLayout = new QVBoxLayout(FrameConfig);
    frameLayout->addWidget(TextConfig);

    auto* cmdOK = Button(this, "cmdOK", QStringLiteral("OK"));
    auto* cmdSysInfo = Button(this, "cmdSysInfo", QStringLiteral("&System Info..."));
    cmdOK->setDefault(true);

    auto* heading = new QHBoxLayout;
    heading->addWidget(picIcon);
    auto* titles = new QVBoxLayout;
    titles->addWidget(lblTitle);
    titles->addWidget(lblVersion);
    heading->addLayout(titles);
    heading->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdSysInfo);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    layout->addLayout(heading);
    layout->addWidget(FrameConfig, 1);
    layout->addLayout(buttons);

    connect(cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(cmdSysInfo, &QPushButton::clicked, this, [this] { onSysInfo(); });
    setFixedSize(480, 300);
    cmdOK->setFocus(Qt::OtherFocusReason);
}

void frmAbout::onSysInfo() {
    const QString tool = FindSystemInfoTool();
    if (!tool.isEmpty() && QProcess::startDetached(tool, {})) return;
    // A plain message: no icon.
    user_.show(kSystemInfoUnavailable, 0);
}
