// SPDX-License-Identifier: GPL-3.0-or-later
// Picture import of a 24-megapixel JPEG (6000 × 4000), for a 91 × 55 mm card and
// at full size (a pattern), with the peak memory of the import. The picture is
// made at start in a scratch folder, or taken from PELMORA_BENCH_JPEG.
#include "platform/ImageConverter.h"

#include <QFile>
#include <QImage>
#include <QImageWriter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace {

// Smooth shapes with fine noise, so that it compresses like a photograph.
QString jpegPath()
{
    const QString given = qEnvironmentVariable("PELMORA_BENCH_JPEG");
    if (!given.isEmpty())
        return given;
    static QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.jpg"));
    if (QFile::exists(path))
        return path;
    QImage image(6000, 4000, QImage::Format_RGB32);
    std::uint32_t seed = 12345;
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int noise = int(seed >> 28) - 8;
            const double v = std::sin(x * 0.003) * std::cos(y * 0.004) + std::sin((x + y) * 0.0011);
            const int base = int(96 + 60 * v);
            line[x] = qRgb(std::clamp(base + noise + (x >> 6) % 40, 0, 255), std::clamp(base + noise, 0, 255),
                           std::clamp(255 - base + noise, 0, 255));
        }
    }
    QImageWriter writer(path, "jpeg");
    writer.setQuality(90);
    writer.write(image);
    return path;
}

// Peak resident memory in MB since the last reset; -1 where it cannot be read.
double peakResidentMB(bool reset)
{
    if (reset) {
        QFile clear(QStringLiteral("/proc/self/clear_refs"));
        if (clear.open(QIODevice::WriteOnly))
            clear.write("5");
    }
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024;
    return -1;
}

void importJpeg(benchmark::State& state, QSize cardMm)
{
    const QString path = jpegPath();
    double peak = 0;
    double before = 0;
    qsizetype bytes = 0;
    for (auto _ : state) {
        before = peakResidentMB(true);
        const auto result = platform::ImageConverter(cardMm).convertFile(path);
        peak = std::max(peak, peakResidentMB(false));
        if (result.status != platform::ImageConverter::Status::Ok)
            state.SkipWithError("the picture was not read");
        bytes = result.dib.size();
    }
    state.counters["peak_MB"] = peak;
    state.counters["above_start_MB"] = peak - before;
    state.counters["dib_MB"] = double(bytes) / (1024 * 1024);
}

void BM_ImportJpeg24MPForCard(benchmark::State& state) { importJpeg(state, QSize(91, 55)); }
void BM_ImportJpeg24MPFullSize(benchmark::State& state) { importJpeg(state, QSize()); }

} // namespace

BENCHMARK(BM_ImportJpeg24MPForCard)->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(BM_ImportJpeg24MPFullSize)->Unit(benchmark::kMillisecond)->Iterations(5);
