// The smallest Qt 6 widgets program that shows a titled window with a menu bar: the
// baseline for Tarnix's start-up time and memory. Built with the same flags.
#include <QApplication>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char* argv[])
{
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Bare Qt window"));
    window.menuBar()->addMenu(QStringLiteral("&File"));
    window.resize(400, 150);
    window.show();
    return QApplication::exec();
}
