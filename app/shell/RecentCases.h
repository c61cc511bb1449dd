#pragma once
// File > Recent Cases: the last eight case files opened or saved, newest first, kept in the
// settings file ([Recent Cases] File1 .. File8) so that they outlive the program. A file that is
// no longer there is dropped from the list when the list is read.

#include "shell/SettingsStore.h"

#include <QStringList>

class RecentCases {
public:
    static constexpr int kMaxFiles = 8;

    explicit RecentCases(const SettingsStore& settings);

    // The files that still exist, newest first; the settings file forgets the others.
    QStringList files() const;
    // Puts the file first (once); a failed write of the settings file is not reported.
    void add(const QString& path) const;

private:
    void write(const QStringList& files) const;

    const SettingsStore& settings_;
};
