// Extracts one entry of an archive with the install step's extractor and prints the seconds it took.
// Usage: bench_extract ARCHIVE ENTRY FOLDER
#include "download/ZipExtractor.h"

#include <QElapsedTimer>
#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s ARCHIVE ENTRY FOLDER\n", argv[0]);
        return 2;
    }
    QElapsedTimer clock;
    clock.start();
    const QString error = quorvel::zip_extractor::extractEntry(
        QString::fromLocal8Bit(argv[1]), QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    const double seconds = clock.nsecsElapsed() / 1e9;
    if (!error.isEmpty()) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return 1;
    }
    std::printf("%.3f\n", seconds);
    return 0;
}
