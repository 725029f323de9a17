// A command's options and arguments, declared as data, and the parser that
// reads a command line against them.
//
// Conventions: an option's value follows it as the next argument or after
// "=" ("--delay 50", "--delay=50"); an option with two values takes the
// second from the next argument ("--late-at 3 400", "--late-at=3 400"); "--"
// ends the options; "-h" and "--help" ask for the command's help. Every error
// names the option or argument and, for a wrong value, the value.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vrellix::cli {

// One value that an option or argument takes.
struct ValueSpec {
  enum class Type {
    kText,     // any text but the empty one, unless emptyAllowed
    kInteger,  // a whole decimal number within [min, max]
    kReal,     // a decimal number within [min, max]
  };
  Type type = Type::kText;
  const char* placeholder = "";  // as usage and help show it: "MS", "FILE"
  const char* what = "";         // what the value must be, for the error: "a number of milliseconds"
  double min = 0;
  double max = 0;
  bool emptyAllowed = false;
  bool (*accepts)(const std::string& text) = nullptr;  // a further check of a text
};

// A text; the error names it as `what` ("'' is not a device name").
ValueSpec Text(const char* placeholder, const char* what);
// A text that may also be empty.
ValueSpec TextOrEmpty(const char* placeholder, const char* what);
// A text that `accepts` takes.
ValueSpec CheckedText(const char* placeholder, const char* what, bool (*accepts)(const std::string&));
ValueSpec Integer(const char* placeholder, const char* what, double min, double max);
ValueSpec Real(const char* placeholder, const char* what, double min, double max);

struct OptionSpec {
  const char* name = "";             // "--delay"
  const char* shortName = nullptr;   // "-o", taking its value from the next argument only
  std::vector<ValueSpec> values;     // none for a flag
  bool repeatable = false;           // otherwise a second use is an error
  const char* help = "";             // may hold '\n' for more lines

  OptionSpec& Short(const char* shortOption);
  OptionSpec& Repeatable();
};

OptionSpec Flag(const char* name, const char* help);
OptionSpec Option(const char* name, std::vector<ValueSpec> values, const char* help);

// A positional argument; only the last one may be repeated (one or more) or
// left out.
struct ArgumentSpec {
  ValueSpec value;
  const char* help = "";
  bool repeated = false;
  bool optional = false;
};

struct Syntax {
  std::vector<ArgumentSpec> arguments;
  std::vector<OptionSpec> options;
};

// A value as given, and as a number for the numeric types.
struct Value {
  std::string text;
  long long integer = 0;
  double real = 0;
};

struct OptionUse {
  const OptionSpec* option = nullptr;
  std::vector<Value> values;
};

// What a command line held. The accessors take an option's long name; a name
// that the syntax does not declare is a programming error and aborts.
class ParsedArgs {
 public:
  explicit ParsedArgs(const Syntax& syntax) : m_syntax(&syntax) {}

  bool helpWanted = false;
  std::vector<std::string> arguments;  // the positional ones, in order
  std::vector<OptionUse> uses;         // every option given, in order

  bool Has(const char* option) const;
  // The first value of the option, when it was given.
  std::optional<std::string> Text(const char* option) const;
  std::optional<long long> Integer(const char* option) const;
  std::optional<double> Real(const char* option) const;
  // Every use of a (repeatable) option, in order.
  std::vector<const OptionUse*> All(const char* option) const;

 private:
  const OptionSpec& Declared(const char* option) const;
  const Value* First(const char* option) const;

  const Syntax* m_syntax;
};

struct ParseResult {
  ParsedArgs args;
  std::string error;  // empty when the command line is good
};

// Reads args (the arguments after the command's name) against syntax, which
// must outlive the result. Stops at -h/--help with helpWanted set.
ParseResult ParseArguments(const Syntax& syntax, const std::vector<std::string>& args);

// The names among candidates closest to word by edit distance (a swap of two
// neighbours counts as one edit), when close enough to be a likely typo; ties
// give more than one.
std::vector<std::string> ClosestNames(const std::string& word, const std::vector<std::string>& candidates);

// "did you mean 'enter'?", "did you mean 'a' or 'b'?", or "" for none.
std::string DidYouMean(const std::vector<std::string>& names);

}  // namespace vrellix::cli
