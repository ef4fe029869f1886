// SPDX-License-Identifier: GPL-3.0-or-later
#include "model/PictureEffects.h"

#include "platform/GdiMath.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define PICTURE_EFFECTS_SSE2
#endif

using platform::mulDivRound;
using platform::Rect;
using platform::saturate;

namespace pictureeffects {

namespace {

constexpr int kHeartWidth = 94;
constexpr int kHeartHeight = 90;
// Start, then (control, control, end) four times.
constexpr std::array<QPoint, 13> kHeart{{{47, 20}, {67, 0}, {94, 18}, {87, 50}, {82, 67}, {67, 70}, {47, 90},
                                         {27, 70}, {12, 67}, {7, 50}, {0, 18}, {27, 0}, {47, 20}}};

constexpr int kWhite = 255;
constexpr QRgb kOpaque = 0xFF000000u;

// blendColor per channel: back + (fore − back) × alpha ÷ 255 truncated toward
// zero, taken as back + ⌊up × alpha ÷ 255⌋ − ⌊down × alpha ÷ 255⌋ with up and down
// the positive and negative parts of fore − back, and ⌊x ÷ 255⌋ as
// (x + 1 + (x >> 8)) >> 8, exact for 0 <= x <= 255 × 255. 0 < alpha < 255; alpha
// bytes (0xFF on both sides) stay as they are.
#ifdef PICTURE_EFFECTS_SSE2
inline __m128i div255(__m128i x)
{
    return _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(x, _mm_set1_epi16(1)), _mm_srli_epi16(x, 8)), 8);
}

// ⌊v × alpha ÷ 255⌋ per byte; alphaLo holds the 16-bit alphas of the first two
// pixels' bytes, alphaHi those of the last two.
inline __m128i scaleBytes(__m128i v, __m128i alphaLo, __m128i alphaHi)
{
    const __m128i zero = _mm_setzero_si128();
    const __m128i lo = div255(_mm_mullo_epi16(_mm_unpacklo_epi8(v, zero), alphaLo));
    const __m128i hi = div255(_mm_mullo_epi16(_mm_unpackhi_epi8(v, zero), alphaHi));
    return _mm_packus_epi16(lo, hi);
}

inline __m128i blend4(__m128i fore, __m128i back, __m128i alphaLo, __m128i alphaHi)
{
    const __m128i up = scaleBytes(_mm_subs_epu8(fore, back), alphaLo, alphaHi);
    const __m128i down = scaleBytes(_mm_subs_epu8(back, fore), alphaLo, alphaHi);
    return _mm_sub_epi8(_mm_add_epi8(back, up), down);
}

// d[i] := d[i] over back[i] by alpha for n pixels; with oneBack every pixel
// takes back[0].
template <bool oneBack>
void blendRun(QRgb* d, const QRgb* back, int n, int alpha)
{
    const __m128i a = _mm_set1_epi16(short(alpha));
    const __m128i same = _mm_set1_epi32(int(back[0]));
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        const __m128i f = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
        const __m128i b = oneBack ? same : _mm_loadu_si128(reinterpret_cast<const __m128i*>(back + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i), blend4(f, b, a, a));
    }
    for (; i < n; ++i) {
        const __m128i b = oneBack ? same : _mm_cvtsi32_si128(int(back[i]));
        d[i] = QRgb(_mm_cvtsi128_si32(blend4(_mm_cvtsi32_si128(int(d[i])), b, a, a)));
    }
}

// d[i] := d[i] over back[i] by alpha[i] for n pixels.
void blendPixels(QRgb* d, const QRgb* back, const std::uint8_t* alpha, int n)
{
    int i = 0;
    for (; i + 4 <= n; i += 4) {
        std::uint32_t four;
        std::memcpy(&four, alpha + i, 4);
        // a0 a0 a1 a1 a2 a2 a3 a3, then each alpha over its pixel's four bytes.
        const __m128i wide = _mm_unpacklo_epi8(_mm_cvtsi32_si128(int(four)), _mm_setzero_si128());
        const __m128i pairs = _mm_unpacklo_epi16(wide, wide);
        const __m128i f = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(back + i));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + i),
                         blend4(f, b, _mm_unpacklo_epi32(pairs, pairs), _mm_unpackhi_epi32(pairs, pairs)));
    }
    for (; i < n; ++i)
        blendRun<false>(d + i, back + i, 1, alpha[i]);
}
#else
inline unsigned div255(unsigned x)
{
    return (x + 1 + (x >> 8)) >> 8;
}

template <bool oneBack>
void blendRun(QRgb* d, const QRgb* back, int n, int alpha)
{
    for (int i = 0; i < n; ++i) {
        const QRgb fore = d[i];
        const QRgb b = oneBack ? back[0] : back[i];
        QRgb out = kOpaque;
        for (int shift = 0; shift <= 16; shift += 8) {
            const unsigned f = (fore >> shift) & 0xFF;
            const unsigned c = (b >> shift) & 0xFF;
            out |= QRgb(f >= c ? c + div255((f - c) * unsigned(alpha)) : c - div255((c - f) * unsigned(alpha)))
                   << shift;
        }
        d[i] = out;
    }
}

void blendPixels(QRgb* d, const QRgb* back, const std::uint8_t* alpha, int n)
{
    for (int i = 0; i < n; ++i)
        blendRun<false>(d + i, back + i, 1, alpha[i]);
}
#endif

// Blends the runs of one mask row into d: black runs go to inside(at, from, n),
// grey runs to blend(at, from, n, level); white runs leave d. Narrow grey runs
// side by side, the sides of the rings, go together to blendEach(at, from, n,
// levels) with a level per pixel.
class RowBlender {
public:
    template <typename Inside, typename Blend, typename BlendEach>
    void blend(QRgb* d, std::span<const GradientMask::Run> runs, int left, Inside inside, Blend blend,
               BlendEach blendEach)
    {
        for (size_t i = 0; i < runs.size();) {
            const GradientMask::Run& run = runs[i];
            const int from = run.from - left;
            const int n = run.to - run.from;
            if (run.level >= kWhite) {
                ++i;
            } else if (run.level <= 0) {
                inside(d + from, from, n);
                ++i;
            } else if (n >= kNarrow || i + 1 == runs.size() || !narrowGrey(runs[i + 1])) {
                blend(d + from, from, n, run.level);
                ++i;
            } else {
                const size_t width = size_t(runs.back().to - runs.front().from);
                if (levels_.size() < width)
                    levels_.resize(width);
                std::uint8_t* level = levels_.data();
                int count = 0;
                for (; i < runs.size() && narrowGrey(runs[i]); ++i)
                    for (int x = runs[i].from; x < runs[i].to; ++x)
                        level[count++] = std::uint8_t(runs[i].level);
                blendEach(d + from, from, count, level);
            }
        }
    }

private:
    static constexpr int kNarrow = 4;
    static bool narrowGrey(const GradientMask::Run& run)
    {
        return run.level > 0 && run.level < kWhite && run.to - run.from < kNarrow;
    }
    std::vector<std::uint8_t> levels_;
};

int clampColumn(std::int64_t v, const QRect& area)
{
    return int(std::clamp<std::int64_t>(v, area.left(), std::int64_t(area.right()) + 1));
}

// Pixels whose centres lie in [xa, xb).
std::pair<std::int64_t, std::int64_t> centresWithin(double xa, double xb)
{
    return {std::int64_t(std::ceil(xa - 0.5)), std::int64_t(std::ceil(xb - 0.5))};
}

// The runs of one row from its spans (ascending rings): each pixel takes the
// level of the deepest ring over it, white where none is. Nested spans, the
// usual case, come out in order without sorting.
class RowResolver {
public:
    template <typename SpanT>
    void resolve(std::span<const SpanT> spans, const std::vector<int>& levels, int x0, int x1,
                 std::vector<GradientMask::Run>& out)
    {
        left_.clear();
        middle_.clear();
        right_.clear();
        covered_.clear();
        bool ordered = true;
        for (auto it = spans.rbegin(); it != spans.rend(); ++it) {
            const int a = std::max(it->from, x0);
            const int b = std::min(it->to, x1);
            if (a >= b)
                continue;
            const int level = levels[size_t(it->ring)];
            if (covered_.empty()) {
                covered_.push_back({a, b});
                middle_.push_back({a, b, level});
            } else if (covered_.size() == 1 && a <= covered_[0].second && b >= covered_[0].first) {
                auto& [ca, cb] = covered_[0];
                if (a < ca)
                    left_.push_back({a, ca, level});
                if (b > cb)
                    right_.push_back({cb, b, level});
                ca = std::min(ca, a);
                cb = std::max(cb, b);
            } else {
                ordered = false;
                addUncovered(a, b, level);
            }
        }
        out.clear();
        scratch_.clear();
        scratch_.insert(scratch_.end(), left_.rbegin(), left_.rend());
        scratch_.insert(scratch_.end(), middle_.begin(), middle_.end());
        scratch_.insert(scratch_.end(), right_.begin(), right_.end());
        if (!ordered)
            std::sort(scratch_.begin(), scratch_.end(),
                      [](const GradientMask::Run& p, const GradientMask::Run& q) { return p.from < q.from; });
        int x = x0;
        for (const GradientMask::Run& run : scratch_) {
            if (run.from > x)
                out.push_back({x, run.from, kWhite});
            out.push_back(run);
            x = run.to;
        }
        if (x < x1)
            out.push_back({x, x1, kWhite});
    }

private:
    void addUncovered(int a, int b, int level)
    {
        int pos = a;
        for (const auto& [ca, cb] : covered_) {
            if (cb <= pos)
                continue;
            if (ca >= b)
                break;
            if (ca > pos)
                middle_.push_back({pos, ca, level});
            pos = std::max(pos, cb);
            if (pos >= b)
                break;
        }
        if (pos < b)
            middle_.push_back({pos, b, level});
        // Merge [a, b) into the cover (sorted, disjoint).
        merged_.clear();
        bool placed = false;
        for (const auto& c : covered_) {
            if (c.second < a) {
                merged_.push_back(c);
            } else if (c.first > b) {
                if (!placed)
                    merged_.push_back({a, b});
                placed = true;
                merged_.push_back(c);
            } else {
                a = std::min(a, c.first);
                b = std::max(b, c.second);
            }
        }
        if (!placed)
            merged_.push_back({a, b});
        std::swap(covered_, merged_);
    }

    std::vector<GradientMask::Run> left_, middle_, right_, scratch_;
    std::vector<std::pair<int, int>> covered_, merged_;
};

} // namespace

std::array<QPoint, 13> heartOutline(const Rect& box)
{
    std::array<QPoint, 13> points;
    for (size_t i = 0; i < points.size(); ++i)
        points[i] = QPoint(saturate(box.left + std::int64_t(mulDivRound(kHeart[i].x(), box.width(), kHeartWidth))),
                           saturate(box.top + std::int64_t(mulDivRound(kHeart[i].y(), box.height(), kHeartHeight))));
    return points;
}

int ringLevel(int k, int n)
{
    return n > 0 ? int((std::int64_t(n) - 1 - k) * 256 / n) : kWhite;
}

GradientMask::GradientMask(std::int64_t width, std::int64_t height, int rings, int shape)
    : w_(width), h_(height), shape_(shape)
{
    // Ring k needs a box of (w − 2k) × (h − 2k) that is not empty.
    const std::int64_t fit = std::max<std::int64_t>(0, std::min((w_ + 1) / 2, (h_ + 1) / 2));
    const bool known = shape == ShapeRect || shape == ShapeEllipse || shape == ShapeHeart;
    rings_ = known && rings > 0 ? int(std::min<std::int64_t>(rings, fit)) : 0;
    levels_.resize(size_t(rings_));
    for (int k = 0; k < rings_; ++k)
        levels_[size_t(k)] = ringLevel(k, rings);
}

void GradientMask::rowSpans(int y, const QRect& area, std::vector<Span>& out) const
{
    out.clear();
    if (shape_ == ShapeRect) {
        // The null pen leaves the last column and row of each box.
        for (int k = 0; k < rings_; ++k) {
            if (y < k || y > h_ - 2 - k)
                break;
            const std::int64_t to = w_ - 1 - k;
            if (to <= k)
                break;
            out.push_back({k, clampColumn(k, area), clampColumn(to, area)});
        }
    } else if (shape_ == ShapeEllipse) {
        // The ellipse in the box shrunk by its last column and row: pixel centres inside.
        const double cx = double(w_ - 1) / 2;
        const double cy = double(h_ - 1) / 2;
        for (int k = 0; k < rings_; ++k) {
            const double a = double(w_ - 1 - 2 * std::int64_t(k)) / 2;
            const double b = double(h_ - 1 - 2 * std::int64_t(k)) / 2;
            if (a <= 0 || b <= 0)
                break;
            const double t = (y + 0.5 - cy) / b;
            if (t <= -1 || t >= 1)
                break;
            const double half = a * std::sqrt(1 - t * t);
            const std::int64_t from = std::int64_t(std::floor(cx - half - 0.5)) + 1;
            const std::int64_t to = std::int64_t(std::ceil(cx + half - 0.5));
            if (to <= from)
                break;
            out.push_back({k, clampColumn(from, area), clampColumn(to, area)});
        }
    }
}

void GradientMask::heartSpans(const QRect& area, std::vector<std::vector<Span>>& rows) const
{
    const int top = area.top();
    const int count = area.height();
    rows.assign(size_t(count), {});
    std::vector<std::vector<double>> crossings(static_cast<size_t>(count));
    std::vector<QPointF> polygon;
    for (int k = 0; k < rings_; ++k) {
        const Rect box{k, k, saturate(w_ - k), saturate(h_ - k)};
        const std::array<QPoint, 13> p = heartOutline(box);
        // Each curve as straight pieces, finer for larger boxes.
        const int pieces = int(std::clamp<std::int64_t>((box.width() + box.height()) / 16, 4, 256));
        polygon.clear();
        polygon.push_back(QPointF(p[0]));
        for (int c = 0; c < 4; ++c) {
            const QPointF p0(p[size_t(3 * c)]), p1(p[size_t(3 * c + 1)]), p2(p[size_t(3 * c + 2)]),
                p3(p[size_t(3 * c + 3)]);
            for (int i = 1; i <= pieces; ++i) {
                const double t = double(i) / pieces;
                const double u = 1 - t;
                polygon.push_back(u * u * u * p0 + 3 * u * u * t * p1 + 3 * u * t * t * p2 + t * t * t * p3);
            }
        }
        for (size_t i = 0; i + 1 < polygon.size(); ++i) {
            const QPointF a = polygon[i];
            const QPointF b = polygon[i + 1];
            if (a.y() == b.y())
                continue;
            const double ylo = std::min(a.y(), b.y());
            const double yhi = std::max(a.y(), b.y());
            // Rows whose centre line lies in [ylo, yhi).
            const std::int64_t first = std::max<std::int64_t>(std::int64_t(std::ceil(ylo - 0.5)), top);
            const std::int64_t last = std::min<std::int64_t>(std::int64_t(std::ceil(yhi - 0.5)), top + std::int64_t(count));
            const double slope = (b.x() - a.x()) / (b.y() - a.y());
            for (std::int64_t y = first; y < last; ++y)
                crossings[size_t(y - top)].push_back(a.x() + (double(y) + 0.5 - a.y()) * slope);
        }
        for (int r = 0; r < count; ++r) {
            std::vector<double>& xs = crossings[size_t(r)];
            if (xs.empty())
                continue;
            std::sort(xs.begin(), xs.end());
            for (size_t i = 0; i + 1 < xs.size(); i += 2) {
                const auto [from, to] = centresWithin(xs[i], xs[i + 1]);
                if (to > from)
                    rows[size_t(r)].push_back({k, clampColumn(from, area), clampColumn(to, area)});
            }
            xs.clear();
        }
    }
}

void GradientMask::forEachRow(const QRect& area, const std::function<void(int, std::span<const Run>)>& f) const
{
    if (area.isEmpty())
        return;
    RowResolver resolver;
    std::vector<Run> runs;
    const int x0 = area.left();
    const int x1 = area.right() + 1;
    if (shape_ == ShapeHeart && rings_ > 0) {
        std::vector<std::vector<Span>> rows;
        heartSpans(area, rows);
        for (int r = 0; r < area.height(); ++r) {
            resolver.resolve(std::span<const Span>(rows[size_t(r)]), levels_, x0, x1, runs);
            f(area.top() + r, runs);
        }
        return;
    }
    // A rectangle's rows differ only by how many rings reach them: rows with the
    // count of the row above have its runs.
    std::vector<Span> spans;
    std::int64_t previous = -2;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        const std::int64_t reach = std::clamp<std::int64_t>(std::min<std::int64_t>(y, h_ - 2 - y), -1, rings_ - 1);
        if (shape_ != ShapeRect || reach != previous) {
            rowSpans(y, area, spans);
            resolver.resolve(std::span<const Span>(spans), levels_, x0, x1, runs);
        }
        previous = reach;
        f(y, runs);
    }
}

QImage GradientMask::image(const QRect& area) const
{
    QImage out(area.size(), QImage::Format_RGB32);
    if (out.isNull())
        return out;
    forEachRow(area, [&](int y, std::span<const Run> runs) {
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y - area.top()));
        for (const Run& run : runs)
            std::fill(line + (run.from - area.left()), line + (run.to - area.left()),
                      qRgb(run.level, run.level, run.level));
    });
    return out;
}

void blendBlurredEdge(QImage& target, QPoint to, const QImage& picture, const GradientMask& mask, const QRect& area)
{
    RowBlender blender;
    mask.forEachRow(area, [&](int y, std::span<const GradientMask::Run> runs) {
        auto* d = reinterpret_cast<QRgb*>(target.scanLine(to.y() + y - area.top())) + to.x();
        const auto* p = reinterpret_cast<const QRgb*>(picture.constScanLine(y - area.top()));
        blender.blend(
            d, runs, area.left(),
            [p](QRgb* at, int from, int n) { std::memcpy(at, p + from, size_t(n) * sizeof(QRgb)); },
            [p](QRgb* at, int from, int n, int level) { blendRun<false>(at, p + from, n, level); },
            [p](QRgb* at, int from, int n, const std::uint8_t* levels) { blendPixels(at, p + from, levels, n); });
    });
}

void blendShadow(QImage& target, QPoint to, const GradientMask& mask, const QRect& area)
{
    RowBlender blender;
    std::vector<QRgb> greys;
    mask.forEachRow(area, [&](int y, std::span<const GradientMask::Run> runs) {
        auto* d = reinterpret_cast<QRgb*>(target.scanLine(to.y() + y - area.top())) + to.x();
        blender.blend(
            d, runs, area.left(), [](QRgb* at, int, int n) { std::fill(at, at + n, kOpaque); },
            [](QRgb* at, int, int n, int level) {
                const QRgb grey = qRgb(level, level, level);
                blendRun<true>(at, &grey, n, level);
            },
            [&greys](QRgb* at, int, int n, const std::uint8_t* levels) {
                greys.resize(size_t(n));
                for (int i = 0; i < n; ++i)
                    greys[size_t(i)] = qRgb(levels[i], levels[i], levels[i]);
                blendPixels(at, greys.data(), levels, n);
            });
    });
}

} // namespace pictureeffects
