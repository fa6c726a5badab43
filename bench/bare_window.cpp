// The reference for start-up and memory: the least a Qt program with one main
// window does, built with the same Qt and flags as Tessaro. With --text the
// window carries one label, so that the cost of Qt's font machinery, which
// any window with text pays, can be told apart from Tessaro's own work. With
// --frame it has Tessaro's size, a menu and a status bar of three panels, the
// frame every start pays before any of Tessaro's own controls.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <cstring>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Bare QMainWindow"));
    const bool frame = argc > 1 && std::strcmp(argv[1], "--frame") == 0;
    if (argc > 1 && std::strcmp(argv[1], "--text") == 0)
        window.setCentralWidget(new QLabel(QStringLiteral("Velt - Tessaro")));
    if (frame) {
        QMenu* menu = window.menuBar()->addMenu(QStringLiteral("Datei"));
        menu->addAction(QStringLiteral("Einstellungen"));
        menu->addAction(QStringLiteral("Beenden"));
        for (const char* panel : {"ID:", "VN:", "NN:"})
            window.statusBar()->addWidget(new QLabel(QString::fromLatin1(panel)), 1);
        window.setCentralWidget(new QWidget);
        window.resize(821, 812 + window.menuBar()->sizeHint().height());
    } else {
        window.resize(640, 480);
    }
    window.show();
    return QApplication::exec();
}
