// TALLEX desktop program.

#include "AppStyle.h"
#include "MainWindow.h"
#include "QtUserSeam.h"
#include "SettingsStore.h"
#include "SingleInstance.h"

#include "shell/StartupTexts.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(tallex::kApplicationTitle));
    QApplication::setApplicationVersion(QString::fromStdString(tallex::AppVersion()));
    ApplyProgramStyle(application);

    QtUserSeam user;
    SingleInstance instance;
    if (!ContinueAfterInstanceCheck(instance, user)) return 0;

    MainWindow window(user, SettingsStore::Locate());
    QObject::connect(&instance, &SingleInstance::raiseRequested, &window, &MainWindow::bringToFront);
    window.start();
    return QApplication::exec();
}
