// Writes the sample SQL database of forest units (LHP.sqlite) beside the program.
#include "tools/sql/SqlSample.h"

#include "platform/Exceptions.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: genklas_sql_sample <version-97 unit data> <program directory>\n");
        return 2;
    }
    try {
        sqlsample::writeSqlSample(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]));
    } catch (const Exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
