// The command-line parser: argv in, parsed values or the exact error out.
#include "cli/arg_parser.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace vrellix::cli {
namespace {

bool EvenLength(const std::string& text) { return text.size() % 2 == 0; }

const Syntax& TestSyntax() {
  static const Syntax syntax{
      {{Text("FILE", "a file name"), "the file"}, {Text("KEY", "a key"), "keys", true}},
      {Flag("--yes", "no question"),
       Option("--port", {Text("NAME", "a device name")}, "the port"),
       Option("--delay", {Integer("MS", "a number of milliseconds", 0, 999)}, "the delay"),
       Option("--rate", {Real("P", "a probability", 0, 1)}, "the rate"),
       Option("--late-at", {Integer("N", "a packet number", 1, 9), Integer("MS", "a number of milliseconds", 0, 99)},
              "late")
           .Repeatable(),
       Option("--junk", {CheckedText("HEX", "bytes in hex", EvenLength)}, "junk"),
       Option("--old", {TextOrEmpty("TEXT", "a text")}, "old"),
       Option("--output", {Text("OUT", "a file name")}, "out").Short("-o")},
  };
  return syntax;
}

// "f k --delay[5] --late-at[3][40]", with numbers as parsed, or "error: ...".
std::string Render(const ParseResult& result) {
  if (!result.error.empty()) return "error: " + result.error;
  if (result.args.helpWanted) return "help";
  std::string text;
  for (const std::string& argument : result.args.arguments) text += (text.empty() ? "" : " ") + argument;
  for (const OptionUse& use : result.args.uses) {
    text += std::string(" ") + use.option->name;
    for (std::size_t k = 0; k < use.values.size(); ++k) {
      std::string shown = use.values[k].text;
      const ValueSpec::Type type = use.option->values[k].type;
      char number[32];
      if (type == ValueSpec::Type::kInteger) shown = std::to_string(use.values[k].integer);
      if (type == ValueSpec::Type::kReal) shown = (std::snprintf(number, sizeof number, "%g", use.values[k].real), number);
      text += "[" + shown + "]";
    }
  }
  return text;
}

struct Case {
  std::vector<std::string> argv;
  std::string expected;
};

TEST(ArgParserTest, ReadsValuesAndNamesEveryFault) {
  const Case cases[] = {
      {{"f", "k", "--delay", "5"}, "f k --delay[5]"},
      {{"f", "k", "--delay=005"}, "f k --delay[5]"},
      {{"--yes", "f", "k1", "k2"}, "f k1 k2 --yes"},
      {{"f", "k", "--late-at", "3", "40", "--late-at=4", "0"}, "f k --late-at[3][40] --late-at[4][0]"},
      {{"f", "k", "--rate=0.25", "-o", "out"}, "f k --rate[0.25] --output[out]"},
      {{"f", "k", "--old=", "--port", "-"}, "f k --old[] --port[-]"},
      {{"f", "k", "--port=a=b"}, "f k --port[a=b]"},
      {{"-", "--", "--yes", "-o"}, "- --yes -o"},
      {{"--help"}, "help"},
      {{"f", "-h", "--bogus"}, "help"},
      {{"f", "k", "--dealy", "5"}, "error: unknown option '--dealy'; did you mean '--delay'?"},
      {{"f", "k", "--speed=9"}, "error: unknown option '--speed'"},
      {{"f", "k", "-x"}, "error: unknown option '-x'"},
      {{"f", "k", "--delay"}, "error: --delay needs a value (MS)"},
      {{"f", "k", "--delay", "--yes"}, "error: --delay needs a value (MS)"},
      {{"f", "k", "--old", "--help"}, "error: --old needs a value (TEXT)"},
      {{"f", "k", "--late-at", "3"}, "error: --late-at needs 2 values (N MS)"},
      {{"f", "k", "--late-at=3", "--"}, "error: --late-at needs 2 values (N MS)"},
      {{"f", "k", "--delay", "abc"}, "error: --delay: 'abc' is not a number of milliseconds"},
      {{"f", "k", "--delay", " 5"}, "error: --delay: ' 5' is not a number of milliseconds"},
      {{"f", "k", "--delay=5ms"}, "error: --delay: '5ms' is not a number of milliseconds"},
      {{"f", "k", "--delay", "+5"}, "error: --delay: '+5' is not a number of milliseconds"},
      {{"f", "k", "--delay", ""}, "error: --delay: '' is not a number of milliseconds"},
      {{"f", "k", "--delay", "-5"}, "error: --delay: '-5' is not a number of milliseconds from 0 to 999"},
      {{"f", "k", "--delay", "1000"}, "error: --delay: '1000' is not a number of milliseconds from 0 to 999"},
      {{"f", "k", "--delay", "99999999999999999999"},
       "error: --delay: '99999999999999999999' is not a number of milliseconds from 0 to 999"},
      {{"f", "k", "--rate", "1.5"}, "error: --rate: '1.5' is not a probability from 0 to 1"},
      {{"f", "k", "--rate", "nan"}, "error: --rate: 'nan' is not a probability from 0 to 1"},
      {{"f", "k", "--rate", "0,5"}, "error: --rate: '0,5' is not a probability"},
      {{"f", "k", "--late-at", "0", "5"}, "error: --late-at: '0' is not a packet number from 1 to 9"},
      {{"f", "k", "--late-at", "1", "x"}, "error: --late-at: 'x' is not a number of milliseconds"},
      {{"f", "k", "--junk", "abc"}, "error: --junk: 'abc' is not bytes in hex"},
      {{"f", "k", "--port", ""}, "error: --port: '' is not a device name"},
      {{"f", "k", "-o", ""}, "error: --output: '' is not a file name"},
      {{"f", "k", "--port=a", "--port=b"}, "error: --port is given more than once"},
      {{"f", "k", "-o", "a", "--output", "b"}, "error: --output is given more than once"},
      {{"f", "k", "--yes=1"}, "error: --yes takes no value"},
      {{}, "error: missing FILE"},
      {{"f", "--yes"}, "error: missing KEY"},
      {{"", "k"}, "error: FILE: '' is not a file name"},
  };
  for (const Case& c : cases) {
    std::string joined;
    for (const std::string& arg : c.argv) joined += "<" + arg + ">";
    EXPECT_EQ(Render(ParseArguments(TestSyntax(), c.argv)), c.expected) << joined;
  }
}

TEST(ArgParserTest, ArgumentsBeyondTheDeclaredOnesAreRefused) {
  const Syntax none;
  EXPECT_EQ(Render(ParseArguments(none, {"x"})), "error: unexpected argument 'x'");
  const Syntax one{{{Text("FILE", "a file name"), "the file"}}, {}};
  EXPECT_EQ(Render(ParseArguments(one, {"a", "b"})), "error: unexpected argument 'b'");
}

TEST(ArgParserTest, TypedAccessorsGiveTheFirstUse) {
  const ParseResult result = ParseArguments(
      TestSyntax(), {"f", "k", "--delay=7", "--rate", "0.5", "--late-at", "2", "3", "--late-at", "4", "5"});
  ASSERT_EQ(result.error, "");
  const ParsedArgs& args = result.args;
  EXPECT_EQ(args.Integer("--delay"), 7);
  EXPECT_EQ(args.Text("--delay"), "7");
  EXPECT_EQ(args.Real("--rate"), 0.5);
  EXPECT_FALSE(args.Has("--yes"));
  EXPECT_EQ(args.Text("--port"), std::nullopt);
  ASSERT_EQ(args.All("--late-at").size(), 2u);
  EXPECT_EQ(args.All("--late-at")[1]->values[1].integer, 5);
}

TEST(ArgParserTest, SuggestsOnlyNamesWithinAFewEdits) {
  const std::vector<std::string> commands{"key", "check", "normalize", "plan", "enter", "ports", "simulate", "help"};
  const struct {
    const char* typed;
    const char* suggestion;
  } cases[] = {
      {"entr", "did you mean 'enter'?"},     {"etner", "did you mean 'enter'?"},
      {"plna", "did you mean 'plan'?"},      {"port", "did you mean 'ports'?"},
      {"ky", "did you mean 'key'?"},         {"normalise", "did you mean 'normalize'?"},
      {"simulat", "did you mean 'simulate'?"}, {"hlep", "did you mean 'help'?"},
      {"k", ""},                             {"xyz", ""},
      {"enterprise", ""},                    {"simple", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(DidYouMean(ClosestNames(c.typed, commands)), c.suggestion) << c.typed;
  EXPECT_EQ(DidYouMean(ClosestNames("cab", {"cat", "car", "cable"})), "did you mean 'cat' or 'car'?");
}

}  // namespace
}  // namespace vrellix::cli
