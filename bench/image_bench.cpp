// Writing a 1920 x 1080 frame (the test card) to each format in each depth and compression,
// as the render tool writes every frame: the time a file takes, and the CPU time it costs
// the machine over all of its threads, which the frames rendering meanwhile go without.
#include <unistd.h>

#include <filesystem>
#include <memory>
#include <string>

#include <benchmark/benchmark.h>

#include "host/image_file.h"
#include "host/test_card.h"

namespace {

using quorvel::host::Compression;
using quorvel::host::Depth;

void WriteFrame(benchmark::State& state, Depth depth, const char* extension,
                Compression compression) {
    const std::unique_ptr<quorvel::host::World> card =
        quorvel::host::MakeTestCard(depth, 1920, 1080);
    const std::string path = (std::filesystem::temp_directory_path() /
                              ("quorvel_image_bench_" + std::to_string(getpid()) + extension))
                                 .string();
    for (auto _ : state) {
        quorvel::host::WriteImageFile(path, *card, compression);
    }
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
    std::filesystem::remove(path);
}

#define QUORVEL_WRITE_BENCHMARK(NAME, DEPTH, EXTENSION, COMPRESSION)                       \
    BENCHMARK_CAPTURE(WriteFrame, NAME, Depth::DEPTH, EXTENSION, Compression::COMPRESSION) \
        ->Unit(benchmark::kMillisecond)                                                    \
        ->MeasureProcessCPUTime()                                                          \
        ->UseRealTime()

QUORVEL_WRITE_BENCHMARK(8bit_png_fast, Bits8, ".png", Fast);
QUORVEL_WRITE_BENCHMARK(8bit_png_small, Bits8, ".png", Small);
QUORVEL_WRITE_BENCHMARK(8bit_png_none, Bits8, ".png", None);
QUORVEL_WRITE_BENCHMARK(16bit_png_fast, Bits16, ".png", Fast);
QUORVEL_WRITE_BENCHMARK(16bit_png_small, Bits16, ".png", Small);
QUORVEL_WRITE_BENCHMARK(float_tif_fast, Float, ".tif", Fast);
QUORVEL_WRITE_BENCHMARK(float_tif_small, Float, ".tif", Small);
QUORVEL_WRITE_BENCHMARK(float_tif_none, Float, ".tif", None);
QUORVEL_WRITE_BENCHMARK(float_exr_fast, Float, ".exr", Fast);
QUORVEL_WRITE_BENCHMARK(8bit_exr_fast, Bits8, ".exr", Fast);

}  // namespace

BENCHMARK_MAIN();
