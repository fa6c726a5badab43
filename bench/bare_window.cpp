// The reference for start-up and memory: the least a Qt program with one main
// window does, built with the same Qt and flags as Tessaro. With --text the
// window carries one label, so that the cost of Qt's font machinery, which
// any window with text pays, can be told apart from Tessaro's own work.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <cstring>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Bare QMainWindow"));
    if (argc > 1 && std::strcmp(argv[1], "--text") == 0)
        window.setCentralWidget(new QLabel(QStringLiteral("Velt - Tessaro")));
    window.resize(640, 480);
    window.show();
    return QApplication::exec();
}
