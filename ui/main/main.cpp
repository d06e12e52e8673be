#include "solver/fp_env.h"

#include <QApplication>
#include <QLabel>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    parvolin::fp::establish_environment();
    QLabel placeholder(QStringLiteral("Parvolin"));
    placeholder.show();
    return app.exec();
}
