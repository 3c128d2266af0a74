// Converts a ".vti" file, read by the independent reader, into the velocity
// dump's layout (ux, uy, density per point), so that a script can compare
// the program's VTK output with its raw dump byte for byte.
// Usage: vti_to_dump IN.vti OUT.dat
#include <QFile>

#include <cstdio>

#include "tests/sim/VtiReader.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: vti_to_dump IN.vti OUT.dat\n");
        return 2;
    }
    QFile in(QString::fromLocal8Bit(argv[1]));
    if (!in.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot open %s\n", argv[1]);
        return 1;
    }
    VtiImage image;
    if (const std::string error = ReadVti(in.readAll(), image); !error.empty()) {
        std::fprintf(stderr, "%s: %s\n", argv[1], error.c_str());
        return 1;
    }
    const auto& velocity = image.pointData["velocity"];
    const auto& density = image.pointData["density"];
    const size_t points = static_cast<size_t>(image.PointCount());
    if (velocity.components != 3 || velocity.values.size() != 3 * points || density.values.size() != points) {
        std::fprintf(stderr, "%s: arrays do not match the extent\n", argv[1]);
        return 1;
    }
    std::vector<float> dump(3 * points);
    for (size_t n = 0; n < points; ++n) {
        dump[3 * n] = velocity.values[3 * n];
        dump[3 * n + 1] = velocity.values[3 * n + 1];
        dump[3 * n + 2] = density.values[n];
    }
    QFile out(QString::fromLocal8Bit(argv[2]));
    if (!out.open(QIODevice::WriteOnly) ||
        out.write(reinterpret_cast<const char*>(dump.data()), static_cast<qint64>(dump.size() * sizeof(float))) !=
            static_cast<qint64>(dump.size() * sizeof(float)))
        return 1;
    return 0;
}
