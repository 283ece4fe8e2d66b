// SPDX-License-Identifier: MIT
#include "AxisTicks.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

constexpr int kMaxTicks = 500;

int DecadeOf(double v)
{
    // The small bias keeps exact powers of ten (0.001 as stored) in their decade.
    return static_cast<int>(std::floor(std::log10(v) + 1e-9));
}

// Locale-free: the program's locale may write a decimal comma.
std::string Format(std::chars_format format, int precision, double value)
{
    char text[400];
    const auto result = std::to_chars(text, text + sizeof text, value, format, precision);
    return result.ec == std::errc() ? std::string(text, result.ptr) : std::string("?");
}

// "1.50e+09" -> "1.5e+09", "2.0e+09" -> "2e+09".
std::string TrimMantissa(std::string text)
{
    const std::size_t e = text.find('e');
    if (e == std::string::npos || text.find('.') == std::string::npos)
        return text;
    std::size_t end = e;
    while (end > 0 && text[end - 1] == '0')
        --end;
    if (end > 0 && text[end - 1] == '.')
        --end;
    return text.substr(0, end) + text.substr(e);
}

}   // namespace

double RoundTickStep(double span, int maxIntervals)
{
    if (!(span > 0) || !std::isfinite(span) || maxIntervals < 1)
        return 0;
    const double raw = span / maxIntervals;
    const double base = std::pow(10.0, std::floor(std::log10(raw)));
    if (!(base > 0) || !std::isfinite(base))
        return 0;
    for (double m : {1.0, 2.0, 5.0, 10.0, 20.0}) {
        const double step = m * base;
        if (step >= raw * (1 - 1e-12))
            return step;
    }
    return 20 * base;
}

std::string FormatTickValue(double value, double step, double largestMagnitude)
{
    if (value == 0 || !std::isfinite(value))
        return value == 0 ? "0" : Format(std::chars_format::general, 6, value);
    if (!(step > 0) || !std::isfinite(step))
        return TrimMantissa(Format(std::chars_format::scientific, 6, value));
    const int stepDecade = DecadeOf(step);
    const int decimals = std::max(0, -stepDecade);
    const bool plain = largestMagnitude < 1e7 && (decimals <= 4 || (decimals <= 9 && largestMagnitude >= 1e-2));
    if (plain)
        return Format(std::chars_format::fixed, decimals, value);
    const int digits = std::clamp(DecadeOf(std::fabs(value)) - stepDecade, 0, 15);
    return TrimMantissa(Format(std::chars_format::scientific, digits, value));
}

std::vector<AxisTick> ComputeAxisTicks(double a, double b, int maxIntervals)
{
    std::vector<AxisTick> ticks;
    if (!std::isfinite(a) || !std::isfinite(b))
        return ticks;
    const double lo = std::min(a, b);
    const double hi = std::max(a, b);
    const double largest = std::max(std::fabs(lo), std::fabs(hi));
    if (lo == hi) {
        ticks.push_back({lo, lo == 0 ? std::string("0") : Format(std::chars_format::general, 6, lo)});
        return ticks;
    }
    maxIntervals = std::clamp(maxIntervals, 1, kMaxTicks);
    double step = RoundTickStep(hi - lo, maxIntervals);
    if (step == 0)
        return ticks;
    auto firstOf = [&](double s) { return std::ceil(lo / s - 1e-9); };
    auto lastOf = [&](double s) { return std::floor(hi / s + 1e-9); };
    // The span can hold one interval more than its length says when the
    // limits fall just inside multiples of the step; a finer step is then
    // taken while its ticks still fit.
    for (int i = 0; i < 3; ++i) {
        const double mantissa = step / std::pow(10.0, DecadeOf(step));
        const double finer = step * (mantissa < 3 ? 0.5 : 0.4);   // 1 -> 0.5, 2 -> 1, 5 -> 2
        if (!(finer > 0) || lastOf(finer) - firstOf(finer) > maxIntervals)
            break;
        step = finer;
    }
    const double first = firstOf(step);
    const double last = lastOf(step);
    if (!(first <= last) || last - first > kMaxTicks)
        return ticks;
    double previous = std::nan("");
    for (double k = first; k <= last; ++k) {
        double v = k * step;
        // A multiple that should be zero can come out as a residue of rounding.
        if (std::fabs(v) < step * 1e-6)
            v = 0;
        v = std::clamp(v, lo, hi);
        if (v == previous)
            continue;
        previous = v;
        ticks.push_back({v, FormatTickValue(v, step, largest)});
    }
    return ticks;
}
