// One QApplication for all widget tests, on the offscreen platform.

#include "solver/fp_env.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char **argv)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    parvolin::fp::establish_environment();
    return RUN_ALL_TESTS();
}
