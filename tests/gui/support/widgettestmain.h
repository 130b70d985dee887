// SPDX-License-Identifier: MIT
#pragma once

#include <QApplication>
#include <QTest>

// main() of a widget test. Nothing set before the application object: the program sets
// nothing either, and the browser pane must work that way.
#define TARNIX_WIDGET_TEST_MAIN(TestClass)                                                                             \
    int main(int argc, char** argv)                                                                                    \
    {                                                                                                                  \
        QApplication app(argc, argv);                                                                                  \
        TestClass test;                                                                                                \
        return QTest::qExec(&test, argc, argv);                                                                        \
    }
