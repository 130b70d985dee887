#pragma once

#include <QApplication>
#include <QTest>

// main() of a widget test. The web engine wants its GL contexts shared, and that can
// only be asked for before the application object exists.
#define TARNIX_WIDGET_TEST_MAIN(TestClass)                                                      \
    int main(int argc, char** argv)                                                             \
    {                                                                                           \
        QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);                             \
        QApplication app(argc, argv);                                                           \
        TestClass test;                                                                         \
        return QTest::qExec(&test, argc, argv);                                                 \
    }
