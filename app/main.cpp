// TALLEX desktop program.

#include "shell/MainWindow.h"
#include "shell/QtUserSeam.h"
#include "shell/SettingsStore.h"
#include "shell/SingleInstance.h"
#include "widgets/AppStyle.h"

#include "shell/StartupTexts.h"

#include <QApplication>
#include <QIcon>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(tallex::kApplicationTitle));
    QApplication::setApplicationVersion(QString::fromStdString(tallex::AppVersion()));
    // Every window takes the application's icon; under Wayland the shell takes it from the
    // installed .desktop file, found by this name.
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/" TALLEX_APP_ID ".svg")));
    QGuiApplication::setDesktopFileName(QStringLiteral(TALLEX_APP_ID));
    ApplyProgramStyle(application);

    QtUserSeam user;
    SingleInstance instance;
    if (!ContinueAfterInstanceCheck(instance, user)) return 0;

    MainWindow window(user, SettingsStore::Locate());
    QObject::connect(&instance, &SingleInstance::raiseRequested, &window, &MainWindow::bringToFront);
    window.start();
    return QApplication::exec();
}
