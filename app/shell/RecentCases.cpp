#include "shell/RecentCases.h"

#include "shell/IniFile.h"

#include <QFileInfo>

namespace {

constexpr char kSection[] = "Recent Cases";

std::string KeyOf(int index) { return "File" + std::to_string(index + 1); }

QStringList Stored(const tallex::IniFile& ini) {
    QStringList files;
    for (int i = 0; i < RecentCases::kMaxFiles; ++i) {
        const std::string value = ini.Read(kSection, KeyOf(i), "");
        if (!value.empty()) files << QString::fromStdString(value);
    }
    return files;
}

}  // namespace

RecentCases::RecentCases(const SettingsStore& settings) : settings_(settings) {}

QStringList RecentCases::files() const {
    const QStringList stored = Stored(settings_.load());
    QStringList existing;
    for (const QString& file : stored)
        if (QFileInfo(file).isFile()) existing << file;
    if (existing != stored) write(existing);
    return existing;
}

void RecentCases::add(const QString& path) const {
    const QString file = QFileInfo(path).absoluteFilePath();
    // A value longer than the settings file keeps would come back cut short.
    if (file.toStdString().size() > tallex::IniFile::kMaxValueLength) return;
    QStringList files = Stored(settings_.load());
    files.removeAll(file);
    files.prepend(file);
    while (files.size() > kMaxFiles) files.removeLast();
    write(files);
}

void RecentCases::write(const QStringList& files) const {
    tallex::IniFile ini = settings_.load();
    for (int i = 0; i < kMaxFiles; ++i)
        ini.Write(kSection, KeyOf(i), i < files.size() ? files[i].toStdString() : std::string());
    settings_.save(ini);
}
