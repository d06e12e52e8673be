// Time of the exact step-by-step working: school problems, and coefficients
// of 10 000 digits.

#include "solver/steps.h"

#include <benchmark/benchmark.h>

#include <random>
#include <string>

namespace {

using parvolin::ProblemInput;

// The working and its plain text, as `parvolin-cli steps` makes them.
void work(benchmark::State &state, const ProblemInput &input)
{
    for (auto _ : state) {
        const auto result = parvolin::build_steps(input, ',');
        auto lines = parvolin::plain_lines(result.working);
        benchmark::DoNotOptimize(lines);
    }
}

void BM_StepsSchoolFractions(benchmark::State &state) { work(state, {"2", "-3", "1", 2, 0}); }
void BM_StepsSchoolSurds(benchmark::State &state) { work(state, {"1", "-3", "1", 1, 1}); }
void BM_StepsSchoolDecimals(benchmark::State &state) { work(state, {"1", "-0,6", "0,09", 0, 0}); }

// 10 000 digits after the comma: a run of zeros, then 4 900 random digits (as
// many as the report's reading takes without leaving its range).
std::string ten_thousand_digits()
{
    std::mt19937 random(15);
    std::string text = "0," + std::string(5'100, '0');
    while (text.size() < 10'002)
        text += static_cast<char>('1' + random() % 9);
    return text;
}

void BM_StepsTenThousandDigits(benchmark::State &state)
{
    const std::string b = ten_thousand_digits();
    work(state, {"1", b, "-1", 0, 0});
}

void BM_StepsTenThousandDigitsInequality(benchmark::State &state)
{
    const std::string b = ten_thousand_digits();
    work(state, {"3", b, "-2", 2, 4});
}

} // namespace

BENCHMARK(BM_StepsSchoolFractions);
BENCHMARK(BM_StepsSchoolSurds);
BENCHMARK(BM_StepsSchoolDecimals);
BENCHMARK(BM_StepsTenThousandDigits)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StepsTenThousandDigitsInequality)->Unit(benchmark::kMillisecond);
