// One QApplication for all widget tests, on the offscreen platform.

#include "solver/fp_env.h"

#include <QApplication>

#include <gtest/gtest.h>

#include <cstdlib>

int main(int argc, char **argv)
{
    // A desktop-sized screen at 96 dpi, so that the window can grow as far as
    // it does on a desktop (the platform's own screen is 800 x 800).
    ::setenv("QT_QPA_PLATFORM", "offscreen:configfile=" PARVOLIN_UI_TEST_DATA "/desktop_screen.json", 1);
    ::testing::InitGoogleTest(&argc, argv);
    QApplication app(argc, argv);
    parvolin::fp::establish_environment();
    return RUN_ALL_TESTS();
}
