// TALLEX desktop program.

#include "shell/MainWindow.h"
#include "shell/QtUserSeam.h"
#include "shell/SettingsStore.h"
#include "shell/SingleInstance.h"

#include "shell/StartupTexts.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(QString::fromLatin1(tallex::kApplicationTitle));
    QApplication::setApplicationVersion(QString::fromStdString(tallex::AppVersion()));
    // Every window takes the application's icon; under Wayland the shell takes it from the
    // installed .desktop file, found by this name.
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/icons/" TALLEX_APP_ID ".svg")));
    QGuiApplication::setDesktopFileName(QStringLiteral(TALLEX_APP_ID));

    // `tallex review.tallex` opens the case.
    QCommandLineParser arguments;
    arguments.addHelpOption();
    arguments.addVersionOption();
    arguments.addPositionalArgument(QStringLiteral("case"), QStringLiteral("A case file to open."),
                                    QStringLiteral("[case]"));
    arguments.process(application);
    const QString caseFile = arguments.positionalArguments().value(0);

    QtUserSeam user;
    SingleInstance instance;
    if (!ContinueAfterInstanceCheck(instance, user, caseFile)) return 0;

    MainWindow window(user, SettingsStore::Locate());
    QObject::connect(&instance, &SingleInstance::raiseRequested, &window, &MainWindow::bringToFront);
    QObject::connect(&instance, &SingleInstance::openRequested, &window, &MainWindow::openCaseWhenReady);
    window.start(caseFile);
    return QApplication::exec();
}
