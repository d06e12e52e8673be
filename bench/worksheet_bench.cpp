#include "solver/problem_generator.h"
#include "solver/worksheet.h"

#ifdef PARVOLIN_WORKSHEET_PDF
#include "cli/worksheet_pdf.h"
#endif

#include <benchmark/benchmark.h>

namespace {

using namespace parvolin;

void BM_GenerateProblem(benchmark::State &state)
{
    ProblemGenerator generator(1, {});
    for (auto _ : state)
        benchmark::DoNotOptimize(generator.next());
}
BENCHMARK(BM_GenerateProblem);

WorksheetOptions sixty_with_key_and_steps()
{
    WorksheetOptions options;
    options.count = 60;
    options.key = true;
    options.steps = true;
    options.date = "9. 12. 2026";
    return options;
}

void BM_Worksheet60WithKeyAndStepsRtf(benchmark::State &state)
{
    WorksheetOptions options = sixty_with_key_and_steps();
    for (auto _ : state) {
        ++options.seed;
        benchmark::DoNotOptimize(worksheet_rtf(build_worksheet(options)));
    }
}
BENCHMARK(BM_Worksheet60WithKeyAndStepsRtf)->Unit(benchmark::kMillisecond);

#ifdef PARVOLIN_WORKSHEET_PDF
// The whole road of `worksheet --count 60 --key --steps --format pdf`, Qt's
// start included (once per process, as the command line pays it).
void BM_Worksheet60WithKeyAndStepsPdf(benchmark::State &state)
{
    WorksheetOptions options = sixty_with_key_and_steps();
    for (auto _ : state) {
        ++options.seed;
        std::string why;
        benchmark::DoNotOptimize(cli::worksheet_pdf(build_worksheet(options), why));
    }
}
BENCHMARK(BM_Worksheet60WithKeyAndStepsPdf)->Unit(benchmark::kMillisecond);
#endif

} // namespace
