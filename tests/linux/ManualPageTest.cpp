// The manual page and --help describe the same program: the same options in
// the same order, each one known to the parser, and the same exit statuses.
#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "app/CommandLine.h"

namespace {

std::string manualPage()
{
    std::ifstream in(QUITTENHAIN_MANUAL_PAGE);
    std::ostringstream text;
    text << in.rdbuf();
    // roff writes a minus sign as \- and a plain hyphen would be a dash.
    return std::regex_replace(text.str(), std::regex(R"(\\-)"), "-");
}

std::vector<std::string> lines(const std::string& text)
{
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        out.push_back(line);
    return out;
}

// The lines of one ".SH NAME" section.
std::vector<std::string> manualSection(const std::string& name)
{
    std::vector<std::string> out;
    bool inside = false;
    for (const std::string& line : lines(manualPage())) {
        if (line.rfind(".SH", 0) == 0)
            inside = line == ".SH " + name;
        else if (inside)
            out.push_back(line);
    }
    return out;
}

// The option each ".TP" entry of OPTIONS describes: the first word of its tag
// line ("--capture" from ".BI --capture " DIR"").  Entries that document one
// option for two kinds of argument count once.
std::vector<std::string> manualOptions()
{
    const std::vector<std::string> section = manualSection("OPTIONS");
    std::vector<std::string> options;
    const std::regex tag(R"(^\.B[IR]? (?:-h ", " )?(--[-a-z]+))");
    for (size_t i = 0; i + 1 < section.size(); ++i) {
        std::smatch match;
        if (section[i] == ".TP" && std::regex_search(section[i + 1], match, tag) &&
            (options.empty() || options.back() != match[1]))
            options.push_back(match[1]);
    }
    return options;
}

// The options of --help: the first option word of each indented option line.
std::vector<std::string> helpOptions()
{
    std::vector<std::string> options;
    const std::regex entry(R"(^  (-h, )?(--[-a-z]+))");
    for (const std::string& line : lines(usageText())) {
        std::smatch match;
        if (std::regex_search(line, match, entry) && (options.empty() || options.back() != match[2]))
            options.push_back(match[2]);
    }
    return options;
}

std::set<int> numbersIn(const std::string& text)
{
    std::set<int> numbers;
    const std::regex number(R"(\b[0-9]+\b)");
    for (auto it = std::sregex_iterator(text.begin(), text.end(), number); it != std::sregex_iterator(); ++it)
        numbers.insert(std::stoi(it->str()));
    return numbers;
}

TEST(ManualPage, ListsTheOptionsOfHelpInItsOrder)
{
    const std::vector<std::string> help = helpOptions();
    ASSERT_GE(help.size(), 10u) << usageText();
    EXPECT_EQ(manualOptions(), help);
}

TEST(ManualPage, EveryDocumentedOptionIsKnownToTheParser)
{
    for (const std::string& option : helpOptions()) {
        const char* argv[] = {"quittenhain", option.c_str()};
        EXPECT_NE(parseCommandLine(2, argv).error, "unknown option: " + option);
    }
}

TEST(ManualPage, GivesTheExitStatusesOfHelp)
{
    const std::string help = usageText();
    const size_t paragraph = help.find("Exit status:");
    ASSERT_NE(paragraph, std::string::npos);
    std::set<int> manual;
    const std::vector<std::string> section = manualSection("EXIT STATUS");
    for (size_t i = 0; i + 1 < section.size(); ++i)
        if (section[i] == ".TP" && section[i + 1].rfind(".B ", 0) == 0)
            manual.insert(std::stoi(section[i + 1].substr(3)));
    EXPECT_EQ(manual, numbersIn(help.substr(paragraph)));
    EXPECT_EQ(manual, (std::set<int>{0, 1, 2, 3, 4, 129, 130, 143}));
}

}  // namespace
