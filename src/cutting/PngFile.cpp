// PNG files of the cut pictures: each row filtered (the filter of the smallest residues),
// then deflated with LZ77 matches and the fixed Huffman codes, all with the standard library.
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>
#include <vector>

#include "cutting/CutPicture.h"

namespace cuttrace::cutting {

namespace {

uint32_t Crc(const unsigned char* data, std::size_t size, uint32_t crc) {
    static const std::array<uint32_t, 256> kTable = [] {
        std::array<uint32_t, 256> table{};
        for (uint32_t n = 0; n < 256; ++n) {
            uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            table[n] = c;
        }
        return table;
    }();
    for (std::size_t i = 0; i < size; ++i)
        crc = kTable[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
    return crc;
}

void Put32(std::string& out, uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out += static_cast<char>((v >> shift) & 0xFF);
}

void Chunk(std::ofstream& out, const char* type, const std::string& data) {
    std::string chunk;
    Put32(chunk, static_cast<uint32_t>(data.size()));
    chunk += type;
    chunk += data;
    const auto* bytes = reinterpret_cast<const unsigned char*>(chunk.data());
    const uint32_t crc = Crc(bytes + 4, chunk.size() - 4, 0xFFFFFFFFu) ^ 0xFFFFFFFFu;
    Put32(chunk, crc);
    out.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
}

int Paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}

// The rows as PNG holds them before compression: a filter byte, then the residues. Each
// row takes the filter (none, sub, up, average, Paeth) whose residues, read as signed
// bytes, add up to the least.
std::vector<unsigned char> FilteredRows(const RgbPicture& picture) {
    const std::size_t stride = 3 * static_cast<std::size_t>(picture.width);
    std::vector<unsigned char> previous(stride, 0), row(stride);
    std::vector<unsigned char> out;
    out.reserve(static_cast<std::size_t>(picture.height) * (stride + 1));
    std::array<std::vector<unsigned char>, 5> trial;
    for (auto& t : trial)
        t.resize(stride);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const uint32_t p = picture.At(x, y);
            const std::size_t i = 3 * static_cast<std::size_t>(x);
            row[i] = static_cast<unsigned char>((p >> 16) & 0xFF);
            row[i + 1] = static_cast<unsigned char>((p >> 8) & 0xFF);
            row[i + 2] = static_cast<unsigned char>(p & 0xFF);
        }
        int best = 0;
        long bestCost = -1;
        for (int f = 0; f < 5; ++f) {
            long cost = 0;
            for (std::size_t i = 0; i < stride; ++i) {
                const int a = i >= 3 ? row[i - 3] : 0, b = previous[i];
                const int c = i >= 3 ? previous[i - 3] : 0;
                const int predicted = f == 0   ? 0
                                      : f == 1 ? a
                                      : f == 2 ? b
                                      : f == 3 ? (a + b) / 2
                                               : Paeth(a, b, c);
                const auto residue = static_cast<unsigned char>(row[i] - predicted);
                trial[static_cast<std::size_t>(f)][i] = residue;
                cost += residue < 128 ? residue : 256 - residue;
            }
            if (bestCost < 0 || cost < bestCost) best = f, bestCost = cost;
        }
        out.push_back(static_cast<unsigned char>(best));
        const auto& chosen = trial[static_cast<std::size_t>(best)];
        out.insert(out.end(), chosen.begin(), chosen.end());
        std::swap(previous, row);
    }
    return out;
}

// Bits into bytes, least significant first, as deflate packs them.
class BitWriter {
  public:
    explicit BitWriter(std::string& out) : out_(out) {}
    void Bits(uint32_t value, int count) {
        buffer_ |= static_cast<uint64_t>(value) << filled_;
        filled_ += count;
        while (filled_ >= 8) {
            out_ += static_cast<char>(buffer_ & 0xFF);
            buffer_ >>= 8;
            filled_ -= 8;
        }
    }
    // A Huffman code, whose first bit is its most significant.
    void Code(uint32_t code, int length) {
        uint32_t reversed = 0;
        for (int k = 0; k < length; ++k)
            reversed |= ((code >> k) & 1u) << (length - 1 - k);
        Bits(reversed, length);
    }
    void Flush() {
        if (filled_ > 0) Bits(0, 8 - filled_);
    }

  private:
    std::string& out_;
    uint64_t buffer_ = 0;
    int filled_ = 0;
};

// A literal byte or the end of the block (256) in the fixed code.
void Literal(BitWriter& bits, int symbol) {
    if (symbol < 144) {
        bits.Code(static_cast<uint32_t>(0x30 + symbol), 8);
    } else if (symbol < 256) {
        bits.Code(static_cast<uint32_t>(0x190 + symbol - 144), 9);
    } else if (symbol < 280) {
        bits.Code(static_cast<uint32_t>(symbol - 256), 7);
    } else {
        bits.Code(static_cast<uint32_t>(0xC0 + symbol - 280), 8);
    }
}

// A match of length 3..258 at distance 1..32768.
void Match(BitWriter& bits, int length, int distance) {
    static constexpr int kLengthBase[29] = {3,  4,  5,  6,   7,   8,   9,   10,  11, 13,
                                            15, 17, 19, 23,  27,  31,  35,  43,  51, 59,
                                            67, 83, 99, 115, 131, 163, 195, 227, 258};
    static constexpr int kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                             2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
    static constexpr int kDistanceBase[30] = {
        1,   2,   3,   4,   5,   7,    9,    13,   17,   25,   33,   49,   65,    97,    129,
        193, 257, 385, 513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
    int l = 28;
    while (kLengthBase[l] > length)
        --l;
    Literal(bits, 257 + l);
    bits.Bits(static_cast<uint32_t>(length - kLengthBase[l]), kLengthExtra[l]);
    int d = 29;
    while (kDistanceBase[d] > distance)
        --d;
    bits.Code(static_cast<uint32_t>(d), 5);
    bits.Bits(static_cast<uint32_t>(distance - kDistanceBase[d]), d < 4 ? 0 : d / 2 - 1);
}

// A zlib stream of the data: one deflate block in the fixed code, matches found through
// chains of earlier places with the same three bytes.
std::string Deflate(const std::vector<unsigned char>& data) {
    constexpr int kWindow = 32768, kMaxMatch = 258, kProbes = 32;
    constexpr uint32_t kHashBits = 15;
    std::string out = "\x78\x01";
    BitWriter bits(out);
    bits.Bits(1, 1);  // the last block
    bits.Bits(1, 2);  // fixed Huffman codes
    std::vector<int> head(std::size_t{1} << kHashBits, -1), chain(data.size(), -1);
    const auto hash = [&](std::size_t i) {
        const uint32_t v = (static_cast<uint32_t>(data[i]) << 16) |
                           (static_cast<uint32_t>(data[i + 1]) << 8) | data[i + 2];
        return (v * 2654435761u) >> (32 - kHashBits);
    };
    const auto insert = [&](std::size_t i) {
        if (i + 2 >= data.size()) return;
        const uint32_t h = hash(i);
        chain[i] = head[h];
        head[h] = static_cast<int>(i);
    };
    std::size_t i = 0;
    while (i < data.size()) {
        int bestLength = 0, bestDistance = 0;
        if (i + 2 < data.size()) {
            const int limit = static_cast<int>(std::min<std::size_t>(kMaxMatch, data.size() - i));
            int probes = kProbes;
            for (int at = head[hash(i)]; at >= 0 && probes-- > 0;
                 at = chain[static_cast<std::size_t>(at)]) {
                const int distance = static_cast<int>(i) - at;
                if (distance > kWindow) break;
                int length = 0;
                while (length < limit && data[static_cast<std::size_t>(at + length)] ==
                                             data[i + static_cast<std::size_t>(length)])
                    ++length;
                if (length > bestLength) bestLength = length, bestDistance = distance;
                if (length == limit) break;
            }
        }
        if (bestLength >= 3) {
            Match(bits, bestLength, bestDistance);
            for (int k = 0; k < bestLength; ++k)
                insert(i + static_cast<std::size_t>(k));
            i += static_cast<std::size_t>(bestLength);
        } else {
            Literal(bits, data[i]);
            insert(i);
            ++i;
        }
    }
    Literal(bits, 256);
    bits.Flush();
    uint32_t s1 = 1, s2 = 0;
    for (unsigned char c : data) {
        s1 = (s1 + c) % 65521;
        s2 = (s2 + s1) % 65521;
    }
    Put32(out, (s2 << 16) | s1);
    return out;
}

}  // namespace

bool WritePng(const RgbPicture& picture, const std::string& path) {
    // Written beside the final name and renamed when whole: a failed write leaves no part
    // of a picture under the name.
    const std::string partial = path + ".part";
    {
        std::ofstream out(partial, std::ios::binary | std::ios::trunc);
        if (!out) return false;
        out.write("\x89PNG\r\n\x1a\n", 8);
        std::string header;
        Put32(header, static_cast<uint32_t>(picture.width));
        Put32(header, static_cast<uint32_t>(picture.height));
        header += std::string("\x08\x02\x00\x00\x00", 5);  // 8-bit RGB
        Chunk(out, "IHDR", header);
        Chunk(out, "IDAT", Deflate(FilteredRows(picture)));
        Chunk(out, "IEND", {});
        out.flush();
        if (!out) {
            out.close();
            std::remove(partial.c_str());
            return false;
        }
    }
    std::error_code error;
    std::filesystem::rename(partial, path, error);
    if (!error) return true;
    std::remove(partial.c_str());
    return false;
}

}  // namespace cuttrace::cutting
