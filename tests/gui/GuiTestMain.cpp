#include <gtest/gtest.h>

#include <QApplication>

#include "platform/Thread.h"

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    platform::SetMainThread();
    QApplication app(argc, argv);
    Q_INIT_RESOURCE(zel2);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
