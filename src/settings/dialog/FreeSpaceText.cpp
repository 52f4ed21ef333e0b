#include "settings/dialog/FreeSpaceText.h"

#include <cmath>

namespace {

constexpr double bytesPerGiB = 1073741824.0;
constexpr double tenThousandthsPerUnit = 10000.0;

// Written out rather than left to the floating-point rounding mode, so the
// result does not depend on how some library left that mode.
double roundHalfToEven(double value)
{
    const double below = std::floor(value);
    const double fraction = value - below;
    if (fraction > 0.5)
        return below + 1.0;
    if (fraction < 0.5)
        return below;
    return std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;
}

} // namespace

QString freeSpaceGiBText(qint64 freeBytes)
{
    if (freeBytes < 0)
        return QStringLiteral("0");
    const double gib = double(freeBytes) / bytesPerGiB;
    const double rounded = roundHalfToEven(gib * tenThousandthsPerUnit) / tenThousandthsPerUnit;
    // 'g' with 15 significant digits drops trailing zeros and stays in plain
    // notation for every size a disk can have.
    return QString::number(rounded, 'g', 15);
}
