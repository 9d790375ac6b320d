#include "launcher/LightStyle.h"

#include <QApplication>
#include <gtest/gtest.h>

int main(int argc, char* argv[])
{
    if (qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // Tests never reach the real vendor: without a simulated service, its address is a closed loopback port.
    qputenv("QUORVEL_HOST", "127.0.0.1:9");
    QApplication app(argc, argv);
    quorvel::applyLightStyle(app);
    QApplication::setQuitOnLastWindowClosed(false);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
