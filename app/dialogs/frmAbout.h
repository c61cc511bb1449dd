#pragma once
// The About box: the program's title and version, where to report problems, the program's
// folder and the settings file in use, and a way to start the desktop's system information tool.

#include "ui/UserSeam.h"

#include <QDialog>
#include <QString>
#include <QStringList>

namespace tallex {
class IniFile;
}

struct AboutDetails {
    QString supportAddress;
    QString programFolder;
    QString settingsPath;
    QString settingsLocation;  // "program folder", "user configuration folder" or "given path"
};

// The address for problem reports: [Options] SupportAddress of the settings file, or the
// default below when it is not set.
QString SupportAddress(const tallex::IniFile& settings);
inline constexpr char kDefaultSupportAddress[] = "tallex-support@example.org";

inline constexpr char kSystemInfoUnavailable[] = "System Information Is Unavailable At This Time";

class frmAbout : public QDialog {
    Q_OBJECT
public:
    frmAbout(const AboutDetails& details, tallex::UserSeam& user, QWidget* parent = nullptr);

    // The information text, each line ending with CR LF.
    static QString ConfigText(const AboutDetails& details);
    // The first system information program found on PATH; empty when there is none.
    static QString FindSystemInfoTool();
    static const QStringList& SystemInfoTools();

private:
    void onSysInfo();

    tallex::UserSeam& user_;
};
