// The yardstick of the start-up benchmark: the least a Qt Widgets program
// does to put a window on the screen.
#include <QApplication>
#include <QLabel>
#include <QMainWindow>

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QMainWindow window;
    window.setCentralWidget(new QLabel(QStringLiteral("Kwizmar 2002")));
    window.resize(602, 307);
    window.show();
    return QApplication::exec();
}
