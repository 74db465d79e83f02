// The stored path's byte coding: item tags, point headers with thousandth steps (an escape
// to the raw double for other values), varints and the arc kinds. Internal to the path
// store (VertexList*.cpp); nothing else includes it.
#pragma once

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "core/MotionRecord.h"
#include "core/Point3.h"

namespace cuttrace::path_store {

inline constexpr std::size_t kBlockBytes = std::size_t{1} << 16;
// Room for the largest item (an arc with raw values) and the color and kind before it.
inline constexpr std::size_t kItemRoom = 80;

// Item tags. A byte below 0x80 is the header of a line point; 0x40 in either marks the first
// item of a motion.
inline constexpr uint8_t kTagBit = 0x80;
inline constexpr uint8_t kMotionBit = 0x40;
inline constexpr uint8_t kKindMask = 0x3F;
enum : uint8_t { kMove = 1, kArc = 2, kDrill = 3, kMark = 4, kColor = 5, kClipped = 6 };

// Axis codes of a point header (two bits an axis, x lowest): no change, an 8-bit step, a
// 16-bit step, or long (a varint step, or the raw double when the long-form byte says so).
enum : uint8_t { kSame = 0, kByte = 1, kShort = 2, kLong = 3 };

// Values beyond this are not taken as thousandths (their thousandths need not fit).
inline constexpr double kThousandthsLimit = 9e12;

// A value that is exactly n thousandths, read back as n / 1000.0.
inline bool Thousandths(double v, int64_t& n) {
    if (!(v > -kThousandthsLimit && v < kThousandthsLimit)) return false;
    // The nearest whole number, rounded in registers (a value it misses by a step fails
    // the check below and is kept raw: exact either way).
    const double scaled = v * 1000.0;
    n = static_cast<int64_t>(scaled + (scaled < 0.0 ? -0.5 : 0.5));
    return std::bit_cast<uint64_t>(static_cast<double>(n) / 1000.0) == std::bit_cast<uint64_t>(v);
}

inline uint64_t ZigZag(int64_t v) {
    return (static_cast<uint64_t>(v) << 1) ^ static_cast<uint64_t>(v >> 63);
}
inline int64_t UnZigZag(uint64_t v) {
    return static_cast<int64_t>(v >> 1) ^ -static_cast<int64_t>(v & 1);
}

inline void PutVarint(uint8_t*& w, uint64_t v) {
    while (v >= 0x80) {
        *w++ = static_cast<uint8_t>(v | 0x80);
        v >>= 7;
    }
    *w++ = static_cast<uint8_t>(v);
}
inline uint64_t GetVarint(const uint8_t*& r) {
    uint64_t v = 0;
    for (int shift = 0;; shift += 7) {
        const uint8_t b = *r++;
        v |= static_cast<uint64_t>(b & 0x7F) << shift;
        if (b < 0x80 || shift >= 63) return v;
    }
}

template <class T>
inline void PutRaw(uint8_t*& w, T value) {
    std::memcpy(w, &value, sizeof value);
    w += sizeof value;
}
template <class T>
inline T GetRaw(const uint8_t*& r) {
    T value;
    std::memcpy(&value, r, sizeof value);
    r += sizeof value;
    return value;
}

inline double Axis(const Point3& p, int axis) {
    return axis == 0 ? p.x : axis == 1 ? p.y : p.z;
}

// Writes a point's header (high bits from `high`) and its values against last: the last
// thousandths of each axis (last.n) and the bits of the values they stand for (last.bits; a
// value that repeats them is known to be that many thousandths without the check). Needs
// room for two bytes past the point (an item's room has them).
template <class StepBase>
inline void EncodePoint(uint8_t*& w, uint8_t high, const Point3& p, StepBase& last) {
    uint8_t codes = 0;
    uint8_t rawMask = 0;
    int64_t steps[3] = {0, 0, 0};
    const auto take = [&](int a, double v) {
        int64_t n = 0;
        uint8_t code = kLong;
        const uint64_t bits = std::bit_cast<uint64_t>(v);
        if (bits == last.bits[a]) {
            code = kSame;
        } else if (Thousandths(v, n)) {
            const int64_t step = n - last.n[a];
            last.n[a] = n;
            last.bits[a] = bits;
            steps[a] = step;
            code = step == 0                        ? kSame
                   : step >= -128 && step < 128     ? kByte
                   : step >= -32768 && step < 32768 ? kShort
                                                    : kLong;
        } else {
            rawMask = static_cast<uint8_t>(rawMask | (1 << a));
        }
        codes = static_cast<uint8_t>(codes | (code << (2 * a)));
    };
    take(0, p.x);
    take(1, p.y);
    take(2, p.z);
    *w++ = static_cast<uint8_t>(high | codes);
    const bool anyLong = (codes & 0x15) & (codes >> 1);  // an axis with both bits set
    if constexpr (std::endian::native == std::endian::little) {
        if (!anyLong) {
            // Steps of no, one or two bytes (the code is the size): each written as two bytes,
            // of which a one-byte step's is the first, and the pointer moved on by its size.
            const auto put = [&](int a) {
                const auto step = static_cast<int16_t>(steps[a]);
                std::memcpy(w, &step, sizeof step);
                w += (codes >> (2 * a)) & 3;
            };
            put(0);
            put(1);
            put(2);
            return;
        }
    }
    if (anyLong) *w++ = rawMask;
    for (int a = 0; a < 3; ++a) {
        switch ((codes >> (2 * a)) & 3) {
            case kByte:
                PutRaw(w, static_cast<int8_t>(steps[a]));
                break;
            case kShort:
                PutRaw(w, static_cast<int16_t>(steps[a]));
                break;
            case kLong:
                if (rawMask & (1 << a)) {
                    PutRaw(w, Axis(p, a));
                } else {
                    PutVarint(w, ZigZag(steps[a]));
                }
                break;
            default:
                break;
        }
    }
}

// A point with a long step or a raw value (see DecodePoint).
[[gnu::noinline]] inline Point3 DecodeLongPoint(const uint8_t*& r, uint8_t codes,
                                                int64_t (&last)[3]) {
    const uint8_t rawMask = *r++;
    double v[3];
    for (int a = 0; a < 3; ++a) {
        const uint8_t code = (codes >> (2 * a)) & 3;
        if (code == kLong && (rawMask & (1 << a))) {
            v[a] = GetRaw<double>(r);
            continue;
        }
        switch (code) {
            case kByte:
                last[a] += GetRaw<int8_t>(r);
                break;
            case kShort:
                last[a] += GetRaw<int16_t>(r);
                break;
            case kLong:
                last[a] += UnZigZag(GetVarint(r));
                break;
            default:
                break;
        }
        v[a] = static_cast<double>(last[a]) / 1000.0;
    }
    return {v[0], v[1], v[2]};
}

// Reads a point that EncodePoint wrote with this header against the last thousandths.
[[gnu::always_inline]] inline Point3 DecodePoint(const uint8_t*& r, uint8_t header,
                                                 int64_t (&last)[3]) {
    const uint8_t codes = header & kKindMask;
    const bool anyLong = (codes & 0x15) & (codes >> 1);
    if (anyLong) [[unlikely]]
        return DecodeLongPoint(r, codes, last);
    // Steps of no, one or two bytes (the code is the size).
    const auto step = [&r](unsigned size) -> int32_t {
        if constexpr (std::endian::native == std::endian::little) {
            // Read as the two bytes EncodePoint wrote for it, cut to its size and widened
            // with its sign.
            static constexpr int32_t kMask[3] = {0, 0xFF, 0xFFFF};
            static constexpr int32_t kSign[3] = {0, 0x80, 0x8000};
            uint16_t raw;
            std::memcpy(&raw, r, sizeof raw);
            r += size;
            return ((static_cast<int32_t>(raw) & kMask[size]) ^ kSign[size]) - kSign[size];
        } else {
            return size == kByte ? GetRaw<int8_t>(r) : size == kShort ? GetRaw<int16_t>(r) : 0;
        }
    };
    last[0] += step(codes & 3u);
    last[1] += step((codes >> 2) & 3u);
    last[2] += step((codes >> 4) & 3u);
    return {static_cast<double>(last[0]) / 1000.0, static_cast<double>(last[1]) / 1000.0,
            static_cast<double>(last[2]) / 1000.0};
}

// The six arc kinds as one byte.
inline constexpr MotionKind kArcKinds[] = {KindArcCwXY,  KindArcCcwXY, KindArcCwZX,
                                           KindArcCcwZX, KindArcCwYZ,  KindArcCcwYZ};
inline uint8_t ArcKindCode(MotionKind kind) {
    for (uint8_t i = 0; i < 6; ++i) {
        if (kArcKinds[i] == kind) return i;
    }
    return 0;
}
inline MotionKind ArcKindOf(uint8_t code) {
    return kArcKinds[code < 6 ? code : 0];
}

// A float at most (Down) or at least (Up) the double.
inline float Down(double v) {
    const auto f = static_cast<float>(v);
    return static_cast<double>(f) > v ? std::nextafter(f, -INFINITY) : f;
}
inline float Up(double v) {
    const auto f = static_cast<float>(v);
    return static_cast<double>(f) < v ? std::nextafter(f, INFINITY) : f;
}

}  // namespace cuttrace::path_store
