// Time of one full report, and throughput of the batch path.

#include "cli/batch.h"
#include "solver/failures.h"
#include "solver/graph_view.h"
#include "solver/report.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>
#include <utility>

namespace {

using parvolin::ProblemInput;

// Every relation, every grade (two roots, double root, no root, linear,
// constant) and one text that fails to parse, with comma as separator.
const std::array<ProblemInput, 14> problem_mix{{
    {"1", "-3", "2", 0, 0},           // two roots
    {"1", "2", "1", 0, 1},            // double root
    {"2,5", "0", "1", 0, 2},          // no real root
    {"0", "4", "-2", 0, 0},           // linear
    {"0", "0", "3", 0, 0},            // constant, no solution
    {"-1", "0,5", "3", 1, 3},         // <, two roots, a < 0
    {"1", "-2", "1", 1, 0},           // <, double root
    {"0", "-3", "7", 2, 4},           // >, linear
    {"3", "1", "5", 2, 0},            // >, no real root
    {"1,25", "-7", "1E-3", 3, 0},     // <=, two roots
    {"0", "0", "-1", 3, 0},           // <=, constant
    {"-2", "4", "-2", 4, 1},          // >=, double root
    {"0", "2", "1", 4, 0},            // >=, linear
    {"1.5", "2", "3", 0, 0},          // fails: dot while the separator is a comma
}};

void BM_FullReport(benchmark::State &state)
{
    std::size_t next = 0;
    for (auto _ : state) {
        try {
            auto report = parvolin::build_report(problem_mix[next], ',');
            benchmark::DoNotOptimize(report);
        } catch (const parvolin::Failure &failure) {
            benchmark::DoNotOptimize(failure.what());
        }
        if (++next == problem_mix.size())
            next = 0;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FullReport)->Repetitions(5)->DisplayAggregatesOnly(true);

// Everything the graph needs from the solver for one picture 350 pixels
// wide: the band, the view, ticks on both axes, the curve and the caption.
// The mix's problems that parse and solve, parsed beforehand.
void BM_GraphOfSolution(benchmark::State &state)
{
    std::vector<std::pair<parvolin::Problem, parvolin::Solution>> solved;
    for (const ProblemInput &input : problem_mix) {
        try {
            const parvolin::Problem problem = parvolin::parse_problem(input, ',');
            solved.emplace_back(problem, parvolin::analyse(problem));
        } catch (const parvolin::Failure &) {
        }
    }
    std::size_t next = 0;
    for (auto _ : state) {
        const auto &[problem, solution] = solved[next];
        const parvolin::GraphView view = parvolin::graph_view(problem, solution);
        benchmark::DoNotOptimize(parvolin::solution_band(solution));
        benchmark::DoNotOptimize(parvolin::axis_ticks(view.x, 8));
        benchmark::DoNotOptimize(parvolin::axis_ticks(view.y, 8));
        benchmark::DoNotOptimize(parvolin::curve_in_view(problem, view, 350));
        benchmark::DoNotOptimize(parvolin::graph_caption(problem, solution, view));
        if (++next == solved.size())
            next = 0;
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_GraphOfSolution)->Unit(benchmark::kMicrosecond);

// A coefficient text of 100,000 characters, more than a field lets in, so a
// bound for anything a paste can bring: a number beyond the double range, a
// valid number behind its leading zeros, and a text that is no number (whose
// message quotes all of it).
void BM_HugeCoefficientText(benchmark::State &state)
{
    constexpr std::size_t length = 100'000;
    std::string text;
    switch (state.range(0)) {
    case 0:
        text.assign(length, '1');
        state.SetLabel("overflow");
        break;
    case 1:
        text.assign(length - 1, '0');
        text += '1';
        state.SetLabel("leading zeros");
        break;
    default:
        text.assign(length, '-');
        state.SetLabel("not a number");
    }
    const ProblemInput input{text, "-3", "2", 0, 0};
    for (auto _ : state) {
        try {
            auto report = parvolin::build_report(input, ',');
            benchmark::DoNotOptimize(report);
        } catch (const parvolin::Failure &failure) {
            benchmark::DoNotOptimize(failure.what());
        }
    }
}
BENCHMARK(BM_HugeCoefficientText)->DenseRange(0, 2)->Unit(benchmark::kMicrosecond);

// The batch lines: the same mix, as tab-separated fields, plus one line with
// a field missing.
std::string batch_input(std::size_t line_count)
{
    static constexpr std::array<const char *, 5> relation_signs{"=", "<", ">", "<=", ">="};
    std::string text;
    for (std::size_t i = 0; i < line_count; ++i) {
        const std::size_t row = i % (problem_mix.size() + 1);
        if (row == problem_mix.size()) {
            text += "1\t2\t3\t=\n";
            continue;
        }
        const auto &problem = problem_mix[row];
        text += problem.a_text;
        text += '\t';
        text += problem.b_text;
        text += '\t';
        text += problem.c_text;
        text += '\t';
        text += relation_signs[problem.relation_index];
        text += '\t';
        text += static_cast<char>('2' + problem.precision_index);
        text += '\n';
    }
    return text;
}

void BM_BatchThroughput(benchmark::State &state)
{
    constexpr std::size_t line_count = 100'000;
    const std::string input = batch_input(line_count);
    const parvolin::cli::BatchOptions options{',', state.range(0) != 0};

    std::size_t output_bytes = 0;
    for (auto _ : state) {
        std::size_t position = 0;
        const auto read = [&](std::span<char> buffer) -> std::ptrdiff_t {
            const std::size_t count = std::min(buffer.size(), input.size() - position);
            std::memcpy(buffer.data(), input.data() + position, count);
            position += count;
            return static_cast<std::ptrdiff_t>(count);
        };
        const auto write = [&](std::string_view bytes) {
            benchmark::DoNotOptimize(bytes.data());
            output_bytes += bytes.size();
            return true;
        };
        parvolin::cli::run_batch(read, write, options);
    }
    state.SetItemsProcessed(static_cast<std::int64_t>(state.iterations() * line_count));
    state.SetBytesProcessed(static_cast<std::int64_t>(output_bytes)); // bytes written
}
BENCHMARK(BM_BatchThroughput)->ArgName("json")->Arg(1)->Arg(0)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
