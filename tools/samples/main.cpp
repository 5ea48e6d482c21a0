// Writes the sample installation (codebooks, two forest units, vkm.ini) beside the program.
#include "tools/samples/SampleData.h"

#include "platform/Exceptions.h"

#include <QCoreApplication>

#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: genklas_samples <data directory> <program directory>\n");
        return 2;
    }
    try {
        samples::writeSampleInstallation(QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]));
    } catch (const Exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
