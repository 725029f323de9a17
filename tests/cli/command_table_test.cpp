// The real commands' declarations: what the usage lines show is what the
// parser takes, and both option forms read alike for every option.
#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <string>
#include <vector>

#include "cli/command.h"

namespace vrellix::cli {
namespace {

std::set<std::string> OptionsIn(const std::string& text) {
  std::set<std::string> found;
  const std::regex option("(^|[ \\[])(--?[a-z][a-z-]*)");
  for (auto it = std::sregex_iterator(text.begin(), text.end(), option); it != std::sregex_iterator(); ++it) {
    found.insert((*it)[2]);
  }
  return found;
}

TEST(CommandTableTest, UsageLinesShowExactlyTheDeclaredOptionsAndArguments) {
  for (const Command* command : Commands()) {
    SCOPED_TRACE(command->name);
    ASSERT_EQ(FindCommand(command->name), command);
    std::string synopsis;
    for (const char* form : command->synopsis) synopsis += std::string(form) + "\n";
    std::set<std::string> declared;
    for (const OptionSpec& option : command->syntax.options) {
      declared.insert(option.shortName ? option.shortName : option.name);
      for (const ValueSpec& value : option.values) {
        EXPECT_NE(synopsis.find(std::string(" ") + value.placeholder), std::string::npos) << option.name;
      }
    }
    EXPECT_EQ(OptionsIn(synopsis), declared);
    for (const ArgumentSpec& argument : command->syntax.arguments) {
      EXPECT_NE(synopsis.find(argument.value.placeholder), std::string::npos);
    }
    const std::string help = HelpText(*command);
    for (const OptionSpec& option : command->syntax.options) {
      EXPECT_NE(help.find(option.name), std::string::npos);
    }
    ASSERT_FALSE(command->examples.empty());
    for (const char* example : command->examples) {
      EXPECT_EQ(std::string(example).rfind(std::string("vrellix-cli ") + command->name, 0), 0u) << example;
    }
  }
}

// "--opt=v w" and "--opt v w" give the same values or the same error, whatever v is.
TEST(CommandTableTest, BothOptionFormsReadAlikeForEveryOption) {
  const std::vector<std::string> samples{"1", "0", "-1", "0.5", "abc", "0600", "", "99999999999"};
  for (const Command* command : Commands()) {
    std::vector<std::string> arguments;
    for (const ArgumentSpec& argument : command->syntax.arguments) arguments.push_back(argument.value.placeholder);
    for (const OptionSpec& option : command->syntax.options) {
      if (option.values.empty()) continue;
      for (const std::string& sample : samples) {
        std::vector<std::string> spaced = arguments;
        std::vector<std::string> joined = arguments;
        spaced.push_back(option.name);
        joined.push_back(std::string(option.name) + "=" + sample);
        for (std::size_t k = 0; k < option.values.size(); ++k) spaced.push_back(sample);
        for (std::size_t k = 1; k < option.values.size(); ++k) joined.push_back(sample);
        const ParseResult a = ParseArguments(command->syntax, spaced);
        const ParseResult b = ParseArguments(command->syntax, joined);
        SCOPED_TRACE(std::string(command->name) + " " + option.name + " '" + sample + "'");
        EXPECT_EQ(a.error, b.error);
        ASSERT_EQ(a.args.uses.size(), b.args.uses.size());
        for (std::size_t u = 0; u < a.args.uses.size(); ++u) {
          ASSERT_EQ(a.args.uses[u].values.size(), b.args.uses[u].values.size());
          for (std::size_t k = 0; k < a.args.uses[u].values.size(); ++k) {
            EXPECT_EQ(a.args.uses[u].values[k].text, b.args.uses[u].values[k].text);
          }
        }
      }
    }
  }
}

}  // namespace
}  // namespace vrellix::cli
