// Saves two contents in turn into the file it is given until it is killed:
// the test of a killed save stops it at random moments.
#include "app/fileio.h"

int main(int argc, char** argv) {
    if (argc != 2)
        return 2;
    const QString path = QString::fromLocal8Bit(argv[1]);
    const QByteArray contents[2] = {QByteArray(254, 'a'), QByteArray(254, 'b')};
    for (unsigned i = 0;; ++i)
        if (!corpo::WriteFileAtomically(path, contents[i % 2], nullptr))
            return 1;
}
