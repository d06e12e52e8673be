// The JSON of the worked steps, alone and in batch results.

#include "cli/batch.h"
#include "cli/steps.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <sstream>
#include <string>

namespace parvolin::cli {
namespace {

TEST(StepsJson, HoldsTheExactSetAsSympyText)
{
    const auto json = steps_json(build_steps({"1", "-3", "1", 1, 0}, ','));
    EXPECT_EQ(json["exact"]["kind"], "intervals");
    EXPECT_EQ(json["exact"]["intervals"],
              nlohmann::json::parse(R"([{"lower":"(3 - sqrt(5))/2","lower_closed":false,
                                         "upper":"(3 + sqrt(5))/2","upper_closed":false}])"));
    EXPECT_TRUE(json["agrees_with_report"].get<bool>());
    EXPECT_TRUE(json["notice"].is_null());
    EXPECT_EQ(json["steps"].back(), "Zaokrouhleno na 2 desetinná místa: (3 − √5)/2 ≐ 0,38; (3 + √5)/2 ≐ 2,62");
}

TEST(StepsJson, AllRealsIsOneIntervalAndPointsAreListed)
{
    const auto all = steps_json(build_steps({"0", "0", "1", 2, 0}, ','));
    EXPECT_EQ(all["exact"]["intervals"],
              nlohmann::json::parse(R"([{"lower":"-oo","lower_closed":false,"upper":"oo","upper_closed":false}])"));
    const auto except = steps_json(build_steps({"1", "-2", "1", 2, 0}, ','));
    EXPECT_EQ(except["exact"]["kind"], "all_except");
    EXPECT_EQ(except["exact"]["excluded"], nlohmann::json::parse(R"(["1"])"));
    const auto points = steps_json(build_steps({"1", "-0,6", "0,09", 0, 0}, ','));
    EXPECT_EQ(points["exact"]["points"], nlohmann::json::parse(R"(["3/10"])"));
    EXPECT_FALSE(points["agrees_with_report"].get<bool>());
    EXPECT_TRUE(points["notice"].is_string());
}

std::string run(const std::string &input, BatchOptions options)
{
    std::size_t at = 0;
    std::string out;
    run_batch(
        [&](std::span<char> buffer) -> std::ptrdiff_t {
            const std::size_t n = std::min(buffer.size(), input.size() - at);
            input.copy(buffer.data(), n, at);
            at += n;
            return static_cast<std::ptrdiff_t>(n);
        },
        [&](std::string_view bytes) {
            out += bytes;
            return true;
        },
        options);
    return out;
}

TEST(BatchSteps, AddTheWorkingToEachResult)
{
    std::istringstream lines(run("1\t-3\t2\t=\t2\nx\t0\t0\t=\t2\n1\t0," + std::string(300'000, '0') +
                                     "1\t0\t=\t2\n1\t-3\t2\t=\t2\n",
                                 {',', true, true}));
    std::string line;
    std::getline(lines, line);
    const auto solved = nlohmann::json::parse(line);
    EXPECT_EQ(solved["lines"].size(), 7u);
    EXPECT_EQ(solved["steps"]["exact"]["points"], nlohmann::json::parse(R"(["1","2"])"));
    std::getline(lines, line);
    EXPECT_FALSE(nlohmann::json::parse(line).contains("steps")); // the report's error, no working
    std::getline(lines, line);
    const auto too_long = nlohmann::json::parse(line);
    EXPECT_TRUE(too_long["steps"].is_null()); // too long to work exactly, and why, as the text mode says
    const std::string text = run("1\t0," + std::string(300'000, '0') + "1\t0\t=\t2\n", {',', false, true});
    const auto reason = text.find("chyba postupu: ");
    ASSERT_NE(reason, std::string::npos);
    EXPECT_EQ(too_long["steps_error"], text.substr(reason + 15, text.find('\n', reason) - reason - 15));
    std::getline(lines, line);
    EXPECT_FALSE(nlohmann::json::parse(line).contains("steps_error")); // not carried to the next result
}

TEST(BatchSteps, WithoutJsonFollowTheReportLines)
{
    const std::string out = run("0\t0\t5\t>\t2\n", {',', false, true});
    EXPECT_NE(out.find("Výpočet byl proveden s přesností na 2desetinnná místa\na = 0 a b = 0"), std::string::npos);
    EXPECT_NE(out.find("Výsledek: K = ℝ\n\n"), std::string::npos);
    EXPECT_EQ(run("0\t0\t5\t>\t2\n", {',', false, false}).find("Výsledek"), std::string::npos);
}

} // namespace
} // namespace parvolin::cli
