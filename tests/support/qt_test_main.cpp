// Test main: a headless QApplication (offscreen unless a platform is chosen)
// with the program's font fallbacks, then every GoogleTest case.
#include <gtest/gtest.h>

#include <QApplication>

#include "common/form_geometry.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    quorel::installFontFallbacks();
    return RUN_ALL_TESTS();
}
