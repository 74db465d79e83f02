#include "surfaces/LineRaster.h"

namespace cuttrace {

namespace {

__extension__ typedef __int128 Wide;

// The quotient and remainder of num / den (den > 0), in 64 bits when num fits.
inline Wide Quotient(Wide num, int64_t den) {
    if (num >= INT64_MIN && num <= INT64_MAX) return static_cast<int64_t>(num) / den;
    return num / den;
}
inline Wide Remainder(Wide num, int64_t den) {
    if (num >= INT64_MIN && num <= INT64_MAX) return static_cast<int64_t>(num) % den;
    return num % den;
}

inline int64_t CeilDiv(Wide num, int64_t den) {  // den > 0
    Wide q = Quotient(num, den);
    if (num > 0 && Remainder(num, den) != 0) ++q;
    constexpr int64_t kMax = INT64_MAX / 4;
    if (q > kMax) return kMax;
    if (q < -kMax) return -kMax;
    return static_cast<int64_t>(q);
}

}  // namespace

bool VisibleSteps(const PixelBuffer& buf, bool xMajor, int64_t majorStart, int64_t minorStart,
                  int64_t majorSign, int64_t minorSign, int64_t n, int64_t m, int64_t* first,
                  int64_t* stop, int64_t* minorSteps, int64_t* error) {
    const int64_t majorMax = (xMajor ? buf.width : buf.height) - 1;
    const int64_t minorMax = (xMajor ? buf.height : buf.width) - 1;
    // Steps whose major coordinate is inside.
    if (majorSign > 0) {
        *first = *first > -majorStart ? *first : -majorStart;
        *stop = *stop < majorMax - majorStart ? *stop : majorMax - majorStart;
    } else {
        *first = *first > majorStart - majorMax ? *first : majorStart - majorMax;
        *stop = *stop < majorStart ? *stop : majorStart;
    }
    // Steps whose minor coordinate is inside: q(i) in [qlo, qhi].
    const int64_t qlo = minorSign > 0 ? -minorStart : minorStart - minorMax;
    const int64_t qhi = minorSign > 0 ? minorMax - minorStart : minorStart;
    if (m == 0) {
        if (qlo > 0 || qhi < 0) return false;
    } else {
        const int64_t lo = CeilDiv(Wide{2} * n * qlo - n, 2 * m);
        const int64_t hi = CeilDiv(Wide{2} * n * (qhi + 1) - n, 2 * m) - 1;
        *first = *first > lo ? *first : lo;
        *stop = *stop < hi ? *stop : hi;
    }
    if (*first > *stop) return false;
    const Wide s = Wide{2} * *first * m + n;
    *minorSteps = static_cast<int64_t>(Quotient(s, 2 * n));
    *error = static_cast<int64_t>(Remainder(s, 2 * n));
    return true;
}

}  // namespace cuttrace
