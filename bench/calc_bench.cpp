// SPDX-License-Identifier: MIT
// The calculator behind INCHES and CM: parse the frequency, compute the four dimensions, format
// them. Beside it, four snprintf calls: the least any formatting of four floats costs.
#include "designcalculator.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <string_view>

namespace {

void calculateDesign(benchmark::State &bench, std::string_view text, vorrel::UnitMode mode,
                     const char *separator)
{
    const vorrel::NumberFormat format{separator};
    vorrel::DesignState design;
    for (auto _ : bench) {
        vorrel::DesignResult result = vorrel::calculateDesign(design, text, mode, format);
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK_CAPTURE(calculateDesign, 146_inches, "146", vorrel::UnitMode::Inches, ".");
BENCHMARK_CAPTURE(calculateDesign, 146_cm, "146", vorrel::UnitMode::Centimetres, ".");
BENCHMARK_CAPTURE(calculateDesign, 146_52_comma, "146,52", vorrel::UnitMode::Inches, ",");

void snprintfFourFloats(benchmark::State &bench)
{
    float values[4] = {57.329f, 19.089f, 1.13f, 2.363f};
    char texts[4][32];
    for (auto _ : bench) {
        benchmark::DoNotOptimize(values);
        for (int i = 0; i < 4; ++i)
            std::snprintf(texts[i], sizeof texts[i], "%.7g", static_cast<double>(values[i]));
        benchmark::DoNotOptimize(texts);
    }
}
BENCHMARK(snprintfFourFloats);

} // namespace
