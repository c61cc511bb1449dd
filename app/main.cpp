// TALLEX desktop program.

#include "shell/MainWindow.h"
#include "shell/QtUserSeam.h"
#include "shell/SettingsStore.h"
#include "shell/SingleInstance.h"
#include "widgets/AppStyle.h"

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
