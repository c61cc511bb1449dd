#include "shell/SettingsStore.h"

#include "report/AtomicFile.h"
#include "shell/StartupSettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

SettingsStore::SettingsStore(QString path, Location location) : path_(std::move(path)), location_(location) {}

SettingsStore SettingsStore::Locate(const QString& explicitPath) {
    if (!explicitPath.isEmpty()) return {explicitPath, Location::Explicit};
    const QString fromEnvironment = qEnvironmentVariable("TALLEX_SETTINGS_FILE");
    if (!fromEnvironment.isEmpty()) return {fromEnvironment, Location::Explicit};

    const QString fileName = QString::fromLatin1(tallex::kSettingsFileName);
    const QString programFolder = QCoreApplication::applicationDirPath();
    const QFileInfo folder(programFolder);
    const QFileInfo file(QDir(programFolder).filePath(fileName));
    if (folder.isDir() && folder.isWritable() && (!file.exists() || file.isWritable()))
        return {file.absoluteFilePath(), Location::ProgramFolder};
    const QString configFolder = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    return {QDir(configFolder).filePath(fileName), Location::UserConfigFolder};
}

QString SettingsStore::locationDescription() const {
    switch (location_) {
    case Location::ProgramFolder: return QStringLiteral("program folder");
    case Location::UserConfigFolder: return QStringLiteral("user configuration folder");
    case Location::Explicit: break;
    }
    return QStringLiteral("given path");
}

tallex::IniFile SettingsStore::load() const {
    QFile file(path_);
    if (!file.open(QIODevice::ReadOnly)) return {};
    // A settings file is a few lines; anything larger is not ours to read whole.
    constexpr qint64 kLimit = 1 << 20;
    const QByteArray bytes = file.read(kLimit);
    return tallex::IniFile::Parse(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

bool SettingsStore::save(const tallex::IniFile& ini) const {
    const QFileInfo info(path_);
    if (!QDir().mkpath(info.absolutePath())) return false;
    // Whole or not at all, as the reports and cases are written. (QSaveFile of Qt 6.4 reported
    // success on a full disk and left an empty file in place of the old one.)
    return !tallex::WriteFileAtomically(QFile::encodeName(info.absoluteFilePath()).toStdString(), ini.Text());
}
