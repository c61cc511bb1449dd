// TALLEX desktop program.

#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName("TALLEX");
    QMainWindow window;
    window.setWindowTitle("TALLEX");
    window.setFixedSize(649, 500);
    window.show();
    return QApplication::exec();
}
