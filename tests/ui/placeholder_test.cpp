#include <QApplication>

#include <gtest/gtest.h>

TEST(UiPlaceholder, ApplicationRunsOffscreen)
{
    EXPECT_EQ(QGuiApplication::platformName(), QStringLiteral("offscreen"));
}
