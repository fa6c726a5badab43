// The reference for start-up and memory: the least a Qt program with one main
// window does, built with the same Qt and flags as Tessaro.
#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Bare QMainWindow"));
    window.resize(640, 480);
    window.show();
    return QApplication::exec();
}
