#pragma once
// Where the settings file APR.INI lives and how it is read and saved.
//
// The file belongs beside the program, but a program installed system-wide cannot write there:
// then it lives in the user's configuration folder. A path given explicitly (constructor
// argument, or the TALLEX_SETTINGS_FILE environment variable, which the tests use) wins over
// both. Saving is atomic: the old file stays whole until the new one is complete.

#include "shell/IniFile.h"

#include <QString>

class SettingsStore {
public:
    enum class Location { Explicit, ProgramFolder, UserConfigFolder };

    // Chooses the file: the explicit path when given (or set in the environment), else the
    // program's folder when it is writable, else the user's configuration folder.
    static SettingsStore Locate(const QString& explicitPath = {});

    SettingsStore(QString path, Location location);

    const QString& path() const { return path_; }
    Location location() const { return location_; }
    // "program folder", "user configuration folder" or "given path", for the About box.
    QString locationDescription() const;

    // The file's contents; an empty file when it is missing or unreadable.
    tallex::IniFile load() const;
    // Writes the whole text atomically, creating the folder when needed; false on failure.
    bool save(const tallex::IniFile& ini) const;

private:
    QString path_;
    Location location_;
};
