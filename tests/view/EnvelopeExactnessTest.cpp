// SPDX-License-Identifier: MIT
// The reduced trace must give the very pixels of one QPainter line per pair of
// consecutive points (antialiasing off), whatever the data and pixel ratio.
#include "ColumnEnvelope.h"
#include "LargeView.h"

#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <vector>

namespace {

enum class Shape {
    RandomWalk,
    Sine,
    Steps,
    NanGaps,
    WalkingX,
    SawtoothX,
    Spikes,
    FewPoints
};

struct Trial {
    Shape Data;
    double Ratio;
    bool TightLimits;   // limits inside the data: lines leave the plot area
};

struct Trace {
    std::vector<float> X, Y;
};

Trace Make(Shape shape, unsigned seed)
{
    std::mt19937 rng(seed);
    std::normal_distribution<float> step(0, 1);
    std::uniform_real_distribution<float> unit(0, 1);
    const std::size_t n = shape == Shape::FewPoints ? 40 : 60000;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    Trace t;
    float walkX = 0, walkY = 0;
    for (std::size_t i = 0; i < n; ++i) {
        float x = float(i), y = 0;
        walkY += step(rng);
        switch (shape) {
        case Shape::RandomWalk: y = walkY; break;
        case Shape::Sine: y = std::sin(float(i) * 0.0131f) * 100 + std::sin(float(i) * 0.37f) * 7; break;
        case Shape::Steps: y = float((i / 997) % 5) * 10 + (i % 2 ? 0.5f : 0.0f); break;
        case Shape::NanGaps:
            y = walkY;
            if (rng() % 50 == 0)
                (rng() % 2 ? x : y) = nan;
            break;
        case Shape::WalkingX:
            walkX += step(rng);
            x = walkX;
            y = walkY;
            break;
        case Shape::SawtoothX:
            x = float(i % 7000) * (i / 7000 % 2 ? -1.0f : 1.0f);
            y = walkY;
            break;
        case Shape::Spikes:
            y = rng() % 500 == 0 ? (rng() % 2 ? 1e30f : -std::numeric_limits<float>::infinity()) : walkY;
            break;
        case Shape::FewPoints:
            x = unit(rng) * 100;
            y = unit(rng) * 100;
            break;
        }
        t.X.push_back(x);
        t.Y.push_back(y);
    }
    return t;
}

ViewAxisLimits LimitsOf(const std::vector<float>& v, bool tight)
{
    double lo = 1e300, hi = -1e300;
    for (float f : v)
        if (std::isfinite(f) && std::fabs(f) < 1e20f) {
            lo = std::min(lo, double(f));
            hi = std::max(hi, double(f));
        }
    if (tight) {
        const double span = hi - lo;
        return {lo + span * 0.2, hi - span * 0.3};
    }
    return {lo, hi};
}

class EnvelopeExactness : public ::testing::TestWithParam<Trial> { };

TEST_P(EnvelopeExactness, ReducedLinesGiveTheSamePixelsAsEveryPoint)
{
    const Trial trial = GetParam();
    const QSize logical(317, 211);
    const QSize pixels(qRound(logical.width() * trial.Ratio), qRound(logical.height() * trial.Ratio));
    const QRect plot(7, 5, pixels.width() - 20, pixels.height() - 13);   // device pixels

    for (unsigned seed = 1; seed <= 3; ++seed) {
        const Trace trace = Make(trial.Data, seed);
        const PixelMap mapX(LimitsOf(trace.X, trial.TightLimits), plot.width(), false);
        const PixelMap mapY(LimitsOf(trace.Y, trial.TightLimits), plot.height(), true);
        const std::size_t n = trace.X.size();

        auto image = [&] {
            QImage im(pixels, QImage::Format_RGB32);
            im.setDevicePixelRatio(trial.Ratio);
            im.fill(Qt::white);
            return im;
        };
        auto clipped = [&](QPainter& p) {
            p.setClipRect(QRectF(plot.left() / trial.Ratio, plot.top() / trial.Ratio, plot.width() / trial.Ratio,
                                 plot.height() / trial.Ratio));
        };

        const std::vector<EnvelopePoint> points = ReduceTrace(trace.X.data(), trace.Y.data(), n, mapX, mapY);
        const bool monotone = trial.Data != Shape::WalkingX && trial.Data != Shape::SawtoothX;
        if (monotone && !trial.TightLimits) {
            EXPECT_LE(points.size(), 4u * plot.width());   // it does reduce
        }
        QImage reduced = image();
        {
            QPainter p(&reduced);
            clipped(p);
            DrawEnvelopeLines(p, points, plot.topLeft(), Qt::blue);
        }
        // The same lines drawn once into a mask, as dense traces are.
        QImage masked = image();
        {
            QPainter p(&masked);
            clipped(p);
            DrawEnvelopeMask(p, EnvelopeMask(points, pixels, trial.Ratio, plot), plot.topLeft(), Qt::blue);
        }

        // Every point, one drawLine each, at the same place in its device pixel.
        QImage every = image();
        {
            QPainter p(&every);
            clipped(p);
            p.setWorldTransform(QTransform::fromScale(1 / trial.Ratio, 1 / trial.Ratio));
            p.setRenderHint(QPainter::Antialiasing, false);
            p.setPen(QPen(Qt::blue, 0));
            const std::vector<EnvelopePoint> all = MapTracePoints(trace.X.data(), trace.Y.data(), n, mapX, mapY);
            for (std::size_t i = 1; i < all.size(); ++i)
                p.drawLine(QPointF(plot.left() + all[i - 1].X + kPixelInset, plot.top() + all[i - 1].Y + kPixelInset),
                           QPointF(plot.left() + all[i].X + kPixelInset, plot.top() + all[i].Y + kPixelInset));
        }

        int differing = 0;
        int differingMask = 0;
        for (int y = 0; y < pixels.height(); ++y)
            for (int x = 0; x < pixels.width(); ++x) {
                differing += reduced.pixel(x, y) != every.pixel(x, y);
                differingMask += masked.pixel(x, y) != every.pixel(x, y);
            }
        EXPECT_EQ(differing, 0) << "seed " << seed;
        EXPECT_EQ(differingMask, 0) << "seed " << seed;
        EXPECT_NE(every, image()) << "the trace drew nothing";
    }
}

std::vector<Trial> Trials()
{
    std::vector<Trial> trials;
    for (Shape s : {Shape::RandomWalk, Shape::Sine, Shape::Steps, Shape::NanGaps, Shape::WalkingX, Shape::SawtoothX,
                    Shape::Spikes, Shape::FewPoints})
        for (double ratio : {1.0, 1.5, 2.0})
            for (bool tight : {false, true})
                trials.push_back({s, ratio, tight});
    return trials;
}

INSTANTIATE_TEST_SUITE_P(Shapes, EnvelopeExactness, ::testing::ValuesIn(Trials()));

}   // namespace
