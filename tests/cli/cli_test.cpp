// parvolin-cli run as a child process: arguments and standard input in;
// standard output, standard error and exit status out.

#include "tests/solver/test_support.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <fcntl.h>
#include <poll.h>
#include <sys/resource.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace parvolin {
namespace {

using Lines = std::vector<std::string>;
using namespace std::string_literals;

struct RunResult {
    std::string out;
    std::string err;
    int exit_code = -1;
    std::string out_before_end_of_input; // with hold_input
};

struct RunOptions {
    int closed_fd = -1;               // 0 or 1: left closed in the child
    const char *stdout_file = nullptr; // opened as the child's standard output instead of the pipe
    rlim_t address_space = 0;         // a limit on the child's memory, set before it gets any input
    bool hold_input = false;          // end the input only once output came (or after 5 s)
    const char *program = PARVOLIN_CLI_PATH;
    Lines environment = {};           // "NAME=value" besides LC_ALL
    const char *locale = "C";         // the child's LC_ALL
};

// Runs the command in the C locale unless told otherwise (default
// separator: the dot), feeding
// `input` while reading both outputs so that no pipe can stall the child.
RunResult run_cli(const Lines &args, std::string_view input = {}, const RunOptions &options = {})
{
    const int closed_fd = options.closed_fd;
    std::signal(SIGPIPE, SIG_IGN); // the child may exit before reading all input
    int in[2], out[2], err[2];
    if (pipe2(in, O_CLOEXEC) != 0 || pipe2(out, O_CLOEXEC) != 0 || pipe2(err, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    for (const auto &[from, to] : {std::pair{in[0], 0}, std::pair{out[1], 1}, std::pair{err[1], 2}}) {
        if (to == closed_fd)
            posix_spawn_file_actions_addclose(&actions, to);
        else if (to == 1 && options.stdout_file != nullptr)
            posix_spawn_file_actions_addopen(&actions, to, options.stdout_file, O_WRONLY, 0);
        else
            posix_spawn_file_actions_adddup2(&actions, from, to);
    }
    std::vector<char *> argv{const_cast<char *>(options.program)};
    for (const auto &arg : args)
        argv.push_back(const_cast<char *>(arg.c_str()));
    argv.push_back(nullptr);
    std::string locale = std::string("LC_ALL=") + options.locale;
    std::vector<char *> envp{locale.data()};
    for (const auto &variable : options.environment)
        envp.push_back(const_cast<char *>(variable.c_str()));
    envp.push_back(nullptr);
    pid_t pid = -1;
    const int spawned = posix_spawn(&pid, options.program, &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    for (const int fd : {in[0], out[1], err[1]})
        close(fd);
    if (spawned != 0)
        throw std::runtime_error("posix_spawn failed");
    if (options.address_space != 0) {
        const rlimit limit{options.address_space, options.address_space};
        if (::prlimit(pid, RLIMIT_AS, &limit, nullptr) != 0)
            throw std::runtime_error("prlimit failed");
    }

    RunResult result;
    fcntl(in[1], F_SETFL, O_NONBLOCK);
    pollfd fds[3] = {{in[1], POLLOUT, 0}, {out[0], POLLIN, 0}, {err[0], POLLIN, 0}};
    std::string *sinks[3] = {nullptr, &result.out, &result.err};
    const auto finish = [&](int i) { close(fds[i].fd), fds[i].fd = -1; };
    if (input.empty())
        finish(0);
    char block[65536];
    bool held = false;
    while (fds[0].fd >= 0 || fds[1].fd >= 0 || fds[2].fd >= 0) {
        const int ready = poll(fds, 3, held ? 5000 : -1);
        if (ready < 0)
            continue; // EINTR
        if (fds[0].fd >= 0 && fds[0].revents != 0 && !held) {
            const ssize_t n = write(fds[0].fd, input.data(), input.size());
            if (n > 0)
                input.remove_prefix(n);
            if (input.empty() && options.hold_input) {
                held = true;
                fds[0].events = 0;
            } else if (input.empty() || (n < 0 && errno != EAGAIN)) {
                finish(0);
            }
        }
        for (int i = 1; i < 3; ++i) {
            if (fds[i].fd < 0 || fds[i].revents == 0)
                continue;
            const ssize_t n = read(fds[i].fd, block, sizeof block);
            if (n > 0)
                sinks[i]->append(block, n);
            else
                finish(i);
        }
        if (held && (ready == 0 || !result.out.empty())) {
            result.out_before_end_of_input = result.out;
            held = false;
            finish(0);
        }
    }
    int status = 0;
    waitpid(pid, &status, 0);
    result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::string joined(const Lines &lines)
{
    std::string text;
    for (const auto &line : lines)
        text += line + '\n';
    return text;
}

struct SolveRow : NamedRow {
    Lines args;
    int exit_code;
    std::string out;
    std::string err;
};

class Solve : public testing::TestWithParam<SolveRow> {};

TEST_P(Solve, WritesReportOrFailure)
{
    const auto &row = GetParam();
    const auto result = run_cli(row.args);
    EXPECT_EQ(result.exit_code, row.exit_code);
    EXPECT_EQ(result.out, row.out);
    EXPECT_EQ(result.err, row.err);
}

INSTANTIATE_TEST_SUITE_P(
    Cli, Solve,
    testing::Values(
        SolveRow{"two_roots_comma", {"solve", "--sep", ",", "1", "-3", "2"}, 0, joined(two_roots_report), ""},
        SolveRow{"empty_texts_count_as_zero", {"solve", "", "", ""}, 0, joined(every_number_report), ""},
        SolveRow{"dot_with_comma_separator", {"solve", "--sep=,", "1.5", "0", "0"}, 1, "",
                 "'1.5' is not a valid floating point value.\n"},
        SolveRow{"c_locale_separator_is_dot", {"solve", "1,5", "0", "0"}, 1, "",
                 "'1,5' is not a valid floating point value.\n"},
        SolveRow{"double_dash_ends_options", {"solve", "--", "1", "--3", "2"}, 1, "",
                 "'--3' is not a valid floating point value.\n"},
        SolveRow{"overflow_gets_full_stop", {"solve", "1E309", "0", "0"}, 1, "", "Floating point overflow.\n"},
        // A terminal never gets the bytes that would steer it.
        SolveRow{"control_bytes_escaped", {"solve", "\x1b[2J\\\x7f", "0", "0"}, 1, "",
                 "'\\x1b[2J\\\\\\x7f' is not a valid floating point value.\n"}),
    row_name);

// --rel and --places reach the right list index: the header, the problem
// line's ending and the precision line show which.
struct OptionRow : NamedRow {
    Lines options;
    Lines decided; // lines 1, 2 and 7 of the report
};

class SolveOption : public testing::TestWithParam<OptionRow> {};

TEST_P(SolveOption, SelectsRelationAndPlaces)
{
    Lines args{"solve"};
    args.insert(args.end(), GetParam().options.begin(), GetParam().options.end());
    args.insert(args.end(), {"", "", ""});
    const auto result = run_cli(args);
    ASSERT_EQ(result.exit_code, 0) << result.err;
    Lines lines;
    for (std::size_t start = 0, end; (end = result.out.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(result.out.substr(start, end - start));
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ((Lines{lines[0], lines[1], lines[6]}), GetParam().decided);
}

const std::string precision = "Výpočet byl proveden s přesností na ";
INSTANTIATE_TEST_SUITE_P(
    Cli, SolveOption,
    testing::Values(
        OptionRow{"less", {"--rel", "<"},
                  {"Řešení nerovnice ", "(0) . x^2 + (0) . x + (0) < 0", precision + "2desetinnná místa"}},
        OptionRow{"greater_3", {"--rel", ">", "--places", "3"},
                  {"Řešení nerovnice ", "(0) . x^2 + (0) . x + (0) > 0", precision + "3desetinnná místa"}},
        OptionRow{"less_equal_4", {"--rel=<=", "--places=4"},
                  {"Řešení nerovnice", "(0) . x^2 + (0) . x + (0) <= 0", precision + "4desetinnná místa"}},
        OptionRow{"greater_equal_6", {"--places", "6", "--rel", ">="},
                  {"Řešení nerovnice ", "(0) . x^2 + (0) . x + (0) >= 0", precision + "6desetinnných míst"}}),
    row_name);

struct UsageRow : NamedRow {
    Lines args;
};

class BadCommandLine : public testing::TestWithParam<UsageRow> {};

TEST_P(BadCommandLine, ExitsWithUsage)
{
    const auto result = run_cli(GetParam().args);
    EXPECT_EQ(result.exit_code, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find("Usage:"), std::string::npos) << result.err;
}

INSTANTIATE_TEST_SUITE_P(
    Cli, BadCommandLine,
    testing::Values(UsageRow{"no_arguments", {}}, UsageRow{"unknown_command", {"solv", "1", "2", "3"}},
                    UsageRow{"unknown_option", {"solve", "--prec", "2", "1", "2", "3"}},
                    UsageRow{"separator_semicolon", {"solve", "--sep", ";", "1", "2", "3"}},
                    UsageRow{"missing_value", {"batch", "--sep"}},
                    UsageRow{"relation_reversed", {"solve", "--rel", "=<", "1", "2", "3"}},
                    UsageRow{"places_7", {"solve", "--places", "7", "1", "2", "3"}},
                    UsageRow{"two_coefficients", {"solve", "1", "2"}},
                    UsageRow{"json_is_for_batch", {"solve", "--json", "1", "2", "3"}},
                    UsageRow{"batch_takes_no_operands", {"batch", "problems.txt"}},
                    UsageRow{"steps_two_coefficients", {"steps", "1", "2"}},
                    UsageRow{"steps_places_1", {"steps", "--places=1", "1", "2", "3"}},
                    UsageRow{"steps_no_batch_flag", {"steps", "--steps", "1", "2", "3"}},
                    UsageRow{"check_without_answer", {"check", "1", "-3", "2"}},
                    UsageRow{"check_two_answers", {"check", "--", "1", "-3", "2", "{1;2}", "{1}"}},
                    UsageRow{"check_has_no_places", {"check", "--places", "3", "1", "-3", "2", "{1;2}"}}),
    row_name);

TEST(Help, PrintsUsageAndSucceeds)
{
    for (const Lines &args : {Lines{"--help"}, Lines{"batch", "--help"}, Lines{"steps", "--help"}}) {
        const auto result = run_cli(args);
        EXPECT_EQ(result.exit_code, 0);
        EXPECT_EQ(result.out.rfind("Usage:", 0), 0u) << result.out;
    }
}

// The working's failure goes through the same escaping as every message.
TEST(Steps, FailureIsEscapedAndOutputEmpty)
{
    const auto result = run_cli({"steps", "--sep", ",", "--", std::string("1\x1b[2J", 5), "0", "0"});
    EXPECT_EQ(result.exit_code, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find("1\\x1b[2J"), std::string::npos) << result.err;
    EXPECT_EQ(result.err.find('\x1b'), std::string::npos) << "an escape reached the terminal";
}

// `check`: the verdict in the exit status, and what the practice view says.
struct CheckRow : NamedRow {
    Lines args;
    int exit_code;
    std::string out;
};

class Check : public testing::TestWithParam<CheckRow> {};

TEST_P(Check, JudgesTheAnswer)
{
    const auto &row = GetParam();
    const auto result = run_cli(row.args);
    EXPECT_EQ(result.exit_code, row.exit_code) << result.err;
    EXPECT_EQ(result.out, row.out);
    EXPECT_EQ(result.err, "");
}

INSTANTIATE_TEST_SUITE_P(
    Cli, Check,
    testing::Values(
        CheckRow{"right", {"check", "--", "1", "-3", "2", "K = {1; 2}."}, 0, "right\nSprávně!\n"},
        CheckRow{"right_condition", {"check", "--rel", ">", "--", "1", "-3", "2", "x < 1 nebo x > 2"}, 0,
                 "right\nSprávně!\n"},
        CheckRow{"right_working_notation", {"check", "--", "3", "-2", "-7", "x₁,₂ = (1 ± √22)/3"}, 0,
                 "right\nSprávně!\n"},
        CheckRow{"wrong", {"check", "--sep", ",", "--", "1", "-3", "2", "{1 ; 2,5}"}, 1,
                 "wrong\nTo není správně. Číslo 2,5 není kořenem rovnice.\n"},
        CheckRow{"wrong_inequality", {"check", "--rel=<=", "1", "-3", "2", "(1 ; 2>"}, 1,
                 "wrong\nTo není správně. U čísla 1 má být lomená závorka: do řešení patří.\n"},
        CheckRow{"unreadable", {"check", "--", "1", "-3", "2", "(1 ; 2"}, 3,
                 "unreadable\nNa 7. místě má být pravá závorka intervalu, ) nebo >.\n"},
        CheckRow{"approximate", {"check", "--", "1", "0", "-5", "{-2.24 ; 2.24}"}, 3,
                 "approximate\nSkoro. Číslo −2.24 je jen přibližná hodnota; zapište ho přesně (zlomkem nebo "
                 "odmocninou).\n"},
        CheckRow{"json_right", {"check", "--json", "--", "1", "-3", "2", "1; 2"}, 0,
                 "{\"verdict\":\"right\",\"message\":\"Správně!\"}\n"},
        CheckRow{"json_unreadable", {"check", "--json", "1", "-3", "2", "{1 ; 2"}, 3,
                 "{\"verdict\":\"unreadable\",\"message\":\"Na 7. místě má být středník před dalším prvkem nebo "
                 "závorka }, která výčet končí.\"}\n"},
        CheckRow{"json_approximate_kind", {"check", "--json", "--", "1", "0", "-5", "x = ±2.236"}, 3,
                 "{\"verdict\":\"approximate\",\"message\":\"Skoro. Číslo −2.236 je jen přibližná hodnota; zapište "
                 "ho přesně (zlomkem nebo odmocninou).\"}\n"},
        // A pasted page of digits is quoted by its start and its end.
        CheckRow{"huge_answer", {"check", "--", "1", "-3", "2", std::string(100'000, '7')}, 1,
                 "wrong\nTo není správně. Číslo " + std::string(24, '7') + "…" + std::string(24, '7') +
                     " (100 000 znaků) není kořenem rovnice.\n"},
        CheckRow{"json_huge_end",
                 {"check", "--json", "--rel", "<", "--", "1", "-3", "2", "(1 ; " + std::string(100'000, '7') + ")"}, 1,
                 "{\"verdict\":\"wrong\",\"message\":\"To není správně. Číslo " + std::string(24, '7') + "…" +
                     std::string(24, '7') +
                     " (100 000 znaků) není nulovým bodem levé strany, mezí řešení proto být nemůže.\"}\n"}),
    row_name);

// A problem that cannot be judged is no verdict on the answer: status 2, the
// reason escaped on standard error, nothing on standard output.
TEST(Check, BadCoefficientIsNoVerdict)
{
    const auto result = run_cli({"check", "--", "1\x1b", "-3", "2", "{1;2}"});
    EXPECT_EQ(result.exit_code, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_NE(result.err.find("1\\x1b"), std::string::npos) << result.err;
}

TEST(Check, HelpIsItsOwn)
{
    const auto result = run_cli({"check", "--help"});
    EXPECT_EQ(result.exit_code, 0);
    EXPECT_EQ(result.out.rfind("Usage:\n  parvolin-cli check", 0), 0u) << result.out;
}

std::string json_report(const Lines &lines) { return nlohmann::json{{"lines", lines}}.dump() + '\n'; }
std::string json_error(const std::string &text) { return nlohmann::json{{"error", text}}.dump() + '\n'; }

struct BatchRow : NamedRow {
    Lines options;
    std::string input;
    std::string out;
};

class Batch : public testing::TestWithParam<BatchRow> {};

TEST_P(Batch, WritesOneResultPerLine)
{
    Lines args{"batch"};
    args.insert(args.end(), GetParam().options.begin(), GetParam().options.end());
    const auto result = run_cli(args, GetParam().input);
    EXPECT_EQ(result.exit_code, 0);
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out, GetParam().out);
}

INSTANTIATE_TEST_SUITE_P(
    Cli, Batch,
    testing::Values(
        BatchRow{"json_good_failing_malformed_in_order",
                 {"--json", "--sep", ","},
                 "1\t-3\t2\t=\t2\n1.5\t0\t0\t=\t2\n1\t-3\t2\t=\n1\t-3\t2\t=<\t2\n1\t-3\t2\t=\t7\n1\t-3\t2\t=\t2\n",
                 json_report(two_roots_report) + json_error("line 2: '1.5' is not a valid floating point value.") +
                     json_error("line 3: expected 5 tab-separated fields, found 4") +
                     json_error("line 4: the relation must be one of = < > <= >=, found '=<'") +
                     json_error("line 5: the decimal places must be a digit from 2 to 6, found '7'") +
                     json_report(two_roots_report)},
        BatchRow{"empty_input", {"--json"}, "", ""},
        BatchRow{"crlf_and_last_line_without_newline", {"--json", "--sep", ","}, "1\t-3\t2\t=\t2\r\n1\t-3\t2\t=\t2",
                 json_report(two_roots_report) + json_report(two_roots_report)},
        BatchRow{"empty_fields_and_empty_line", {"--json"}, "\t\t\t=\t2\n\n",
                 json_report(every_number_report) + json_error("line 2: expected 5 tab-separated fields, found 1")},
        // Not UTF-8: the bytes come back as U+FFFD, and the line is still JSON.
        BatchRow{"invalid_utf8_replaced", {"--json"}, "\xff\xfe\t0\t0\t=\t2\n",
                 json_error("line 1: '\uFFFD\uFFFD' is not a valid floating point value.")},
        // A zero byte cuts nothing: JSON escapes it, the text form writes it as \x00.
        BatchRow{"zero_byte_json", {"--json"}, "\0\x01\t1\t1\t=\t2\n"s,
                 json_error("line 1: '\0\x01' is not a valid floating point value."s)},
        BatchRow{"zero_byte_text", {}, "\0\x01\t1\t1\t=\t2\n1\t1\t1\t=\t\0\n"s,
                 "chyba: line 1: '\\x00\\x01' is not a valid floating point value.\n\n"
                 "chyba: line 2: the decimal places must be a digit from 2 to 6, found '\\x00'\n\n"},
        // Bytes that are not UTF-8 and C1 controls (U+009B starts a terminal
        // sequence) are escaped too; Czech letters are not.
        BatchRow{"text_escapes_only_what_is_not_text", {}, "\xff\xc2\x9b\xc4\x8d\t0\t0\t=\t2\n",
                 "chyba: line 1: '\\xff\\xc2\\x9b\xc4\x8d' is not a valid floating point value.\n\n"},
        BatchRow{"overflow_names_its_line", {"--json"}, "1\t-3\t2\t=\t2\n1E309\t0\t0\t=\t2\n",
                 json_report(two_roots_report) + json_error("line 2: Floating point overflow.")},
        BatchRow{"text_form", {"--sep", ","}, "1\t-3\t2\t=\t2\n1.5\t0\t0\t=\t2\n1\t2\n",
                 joined(two_roots_report) + "\nchyba: line 2: '1.5' is not a valid floating point value.\n\n" +
                     "chyba: line 3: expected 5 tab-separated fields, found 2\n\n"}),
    row_name);

// More than one read block: lines split between reads, a line of 1 MiB
// (the longest read), and lines longer than that, which get a message of
// their own.
TEST(BatchLargeInput, KeepsEveryLineInOrder)
{
    constexpr std::size_t limit = 1 << 20;
    const std::string longest_text(limit - 8, 'x'); // with "\t0\t0\t=\t2", 1 MiB
    std::string input, expected;
    for (int i = 0; i < 150'000; ++i) {
        input += "1\t-3\t2\t=\t2\n";
        expected += json_report(two_roots_report);
        if (i == 50'000) {
            input += longest_text + "\t0\t0\t=\t2\r\n";
            // The message quotes the text's ends and its length, not all of it.
            expected += json_error("line 50002: '" + std::string(24, 'x') + "…" + std::string(24, 'x') +
                                   " (1 048 568 znaků)' is not a valid floating point value.");
        }
        if (i == 100'000) {
            input += std::string(limit - 7, 'x') + "\t0\t0\t=\t2\n" + std::string(3 << 20, 'y') + "\n";
            expected += json_error("line 100003: the line is longer than 1048576 bytes") +
                        json_error("line 100004: the line is longer than 1048576 bytes");
        }
    }
    input += "1\t2";
    expected += json_error("line 150004: expected 5 tab-separated fields, found 2");

    const auto result = run_cli({"batch", "--json", "--sep", ","}, input);
    EXPECT_EQ(result.exit_code, 0);
    EXPECT_TRUE(result.out == expected) << result.out.size() << " bytes, expected " << expected.size();
}

TEST(BatchStreams, ClosedInputOrOutputFails)
{
    for (const auto &[closed_fd, complaint] : {std::pair{0, "cannot read"}, std::pair{1, "cannot write"}}) {
        const auto result = run_cli({"batch"}, "1\t-3\t2\t=\t2\n", RunOptions{closed_fd});
        EXPECT_EQ(result.exit_code, 1) << complaint;
        EXPECT_NE(result.err.find(complaint), std::string::npos) << result.err;
    }
}

// A huge last line without a line break: the results before it are written,
// it gets its message, and it is never held whole: 32 MiB of address space
// (the command needs about 9) do for a line of 40.
TEST(BatchLargeInput, HugeLineWithoutBreakTakesLittleMemory)
{
    std::string input;
    for (int i = 0; i < 5; ++i)
        input += "1\t-3\t2\t=\t2\n";
    input += std::string(40 << 20, '7');
    RunOptions options;
#if !defined(__SANITIZE_ADDRESS__)
    options.address_space = rlim_t{32} << 20; // an address sanitizer reserves far more
#endif
    const auto result = run_cli({"batch", "--json", "--sep", ","}, input, options);
    EXPECT_EQ(result.exit_code, 0) << result.err;
    EXPECT_EQ(result.err, "");
    std::string expected;
    for (int i = 0; i < 5; ++i)
        expected += json_report(two_roots_report);
    EXPECT_EQ(result.out, expected + json_error("line 6: the line is longer than 1048576 bytes"));
}

// Each result is out before the next line has come: a script may feed the
// command one problem at a time and wait for each answer.
TEST(BatchStreams, ResultComesBeforeTheNextLine)
{
    RunOptions held;
    held.hold_input = true;
    const auto result = run_cli({"batch", "--json", "--sep", ","}, "1\t-3\t2\t=\t2\n", held);
    EXPECT_EQ(result.out_before_end_of_input, json_report(two_roots_report));
    EXPECT_EQ(result.exit_code, 0);
}

// Writing the usage fails like any other write: status 1 and a word why.
TEST(Help, IntoAFullOutputFails)
{
    for (const Lines &args : {Lines{"--help"}, Lines{"solve", "--help"}, Lines{"worksheet", "--help"}}) {
        RunOptions full;
        full.stdout_file = "/dev/full";
        const auto result = run_cli(args, {}, full);
        EXPECT_EQ(result.exit_code, 1);
        EXPECT_EQ(result.err, "parvolin-cli: cannot write the output: No space left on device\n");
        const auto closed = run_cli(args, {}, RunOptions{1});
        EXPECT_EQ(closed.exit_code, 1);
        EXPECT_EQ(closed.err, "parvolin-cli: cannot write the output: Bad file descriptor\n");
    }
}

// Every command says alike that its output could not be written, in the
// system's English words whatever the locale (the PDF module's toolkit
// switches the process to the user's locale).
struct FailedWriteRow : NamedRow {
    Lines args;
    std::string input;
    int exit_code;
    const char *locale = "C";
};

class FailedWrite : public ::testing::TestWithParam<FailedWriteRow> {};

TEST_P(FailedWrite, SaysSoAsEveryCommandDoes)
{
    for (const bool full : {true, false}) {
        RunOptions options;
        options.locale = GetParam().locale;
        if (full)
            options.stdout_file = "/dev/full";
        else
            options.closed_fd = 1;
        const auto result = run_cli(GetParam().args, GetParam().input, options);
        EXPECT_EQ(result.exit_code, GetParam().exit_code);
        EXPECT_EQ(result.err, std::string("parvolin-cli: cannot write the output: ") +
                                  (full ? "No space left on device\n" : "Bad file descriptor\n"));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cli, FailedWrite,
    ::testing::Values(FailedWriteRow{"solve", {"solve", "1", "-3", "2"}, {}, 1},
                      FailedWriteRow{"steps", {"steps", "1", "-3", "2"}, {}, 1},
                      FailedWriteRow{"check", {"check", "1", "-3", "2", "{1; 2}"}, {}, 4},
                      FailedWriteRow{"batch", {"batch"}, "1\t-3\t2\t=\t2\n", 1},
                      FailedWriteRow{"worksheet", {"worksheet"}, {}, 1},
                      FailedWriteRow{"worksheet_rtf_czech", {"worksheet", "--format", "rtf"}, {}, 1, "cs_CZ.UTF-8"},
                      FailedWriteRow{"worksheet_pdf_czech", {"worksheet", "--format", "pdf"}, {}, 1, "cs_CZ.UTF-8"}),
    row_name);

struct WorksheetUsageRow : NamedRow {
    Lines args;
    const char *message;
};

class WorksheetUsage : public ::testing::TestWithParam<WorksheetUsageRow> {};

TEST_P(WorksheetUsage, RefusesWithStatusTwo)
{
    Lines args{"worksheet"};
    args.insert(args.end(), GetParam().args.begin(), GetParam().args.end());
    const auto result = run_cli(args);
    EXPECT_EQ(result.exit_code, 2);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(result.err.substr(0, result.err.find('\n')), std::string("parvolin-cli: ") + GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(
    Worksheet, WorksheetUsage,
    ::testing::Values(WorksheetUsageRow{"count_zero", {"--count", "0"}, "--count must be a number from 1 to 60, not '0'"},
                      WorksheetUsageRow{"count_61", {"--count=61"}, "--count must be a number from 1 to 60, not '61'"},
                      WorksheetUsageRow{"bad_kind", {"--kinds", "integer,cubic"}, "unknown kind 'cubic'"},
                      WorksheetUsageRow{"bad_relation", {"--relations", "=,=<"},
                                        "--relations takes = < > <= >=, not '=<'"},
                      WorksheetUsageRow{"bad_seed", {"--seed", "-1"}, "--seed must be a whole number from 0, not '-1'"},
                      WorksheetUsageRow{"no_output_name", {"-o"}, "-o needs a value"}),
    row_name);

TEST(Worksheet, SameSeedSameSheetAndTheNumberOnIt)
{
    const auto first = run_cli({"worksheet", "--seed", "31415", "--key", "--count", "12"});
    const auto again = run_cli({"worksheet", "--seed=31415", "--key", "--count=12"});
    EXPECT_EQ(first.exit_code, 0);
    EXPECT_EQ(first.out, again.out);
    EXPECT_NE(first.out.find("Pracovní list č. 31415"), std::string::npos);
    EXPECT_NE(first.out.find("12)  "), std::string::npos);
    EXPECT_EQ(first.out.find("13)  "), std::string::npos);
    const auto chosen = run_cli({"worksheet"});
    EXPECT_EQ(chosen.exit_code, 0);
    EXPECT_NE(chosen.out.find("20)  "), std::string::npos);
}

TEST(Worksheet, AFileThroughALinkIsRefused)
{
    char folder[] = "/tmp/parvolin-sheet-XXXXXX";
    ASSERT_NE(::mkdtemp(folder), nullptr);
    const std::string target = std::string(folder) + "/target", link = std::string(folder) + "/link.rtf";
    ASSERT_EQ(::symlink(target.c_str(), link.c_str()), 0);
    const auto result = run_cli({"worksheet", "--format", "rtf", "-o", link});
    EXPECT_EQ(result.exit_code, 1);
    EXPECT_EQ(result.err, "Soubor „" + link + "“ nelze zapsat: je to symbolický odkaz, přes odkaz nezapisuji.\n");
    EXPECT_NE(::access(target.c_str(), F_OK), 0);
    const std::string file = std::string(folder) + "/list.rtf";
    EXPECT_EQ(run_cli({"worksheet", "--format", "rtf", "-o", file}).exit_code, 0);
    EXPECT_EQ(::access(file.c_str(), F_OK), 0);
    ::unlink(link.c_str());
    ::unlink(file.c_str());
    ::rmdir(folder);
}

// A program copied away from its PDF module still makes text and RTF, and
// for a PDF says that it cannot, writing nothing.
TEST(Worksheet, WithoutThePdfModuleSaysSoAndWritesNothing)
{
    char folder[] = "/tmp/parvolin-alone-XXXXXX";
    ASSERT_NE(::mkdtemp(folder), nullptr);
    const std::string program = std::string(folder) + "/parvolin-cli", pdf = std::string(folder) + "/list.pdf";
    {
        std::ifstream from(PARVOLIN_CLI_PATH, std::ios::binary);
        std::ofstream to(program, std::ios::binary);
        to << from.rdbuf();
    }
    ASSERT_EQ(::chmod(program.c_str(), 0700), 0);
    RunOptions alone;
    alone.program = program.c_str();
    const auto result = run_cli({"worksheet", "--format", "pdf", "-o", pdf}, {}, alone);
    EXPECT_EQ(result.exit_code, 1);
    EXPECT_EQ(result.err.rfind("Pracovní list ve formátu PDF se nepodařilo vytvořit: ", 0), 0u) << result.err;
    EXPECT_NE(::access(pdf.c_str(), F_OK), 0);
    EXPECT_EQ(run_cli({"worksheet", "--format", "rtf"}, {}, alone).exit_code, 0);

    // A file of the module's name that is no module is named as such.
    const std::string module = std::string(folder) + "/parvolin_pdf.so";
    std::ofstream(module) << "not a module\n";
    const auto text_module = run_cli({"worksheet", "--format", "pdf", "-o", pdf}, {}, alone);
    EXPECT_EQ(text_module.exit_code, 1);
    EXPECT_EQ(text_module.err, "Pracovní list ve formátu PDF se nepodařilo vytvořit: soubor " + module +
                                   " není modul pro PDF, nebo je poškozený.\n");
    EXPECT_NE(::access(pdf.c_str(), F_OK), 0);
    ::unlink(module.c_str());
    ::unlink(program.c_str());
    ::rmdir(folder);
}

struct PdfEnvironmentRow : NamedRow {
    Lines environment;
    const char *error; // nullptr: a PDF with its fonts
};

class PdfEnvironment : public ::testing::TestWithParam<PdfEnvironmentRow> {};

// The module draws offscreen whatever platform the environment names, and a
// sheet without fonts is a failure, not a PDF of boxes.
TEST_P(PdfEnvironment, GivesAPdfWithFontsOrSaysWhyNot)
{
    char folder[] = "/tmp/parvolin-pdfenv-XXXXXX";
    ASSERT_NE(::mkdtemp(folder), nullptr);
    const std::string pdf = std::string(folder) + "/list.pdf", fonts = std::string(folder) + "/fonts.conf";
    std::ofstream(fonts) << "<?xml version=\"1.0\"?>\n<fontconfig></fontconfig>\n";
    RunOptions options;
    for (std::string variable : GetParam().environment) {
        if (const auto at = variable.find("FONTS"); at != std::string::npos)
            variable.replace(at, 5, fonts);
        options.environment.push_back(variable);
    }
    const auto result = run_cli({"worksheet", "--format", "pdf", "--seed", "7", "-o", pdf}, {}, options);
    std::ifstream in(pdf, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (GetParam().error == nullptr) {
        EXPECT_EQ(result.exit_code, 0);
        EXPECT_EQ(result.err, "");
        EXPECT_NE(bytes.find("/FontFile"), std::string::npos);
    } else {
        EXPECT_EQ(result.exit_code, 1);
        EXPECT_EQ(result.err, std::string("Pracovní list ve formátu PDF se nepodařilo vytvořit: ") + GetParam().error);
        EXPECT_EQ(bytes, "");
    }
    ::unlink(pdf.c_str());
    ::unlink(fonts.c_str());
    ::rmdir(folder);
}

// FONTS stands for a font configuration that lists no fonts.
INSTANTIATE_TEST_SUITE_P(
    Worksheet, PdfEnvironment,
    ::testing::Values(
        PdfEnvironmentRow{"xcb_without_display", {"QT_QPA_PLATFORM=xcb"}, nullptr},
        PdfEnvironmentRow{"wayland", {"QT_QPA_PLATFORM=wayland"}, nullptr},
        PdfEnvironmentRow{"minimal", {"QT_QPA_PLATFORM=minimal"}, nullptr},
        PdfEnvironmentRow{"bogus", {"QT_QPA_PLATFORM=no-such-platform"}, nullptr},
        PdfEnvironmentRow{"no_fonts",
                          {"FONTCONFIG_FILE=FONTS"},
                          "v systému nejsou písma, která by šlo do PDF vložit.\n"}),
    row_name);

// Runs of blanks and line breaks as one blank: pdftotext lays text out anew.
// Runs of blanks (a non-breaking one too) as one; raised and lowered digits
// as plain ones: the key raises a power as the Postup view does, where the
// sheet writes x².
std::string squeezed(const std::string &text)
{
    static const std::string raised[] = {"⁰", "¹", "²", "³", "⁴", "⁵", "⁶", "⁷", "⁸", "⁹"};
    static const std::string lowered[] = {"₀", "₁", "₂", "₃", "₄", "₅", "₆", "₇", "₈", "₉"};
    std::string out;
    for (std::size_t i = 0; i < text.size();) {
        bool digit = false;
        for (char d = 0; d < 10 && !digit; ++d) {
            for (const std::string &form : {raised[static_cast<int>(d)], lowered[static_cast<int>(d)]}) {
                if (text.compare(i, form.size(), form) == 0) {
                    out += static_cast<char>('0' + d);
                    i += form.size();
                    digit = true;
                    break;
                }
            }
        }
        if (digit)
            continue;
        const bool nbsp = text.compare(i, 2, "\u00a0") == 0;
        const char ch = text[i];
        i += nbsp ? 2 : 1;
        const bool blank = nbsp || ch == ' ' || ch == '\n' || ch == '\f' || ch == '\t';
        if (!blank)
            out += ch;
        else if (!out.empty() && out.back() != ' ')
            out += ' ';
    }
    return out;
}

std::size_t occurrences(const std::string &text, const std::string &part)
{
    std::size_t n = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++n;
    return n;
}

TEST(Worksheet, PdfHoldsEveryProblemOnceAndTheKey)
{
    if (::access("/usr/bin/pdftotext", X_OK) != 0)
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    char folder[] = "/tmp/parvolin-pdf-XXXXXX";
    ASSERT_NE(::mkdtemp(folder), nullptr);
    const std::string pdf = std::string(folder) + "/list.pdf";
    const Lines options{"--seed", "4242", "--count", "40", "--key", "--relations", "=,<,>=", "--difficulty", "large"};
    Lines pdf_args{"worksheet", "--format", "pdf", "-o", pdf};
    pdf_args.insert(pdf_args.end(), options.begin(), options.end());
    const auto made = run_cli(pdf_args);
    ASSERT_EQ(made.exit_code, 0) << made.err;
    EXPECT_EQ(made.err, "");
    Lines text_args{"worksheet"};
    text_args.insert(text_args.end(), options.begin(), options.end());
    const std::string text = run_cli(text_args).out;

    const std::string command = "/usr/bin/pdftotext " + pdf + " -";
    FILE *pipe = ::popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string extracted;
    char block[4096];
    for (std::size_t n; (n = std::fread(block, 1, sizeof block, pipe)) > 0;)
        extracted.append(block, n);
    ASSERT_EQ(::pclose(pipe), 0);
    const std::string pdf_text = squeezed(extracted);

    // every numbered line of the text sheet, problems and key alike
    std::size_t problems = 0, answers = 0;
    for (std::size_t at = 0; at < text.size();) {
        const auto end = text.find('\n', at);
        const std::string line = text.substr(at, end - at);
        at = end + 1;
        if (line.empty() || line[0] < '1' || line[0] > '9' || line.find(")  ") == std::string::npos)
            continue;
        (line.find(":   K = ") == std::string::npos ? problems : answers) += 1;
        // A set with a fraction is stacked: the line up to the set is the same.
        const bool stacked = line.find('/') != std::string::npos;
        const std::string wanted =
            stacked ? " " + squeezed(line.substr(0, line.find("K = ") + 4)) : " " + squeezed(line) + " ";
        EXPECT_EQ(occurrences(" " + pdf_text + " ", wanted), 1u) << line;
    }
    EXPECT_EQ(problems, 40u);
    EXPECT_EQ(answers, 40u);

    // The text starts about 2 cm from the page's left edge (points), not 4.
    FILE *boxes = ::popen(("/usr/bin/pdftotext -bbox -l 1 " + pdf + " -").c_str(), "r");
    ASSERT_NE(boxes, nullptr);
    double leftmost = 1e9;
    for (char line[1024]; std::fgets(line, sizeof line, boxes) != nullptr;)
        if (const char *x = std::strstr(line, "<word xMin=\""))
            leftmost = std::min(leftmost, std::strtod(x + 12, nullptr));
    ::pclose(boxes);
    EXPECT_GT(leftmost, 15 * 72 / 25.4);
    EXPECT_LT(leftmost, 30 * 72 / 25.4);
    ::unlink(pdf.c_str());
    ::rmdir(folder);
}

} // namespace
} // namespace parvolin
