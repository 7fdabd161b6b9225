// Writing image files: PNG and TIFF here, straight from the world's own depth and packed on
// every core; EXR through the image library (image_library.h).
#include <zlib.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>
#include <vector>

#include "host/image_file.h"
#include "host/image_library.h"
#include "host/parallel.h"

namespace quorvel::host {

namespace {

enum class FileKind { Png, Tiff, Exr };

struct FileFormatRow {
    const char* extension;
    FileKind kind;
};

constexpr FileFormatRow kFileFormats[] = {
    {".png", FileKind::Png},
    {".tif", FileKind::Tiff},
    {".tiff", FileKind::Tiff},
    {".exr", FileKind::Exr},
};

struct CompressionRow {
    Compression compression;
    const char* word;
    // The deflate level of PNG and TIFF (6 is zlib's own default), and the PNG row filter:
    // none, or the difference to the left neighbour, which on rendered frames packs about as
    // well as choosing a filter for each row, for a fraction of the work.
    int level;
    std::uint8_t pngFilter;
};

constexpr std::uint8_t kPngFilterNone = 0;
constexpr std::uint8_t kPngFilterSub = 1;

constexpr CompressionRow kCompressions[] = {
    {Compression::None, "none", 0, kPngFilterNone},
    {Compression::Fast, "fast", 1, kPngFilterSub},
    {Compression::Small, "small", 6, kPngFilterSub},
};

const CompressionRow& RowOf(Compression compression) {
    for (const CompressionRow& row : kCompressions) {
        if (row.compression == compression) {
            return row;
        }
    }
    return kCompressions[1];
}

std::string LowerExtension(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    const std::size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) {
        return std::string();
    }
    std::string extension = path.substr(dot);
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return extension;
}

const FileFormatRow* FindFileFormat(const std::string& path) {
    const std::string extension = LowerExtension(path);
    for (const FileFormatRow& row : kFileFormats) {
        if (extension == row.extension) {
            return &row;
        }
    }
    return nullptr;
}

[[noreturn]] void FailToWrite(const std::string& path, const std::string& reason) {
    throw ImageFileError("cannot write image '" + path + "': " + reason);
}

// The rows of one block of work (a PNG block, a TIFF strip): about a quarter of a megabyte,
// so that a frame is spread over every core while each block stays large enough to pack well.
A_long RowsPerBlock(std::size_t rowBytes, A_long height) {
    constexpr std::size_t kBlockBytes = 256 * 1024;
    const std::size_t rows =
        std::max<std::size_t>(1, kBlockBytes / std::max<std::size_t>(rowBytes, 1));
    return static_cast<A_long>(std::min<std::size_t>(rows, static_cast<std::size_t>(height)));
}

// How a file stores each of its channels.
enum class Sample { Uint8, Uint16, Float32 };

std::size_t BytesOf(Sample sample) {
    switch (sample) {
        case Sample::Uint8:
            return 1;
        case Sample::Uint16:
            return 2;
        case Sample::Float32:
            break;
    }
    return 4;
}

// A float from 0 to 1 as 0 to 65535: clamped and rounded half up; NaN becomes 0.
std::uint16_t FloatToSixteen(float value) {
    const float scaled = value * 65535.0f + 0.5f;
    if (!(scaled > 0.0f)) {
        return 0;
    }
    return scaled >= 65535.0f ? 65535 : static_cast<std::uint16_t>(scaled);
}

// The file's 0 to 65535 for each of the host's 16-bit values (0 to 32768, and above).
const std::array<std::uint16_t, 65536>& SixteenBitTable() {
    static const std::array<std::uint16_t, 65536> table = [] {
        std::array<std::uint16_t, 65536> values{};
        for (std::size_t i = 0; i < values.size(); ++i) {
            values[i] = FloatToSixteen(static_cast<float>(i) * (1.0f / 32768.0f));
        }
        return values;
    }();
    return table;
}

// Writes row y of the world as the file's red, green, blue, alpha samples (the host's memory
// order is alpha, red, green, blue), 16-bit samples in big-endian order when asked.
void FileRow(const World& world, A_long y, Sample sample, bool bigEndian, unsigned char* out) {
    const unsigned char* in = world.Row(y);
    const A_long width = world.Width();
    constexpr int kFileChannel[4] = {1, 2, 3, 0};
    switch (world.PixelDepth()) {
        case Depth::Bits8:
            for (A_long x = 0; x < width; ++x, in += 4, out += 4) {
                for (int c = 0; c < 4; ++c) {
                    out[c] = in[kFileChannel[c]];
                }
            }
            return;
        case Depth::Bits16: {
            const std::array<std::uint16_t, 65536>& table = SixteenBitTable();
            for (A_long x = 0; x < width; ++x, in += 8, out += 8) {
                for (int c = 0; c < 4; ++c) {
                    std::uint16_t host;
                    std::memcpy(&host, in + 2 * kFileChannel[c], 2);
                    const std::uint16_t value = table[host];
                    out[2 * c] = static_cast<unsigned char>(bigEndian ? value >> 8 : value);
                    out[2 * c + 1] = static_cast<unsigned char>(bigEndian ? value : value >> 8);
                }
            }
            return;
        }
        case Depth::Float:
            break;
    }
    for (A_long x = 0; x < width; ++x, in += 16, out += 4 * BytesOf(sample)) {
        for (int c = 0; c < 4; ++c) {
            float value;
            std::memcpy(&value, in + 4 * kFileChannel[c], 4);
            if (sample == Sample::Float32) {
                std::memcpy(out + 4 * c, &value, 4);
                continue;
            }
            const std::uint16_t sixteen = FloatToSixteen(value);
            out[2 * c] = static_cast<unsigned char>(bigEndian ? sixteen >> 8 : sixteen);
            out[2 * c + 1] = static_cast<unsigned char>(bigEndian ? sixteen : sixteen >> 8);
        }
    }
}

// A file being written: removed again unless Finish succeeds.
class OutputFile {
  public:
    explicit OutputFile(const std::string& path) : path_(path) {
        file_ = std::fopen(path.c_str(), "wb");
        if (file_ == nullptr) {
            FailToWrite(path, std::strerror(errno));
        }
        std::setvbuf(file_, nullptr, _IOFBF, 1 << 20);
    }
    ~OutputFile() {
        if (file_ != nullptr) {
            std::fclose(file_);
            std::remove(path_.c_str());
        }
    }
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    void Write(const void* data, std::size_t size) {
        if (size > 0 && std::fwrite(data, 1, size, file_) != size) {
            FailToWrite(path_, std::strerror(errno));
        }
    }
    void Finish() {
        std::FILE* file = file_;
        file_ = nullptr;
        if (std::fclose(file) != 0) {
            const int error = errno;
            std::remove(path_.c_str());
            FailToWrite(path_, std::strerror(error));
        }
    }

  private:
    std::string path_;
    std::FILE* file_ = nullptr;
};

void PutBigEndian32(std::uint32_t value, unsigned char* out) {
    out[0] = static_cast<unsigned char>(value >> 24);
    out[1] = static_cast<unsigned char>(value >> 16);
    out[2] = static_cast<unsigned char>(value >> 8);
    out[3] = static_cast<unsigned char>(value);
}

// Deflates data whole, into the zlib format (raw: without its header and check value).
std::vector<unsigned char> Deflate(const unsigned char* data, std::size_t size, int level, bool raw,
                                   int flush) {
    z_stream stream{};
    if (deflateInit2(&stream, level, Z_DEFLATED, raw ? -15 : 15, 8, Z_DEFAULT_STRATEGY) != Z_OK) {
        throw std::bad_alloc();
    }
    std::vector<unsigned char> packed(deflateBound(&stream, size) + 16);
    stream.next_in = const_cast<unsigned char*>(data);
    stream.avail_in = static_cast<uInt>(size);
    for (;;) {
        stream.next_out = packed.data() + stream.total_out;
        stream.avail_out = static_cast<uInt>(packed.size() - stream.total_out);
        const int result = deflate(&stream, flush);
        if (result == Z_STREAM_END ||
            (flush != Z_FINISH && result == Z_OK && stream.avail_out > 0)) {
            break;
        }
        if (result != Z_OK && result != Z_BUF_ERROR) {
            deflateEnd(&stream);
            throw std::bad_alloc();
        }
        packed.resize(packed.size() * 2);
    }
    packed.resize(stream.total_out);
    deflateEnd(&stream);
    return packed;
}

// One PNG row behind its filter byte.
void FilterPngRow(std::uint8_t filter, const unsigned char* row, std::size_t bytes,
                  std::size_t pixelBytes, unsigned char* out) {
    out[0] = filter;
    ++out;
    if (filter != kPngFilterSub) {
        std::memcpy(out, row, bytes);
        return;
    }
    for (std::size_t i = 0; i < bytes; ++i) {
        out[i] = static_cast<unsigned char>(row[i] - (i >= pixelBytes ? row[i - pixelBytes] : 0));
    }
}

void WriteChunk(OutputFile& file, const char* type, const unsigned char* head, std::size_t headSize,
                const std::vector<unsigned char>& body, const unsigned char* tail,
                std::size_t tailSize) {
    unsigned char prefix[8];
    PutBigEndian32(static_cast<std::uint32_t>(headSize + body.size() + tailSize), prefix);
    std::memcpy(prefix + 4, type, 4);
    // zlib takes a null buffer as a request for the initial value: empty parts are skipped.
    uLong crc = crc32(0, prefix + 4, 4);
    for (const auto& [bytes, size] :
         {std::pair{head, headSize}, std::pair{body.data(), body.size()},
          std::pair{tail, tailSize}}) {
        if (size > 0) {
            crc = crc32(crc, bytes, static_cast<uInt>(size));
        }
    }
    unsigned char check[4];
    PutBigEndian32(static_cast<std::uint32_t>(crc), check);
    file.Write(prefix, 8);
    file.Write(head, headSize);
    file.Write(body.data(), body.size());
    file.Write(tail, tailSize);
    file.Write(check, 4);
}

// A PNG of RGBA samples: 8 bits from 8-bit worlds, 16 otherwise. The image data is one zlib
// stream cut into blocks of rows that are deflated at once, each ended at a byte boundary so
// that they join into the one stream, each in an IDAT chunk of its own.
void WritePng(const std::string& path, const World& world, const CompressionRow& compression) {
    const Sample sample = world.PixelDepth() == Depth::Bits8 ? Sample::Uint8 : Sample::Uint16;
    const std::size_t pixelBytes = 4 * BytesOf(sample);
    const std::size_t rowBytes = static_cast<std::size_t>(world.Width()) * pixelBytes;
    const A_long height = world.Height();
    const A_long blockRows = RowsPerBlock(rowBytes, height);
    const std::size_t blockCount = static_cast<std::size_t>((height + blockRows - 1) / blockRows);

    struct Block {
        std::vector<unsigned char> packed;
        uLong adler = 0;
        std::size_t size = 0;
    };
    std::vector<Block> blocks(blockCount);
    ParallelFor(blockCount, [&](std::size_t b) {
        const A_long first = static_cast<A_long>(b) * blockRows;
        const A_long end = std::min(height, first + blockRows);
        std::vector<unsigned char> row(rowBytes);
        std::vector<unsigned char> filtered((rowBytes + 1) * static_cast<std::size_t>(end - first));
        for (A_long y = first; y < end; ++y) {
            FileRow(world, y, sample, true, row.data());
            FilterPngRow(compression.pngFilter, row.data(), rowBytes, pixelBytes,
                         filtered.data() + static_cast<std::size_t>(y - first) * (rowBytes + 1));
        }
        Block& block = blocks[b];
        block.size = filtered.size();
        block.adler =
            adler32(adler32(0, nullptr, 0), filtered.data(), static_cast<uInt>(filtered.size()));
        block.packed = Deflate(filtered.data(), filtered.size(), compression.level, true,
                               b + 1 == blockCount ? Z_FINISH : Z_SYNC_FLUSH);
    });

    OutputFile file(path);
    static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    file.Write(kSignature, sizeof(kSignature));
    std::vector<unsigned char> header(13);
    PutBigEndian32(static_cast<std::uint32_t>(world.Width()), header.data());
    PutBigEndian32(static_cast<std::uint32_t>(height), header.data() + 4);
    header[8] = static_cast<unsigned char>(8 * BytesOf(sample));
    header[9] = 6;  // RGBA; compression, filter method and interlace 0
    WriteChunk(file, "IHDR", nullptr, 0, header, nullptr, 0);

    const int flags = compression.level < 2    ? 0
                      : compression.level < 6  ? 1
                      : compression.level == 6 ? 2
                                               : 3;
    unsigned char zlibHeader[2] = {0x78, static_cast<unsigned char>(flags << 6)};
    zlibHeader[1] = static_cast<unsigned char>(zlibHeader[1] + 31 - (0x7800 + zlibHeader[1]) % 31);
    uLong adler = adler32(0, nullptr, 0);
    for (std::size_t b = 0; b < blockCount; ++b) {
        adler = adler32_combine(adler, blocks[b].adler, static_cast<z_off_t>(blocks[b].size));
    }
    unsigned char check[4];
    PutBigEndian32(static_cast<std::uint32_t>(adler), check);
    for (std::size_t b = 0; b < blockCount; ++b) {
        WriteChunk(file, "IDAT", zlibHeader, b == 0 ? 2 : 0, blocks[b].packed, check,
                   b + 1 == blockCount ? 4 : 0);
        std::vector<unsigned char>().swap(blocks[b].packed);
    }
    WriteChunk(file, "IEND", nullptr, 0, {}, nullptr, 0);
    file.Finish();
}

// TIFF's prediction, which makes a row's samples small differences before they are deflated:
// each sample less the same channel of the pixel before it, and floats cut into byte planes
// (most significant first) whose bytes are differenced the same way.
void PredictTiffRow(Sample sample, unsigned char* row, std::size_t rowBytes,
                    std::vector<unsigned char>& scratch) {
    constexpr std::size_t kChannels = 4;
    switch (sample) {
        case Sample::Uint8:
            for (std::size_t i = rowBytes; i-- > kChannels;) {
                row[i] = static_cast<unsigned char>(row[i] - row[i - kChannels]);
            }
            return;
        case Sample::Uint16: {
            for (std::size_t i = rowBytes / 2; i-- > kChannels;) {
                std::uint16_t value;
                std::uint16_t before;
                std::memcpy(&value, row + 2 * i, 2);
                std::memcpy(&before, row + 2 * (i - kChannels), 2);
                value = static_cast<std::uint16_t>(value - before);
                std::memcpy(row + 2 * i, &value, 2);
            }
            return;
        }
        case Sample::Float32:
            break;
    }
    const std::size_t samples = rowBytes / 4;
    scratch.assign(row, row + rowBytes);
    for (std::size_t i = 0; i < samples; ++i) {
        for (std::size_t byte = 0; byte < 4; ++byte) {
            row[(3 - byte) * samples + i] = scratch[4 * i + byte];
        }
    }
    for (std::size_t i = rowBytes; i-- > kChannels;) {
        row[i] = static_cast<unsigned char>(row[i] - row[i - kChannels]);
    }
}

// A little-endian TIFF of RGBA samples with unassociated alpha: 8 or 16-bit integers, or
// 32-bit floats from float worlds; strips packed at once, each its own zlib stream.
void WriteTiff(const std::string& path, const World& world, const CompressionRow& compression) {
    const Sample sample = world.PixelDepth() == Depth::Bits8    ? Sample::Uint8
                          : world.PixelDepth() == Depth::Bits16 ? Sample::Uint16
                                                                : Sample::Float32;
    const bool packed = compression.level > 0;
    const std::size_t rowBytes = static_cast<std::size_t>(world.Width()) * 4 * BytesOf(sample);
    const A_long height = world.Height();
    const A_long stripRows = RowsPerBlock(rowBytes, height);
    const std::size_t stripCount = static_cast<std::size_t>((height + stripRows - 1) / stripRows);

    std::vector<std::vector<unsigned char>> strips(stripCount);
    ParallelFor(stripCount, [&](std::size_t s) {
        const A_long first = static_cast<A_long>(s) * stripRows;
        const A_long end = std::min(height, first + stripRows);
        std::vector<unsigned char> raw(rowBytes * static_cast<std::size_t>(end - first));
        std::vector<unsigned char> scratch;
        for (A_long y = first; y < end; ++y) {
            unsigned char* row = raw.data() + static_cast<std::size_t>(y - first) * rowBytes;
            FileRow(world, y, sample, false, row);
            if (packed) {
                PredictTiffRow(sample, row, rowBytes, scratch);
            }
        }
        strips[s] = packed ? Deflate(raw.data(), raw.size(), compression.level, false, Z_FINISH)
                           : std::move(raw);
    });

    // Layout: header, strips, the values too long for their directory entries, directory.
    std::uint64_t offset = 8;
    std::vector<std::uint32_t> stripOffsets(stripCount);
    std::vector<std::uint32_t> stripSizes(stripCount);
    for (std::size_t s = 0; s < stripCount; ++s) {
        stripOffsets[s] = static_cast<std::uint32_t>(offset);
        stripSizes[s] = static_cast<std::uint32_t>(strips[s].size());
        offset += strips[s].size();
    }
    offset += offset % 2;
    const std::uint64_t valuesOffset = offset;
    const std::uint64_t directoryOffset = valuesOffset + 16 + 8 * stripCount;
    if (directoryOffset + 200 > 0xFFFFFFFFull) {
        FailToWrite(path, "the image is too large for a TIFF file");
    }

    std::vector<unsigned char> values;
    const auto put16 = [](std::vector<unsigned char>& out, std::uint32_t value) {
        out.push_back(static_cast<unsigned char>(value));
        out.push_back(static_cast<unsigned char>(value >> 8));
    };
    const auto put32 = [&](std::vector<unsigned char>& out, std::uint32_t value) {
        put16(out, value & 0xFFFF);
        put16(out, value >> 16);
    };
    const std::uint32_t bits = static_cast<std::uint32_t>(8 * BytesOf(sample));
    const std::uint32_t format = sample == Sample::Float32 ? 3 : 1;
    for (int c = 0; c < 4; ++c) {
        put16(values, bits);
    }
    for (int c = 0; c < 4; ++c) {
        put16(values, format);
    }
    for (const std::uint32_t stripOffset : stripOffsets) {
        put32(values, stripOffset);
    }
    for (const std::uint32_t stripSize : stripSizes) {
        put32(values, stripSize);
    }

    struct Entry {
        std::uint16_t tag;
        std::uint16_t type;  // 3 SHORT, 4 LONG
        std::uint32_t count;
        std::uint32_t value;  // the value itself, or the offset of the values
    };
    const std::uint32_t many = static_cast<std::uint32_t>(valuesOffset);
    const bool oneStrip = stripCount == 1;
    const Entry entries[] = {
        {256, 4, 1, static_cast<std::uint32_t>(world.Width())},
        {257, 4, 1, static_cast<std::uint32_t>(height)},
        {258, 3, 4, many},
        {259, 3, 1, packed ? 8u : 1u},  // Adobe deflate, or none
        {262, 3, 1, 2},                 // RGB
        {273, 4, static_cast<std::uint32_t>(stripCount), oneStrip ? stripOffsets[0] : many + 16},
        {277, 3, 1, 4},
        {278, 4, 1, static_cast<std::uint32_t>(stripRows)},
        {279, 4, static_cast<std::uint32_t>(stripCount),
         oneStrip ? stripSizes[0] : many + 16 + 4 * static_cast<std::uint32_t>(stripCount)},
        {284, 3, 1, 1},  // samples of a pixel together
        {317, 3, 1,
         !packed                     ? 1u
         : sample == Sample::Float32 ? 3u
                                     : 2u},
        {338, 3, 1, 2},  // the fourth sample is alpha, not multiplied into the colour
        {339, 3, 4, many + 8},
    };
    std::vector<unsigned char> directory;
    put16(directory, static_cast<std::uint32_t>(std::size(entries)));
    for (const Entry& entry : entries) {
        put16(directory, entry.tag);
        put16(directory, entry.type);
        put32(directory, entry.count);
        if (entry.type == 3 && entry.count == 1) {
            put16(directory, entry.value);
            put16(directory, 0);
        } else {
            put32(directory, entry.value);
        }
    }
    put32(directory, 0);

    OutputFile file(path);
    std::vector<unsigned char> header = {'I', 'I', 42, 0};
    put32(header, static_cast<std::uint32_t>(directoryOffset));
    file.Write(header.data(), header.size());
    std::uint64_t written = 8;
    for (std::vector<unsigned char>& strip : strips) {
        file.Write(strip.data(), strip.size());
        written += strip.size();
        std::vector<unsigned char>().swap(strip);
    }
    if (written < valuesOffset) {
        file.Write("", 1);
    }
    file.Write(values.data(), values.size());
    file.Write(directory.data(), directory.size());
    file.Finish();
}

}  // namespace

std::optional<Compression> ParseCompression(const std::string& word) {
    for (const CompressionRow& row : kCompressions) {
        if (word == row.word) {
            return row.compression;
        }
    }
    return std::nullopt;
}

bool IsWritableImageName(const std::string& path) {
    return FindFileFormat(path) != nullptr;
}

void WriteImageFile(const std::string& path, const World& world, Compression compression) {
    const FileFormatRow* format = FindFileFormat(path);
    if (format == nullptr) {
        FailToWrite(path, "the name must end in .png, .tif, .tiff or .exr");
    }
    if (world.Width() < 1 || world.Height() < 1) {
        FailToWrite(path, "the image is empty");
    }
    switch (format->kind) {
        case FileKind::Png:
            WritePng(path, world, RowOf(compression));
            return;
        case FileKind::Tiff:
            WriteTiff(path, world, RowOf(compression));
            return;
        case FileKind::Exr:
            break;
    }
    LoadImageLibrary(path, "write").writeExr(path, world, compression);
}

}  // namespace quorvel::host
