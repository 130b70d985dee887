// SPDX-License-Identifier: MIT
// The smallest Qt 6 widgets program of Tarnix's shape: a titled window with a menu bar
// and one line edit, at the main window's size. The honest baseline for Tarnix's
// start-up time and memory: nothing set beyond the widgets, built with the same flags.
#include <QApplication>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Bare Qt window"));
    window.menuBar()->addMenu(QStringLiteral("&File"));
    window.setCentralWidget(new QLineEdit);
    window.resize(617, 156);
    window.show();
    return QApplication::exec();
}
