// The main window under a seeded random walk, as a pupil who tries every key
// and command takes it: menu commands from the menu, the toolbar and their
// shortcut keys, characters typed into the coefficient fields (those the key
// filter refuses too), text set and pasted through the context menu, list
// selections by mouse and keyboard, solving by button, Alt+V and Enter, a new
// task, the side panel, the separator choice, the regional separator, window
// sizes, the web links, the about window, saving and printing.
//
// After every step the window must be in the state of its state table that
// the steps lead to (views, result box, enabled commands in menu and
// toolbar, pressed view button, view panel of the status bar), the fields
// must hold what the entry rules let through, and the memo must hold nothing
// or exactly the report of the texts and choices of the last solve.
//
// The walk starts from a fixed seed, so that a run cannot fail by chance, and
// prints it. PARVOLIN_MONKEY_SEED picks another seed or replays a walk that
// went wrong, PARVOLIN_MONKEY_STEPS sets its length: 20,000 steps, or 3,000 in a
// build with the address sanitizer, where a step costs several times as much.
//
// Left out: "Konec" (Ctrl+K) and closing the window, which end the program,
// and the practice view (Ctrl+E), which practice_view_test.cpp walks through.
// The modal windows stay closed through the seams (error display, save and
// print dialogs, shell), except the about window, which is run for real and
// closed by its OK button.
//
// The walk is put together from tests/ui/monkey/: the expected window and
// what the commands do to it (model), the keys and how QTest delivers them
// (keys), the window with its seams (walk), the random steps (steps) and
// the comparison after each one (comparison).

#include "tests/ui/monkey/comparison.h"
#include "tests/ui/monkey/steps.h"
#include "tests/ui/monkey/walk.h"

#include <QElapsedTimer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>

namespace parvolin {
namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool address_sanitizer = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool address_sanitizer = true;
#else
constexpr bool address_sanitizer = false;
#endif
#else
constexpr bool address_sanitizer = false;
#endif

constexpr int default_steps = address_sanitizer ? 3'000 : 20'000;
constexpr std::uint64_t default_seed = 0x5eed'2026'0917;

// Walks `steps` steps from `seed`: the first disagreement between the
// window and the expectation, with the steps that led to it; nothing when all
// steps agreed.
std::optional<std::string> walk_from(std::uint64_t seed, int steps, const QString &folder)
{
    monkey::Walk walk(folder);
    monkey::Steps walker(walk, seed);
    if (std::optional<std::string> problem = monkey::disagreement(walk))
        return "at start: " + *problem;
    std::deque<std::string> trail;
    for (int step = 1; step <= steps; ++step) {
        walk.activate();
        const std::string taken = walker.take_one();
        monkey::Walk::settle();
        trail.push_back(std::to_string(step) + ": " + taken);
        if (trail.size() > 25)
            trail.pop_front();
        if (std::optional<std::string> problem = monkey::disagreement(walk)) {
            std::ostringstream report;
            report << "step " << step << " (" << taken << "): " << *problem << "\nthe last steps:\n";
            for (const std::string &line : trail)
                report << "  " << line << '\n';
            return report.str();
        }
    }
    return std::nullopt;
}

// A positive number from the environment; nothing when the variable is unset.
std::optional<std::uint64_t> number_from_environment(const char *name)
{
    const char *value = std::getenv(name);
    if (value == nullptr || *value == '\0')
        return std::nullopt;
    char *end = nullptr;
    const unsigned long long number = std::strtoull(value, &end, 10);
    if (*end != '\0')
        throw std::invalid_argument(std::string(name) + " is not a number: " + value);
    return number;
}

TEST(MonkeyWalk, EveryStepLeavesTheWindowInTheStateItLeadsTo)
{
    std::uint64_t seed = 0;
    int steps = default_steps;
    try {
        seed = number_from_environment("PARVOLIN_MONKEY_SEED").value_or(default_seed);
        steps = static_cast<int>(number_from_environment("PARVOLIN_MONKEY_STEPS").value_or(default_steps));
    } catch (const std::invalid_argument &error) {
        FAIL() << error.what();
    }
    std::printf("monkey walk: seed %llu, %d steps\n", static_cast<unsigned long long>(seed), steps);
    std::fflush(stdout);
    RecordProperty("seed", std::to_string(seed));

    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QElapsedTimer clock;
    clock.start();
    const std::optional<std::string> problem = walk_from(seed, steps, folder.path());
    std::printf("monkey walk: %d steps in %lld ms\n", steps, static_cast<long long>(clock.elapsed()));
    if (problem)
        ADD_FAILURE() << "The walk with seed " << seed << " went wrong at " << *problem
                      << "Replay it with PARVOLIN_MONKEY_SEED=" << seed << " (PARVOLIN_MONKEY_STEPS to stop sooner).";
}

} // namespace
} // namespace parvolin
