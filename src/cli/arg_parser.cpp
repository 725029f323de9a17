#include "cli/arg_parser.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "cli/console.h"

namespace vrellix::cli {

namespace {

bool IsHelp(const std::string& arg) { return arg == "-h" || arg == "--help"; }

const OptionSpec* FindOption(const Syntax& syntax, const std::string& name) {
  for (const OptionSpec& option : syntax.options) {
    if (name == option.name || (option.shortName && name == option.shortName)) return &option;
  }
  return nullptr;
}

// "--delay=50" → "--delay"; a short option never carries its value inline.
std::string OptionName(const std::string& arg) {
  if (arg.compare(0, 2, "--") != 0) return arg;
  return arg.substr(0, arg.find('='));
}

// An argument that a value must not swallow: "--" and the options of the
// command, so that "--port --yes" reads as a missing value.
bool EndsValues(const Syntax& syntax, const std::string& arg) {
  return arg == "--" || IsHelp(arg) || FindOption(syntax, OptionName(arg)) != nullptr;
}

// Whole numbers print without a fraction: "from 1 to 1000000000".
std::string FormatNumber(double number) {
  char text[32];
  std::snprintf(text, sizeof text, "%.15g", number);
  return text;
}

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

// Checks a value against its spec; returns what is wrong, or "".
std::string CheckValue(const ValueSpec& spec, const std::string& text, Value* value) {
  value->text = text;
  const std::string notWhat = Quoted(text) + " is not " + spec.what;
  const char* const begin = text.data();
  const char* const end = text.data() + text.size();
  switch (spec.type) {
    case ValueSpec::Type::kText:
      if (text.empty() && !spec.emptyAllowed) return notWhat;
      if (spec.accepts && !spec.accepts(text)) return notWhat;
      return "";
    case ValueSpec::Type::kInteger: {
      const auto [stop, error] = std::from_chars(begin, end, value->integer);
      if (text.empty() || stop != end || (error != std::errc() && error != std::errc::result_out_of_range)) {
        return notWhat;
      }
      value->real = static_cast<double>(value->integer);
      if (error == std::errc::result_out_of_range || value->real < spec.min || value->real > spec.max) break;
      return "";
    }
    case ValueSpec::Type::kReal: {
      // from_chars ignores the locale and takes no spaces or "+"; "nan" fails the range.
      const auto [stop, error] = std::from_chars(begin, end, value->real);
      if (text.empty() || stop != end || (error != std::errc() && error != std::errc::result_out_of_range)) {
        return notWhat;
      }
      if (error == std::errc::result_out_of_range || !(value->real >= spec.min && value->real <= spec.max)) break;
      return "";
    }
  }
  return notWhat + " from " + FormatNumber(spec.min) + " to " + FormatNumber(spec.max);
}

std::string Placeholders(const OptionSpec& option) {
  std::string text;
  for (const ValueSpec& value : option.values) text += std::string(text.empty() ? "" : " ") + value.placeholder;
  return text;
}

// Reads the option at args[*i] with its values; returns the error, or "".
std::string ReadOption(const Syntax& syntax, const std::vector<std::string>& args, std::size_t* i,
                       ParsedArgs* parsed) {
  const std::string& arg = args[*i];
  const std::string name = OptionName(arg);
  const OptionSpec* option = FindOption(syntax, name);
  if (!option) {
    std::vector<std::string> names;
    for (const OptionSpec& known : syntax.options) names.push_back(known.name);
    const std::string hint = DidYouMean(ClosestNames(name, names));
    return "unknown option " + Quoted(name) + (hint.empty() ? "" : "; " + hint);
  }
  if (!option->repeatable) {
    for (const OptionUse& use : parsed->uses) {
      if (use.option == option) return std::string(option->name) + " is given more than once";
    }
  }

  std::vector<std::string> texts;
  if (name.size() < arg.size()) {
    if (option->values.empty()) return std::string(option->name) + " takes no value";
    texts.push_back(arg.substr(name.size() + 1));
  }
  while (texts.size() < option->values.size()) {
    if (*i + 1 >= args.size() || EndsValues(syntax, args[*i + 1])) {
      const std::size_t count = option->values.size();
      return std::string(option->name) + " needs " + (count == 1 ? "a value" : std::to_string(count) + " values") +
             " (" + Placeholders(*option) + ")";
    }
    texts.push_back(args[++*i]);
  }

  OptionUse use{option, {}};
  for (std::size_t k = 0; k < texts.size(); ++k) {
    Value value;
    const std::string wrong = CheckValue(option->values[k], texts[k], &value);
    if (!wrong.empty()) return std::string(option->name) + ": " + wrong;
    use.values.push_back(std::move(value));
  }
  parsed->uses.push_back(std::move(use));
  return "";
}

// Matches the positional arguments to their specs; returns the error, or "".
std::string CheckArguments(const Syntax& syntax, const std::vector<std::string>& given) {
  const std::vector<ArgumentSpec>& specs = syntax.arguments;
  for (std::size_t k = 0; k < given.size(); ++k) {
    if (k >= specs.size() && (specs.empty() || !specs.back().repeated)) {
      return "unexpected argument " + Quoted(given[k]);
    }
    const ArgumentSpec& spec = specs[std::min(k, specs.size() - 1)];
    Value value;
    const std::string wrong = CheckValue(spec.value, given[k], &value);
    if (!wrong.empty()) return std::string(spec.value.placeholder) + ": " + wrong;
  }
  if (given.size() < specs.size() && !specs[given.size()].optional) {
    return std::string("missing ") + specs[given.size()].value.placeholder;
  }
  return "";
}

// Optimal string alignment distance: insertions, deletions, substitutions and
// swaps of neighbours each count one.
std::size_t EditDistance(const std::string& a, const std::string& b) {
  std::vector<std::vector<std::size_t>> d(a.size() + 1, std::vector<std::size_t>(b.size() + 1));
  for (std::size_t i = 0; i <= a.size(); ++i) d[i][0] = i;
  for (std::size_t j = 0; j <= b.size(); ++j) d[0][j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t cost = a[i - 1] == b[j - 1] ? 0 : 1;
      d[i][j] = std::min({d[i - 1][j] + 1, d[i][j - 1] + 1, d[i - 1][j - 1] + cost});
      if (i > 1 && j > 1 && a[i - 1] == b[j - 2] && a[i - 2] == b[j - 1]) {
        d[i][j] = std::min(d[i][j], d[i - 2][j - 2] + 1);
      }
    }
  }
  return d[a.size()][b.size()];
}

std::string WithoutDashes(const std::string& name) {
  return name.substr(std::min(name.find_first_not_of('-'), name.size()));
}

}  // namespace

ValueSpec Text(const char* placeholder, const char* what) {
  ValueSpec spec;
  spec.placeholder = placeholder;
  spec.what = what;
  return spec;
}

ValueSpec TextOrEmpty(const char* placeholder, const char* what) {
  ValueSpec spec = Text(placeholder, what);
  spec.emptyAllowed = true;
  return spec;
}

ValueSpec CheckedText(const char* placeholder, const char* what, bool (*accepts)(const std::string&)) {
  ValueSpec spec = Text(placeholder, what);
  spec.accepts = accepts;
  return spec;
}

ValueSpec Integer(const char* placeholder, const char* what, double min, double max) {
  ValueSpec spec = Text(placeholder, what);
  spec.type = ValueSpec::Type::kInteger;
  spec.min = min;
  spec.max = max;
  return spec;
}

ValueSpec Real(const char* placeholder, const char* what, double min, double max) {
  ValueSpec spec = Integer(placeholder, what, min, max);
  spec.type = ValueSpec::Type::kReal;
  return spec;
}

OptionSpec& OptionSpec::Short(const char* shortOption) {
  shortName = shortOption;
  return *this;
}

OptionSpec& OptionSpec::Repeatable() {
  repeatable = true;
  return *this;
}

OptionSpec Flag(const char* name, const char* help) { return Option(name, {}, help); }

OptionSpec Option(const char* name, std::vector<ValueSpec> values, const char* help) {
  OptionSpec option;
  option.name = name;
  option.values = std::move(values);
  option.help = help;
  return option;
}

const OptionSpec& ParsedArgs::Declared(const char* option) const {
  for (const OptionSpec& declared : m_syntax->options) {
    if (std::strcmp(declared.name, option) == 0) return declared;
  }
  Print(stderr, "vrellix-cli: internal error: option %s is not declared\n", option);
  std::abort();
}

bool ParsedArgs::Has(const char* option) const { return !All(option).empty(); }

std::vector<const OptionUse*> ParsedArgs::All(const char* option) const {
  const OptionSpec& declared = Declared(option);
  std::vector<const OptionUse*> found;
  for (const OptionUse& use : uses) {
    if (use.option == &declared) found.push_back(&use);
  }
  return found;
}

const Value* ParsedArgs::First(const char* option) const {
  const std::vector<const OptionUse*> found = All(option);
  if (found.empty() || found.front()->values.empty()) return nullptr;
  return &found.front()->values.front();
}

std::optional<std::string> ParsedArgs::Text(const char* option) const {
  const Value* value = First(option);
  if (!value) return std::nullopt;
  return value->text;
}

std::optional<long long> ParsedArgs::Integer(const char* option) const {
  const Value* value = First(option);
  if (!value) return std::nullopt;
  return value->integer;
}

std::optional<double> ParsedArgs::Real(const char* option) const {
  const Value* value = First(option);
  if (!value) return std::nullopt;
  return value->real;
}

ParseResult ParseArguments(const Syntax& syntax, const std::vector<std::string>& args) {
  ParseResult result{ParsedArgs(syntax), ""};
  ParsedArgs& parsed = result.args;
  bool optionsEnded = false;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
      parsed.arguments.push_back(arg);
    } else if (arg == "--") {
      optionsEnded = true;
    } else if (IsHelp(arg)) {
      parsed.helpWanted = true;
      return result;
    } else {
      result.error = ReadOption(syntax, args, &i, &parsed);
      if (!result.error.empty()) return result;
    }
  }
  result.error = CheckArguments(syntax, parsed.arguments);
  return result;
}

std::vector<std::string> ClosestNames(const std::string& word, const std::vector<std::string>& candidates) {
  const std::string typed = WithoutDashes(word);
  std::vector<std::string> closest;
  std::size_t best = 0;
  for (const std::string& candidate : candidates) {
    const std::string name = WithoutDashes(candidate);
    // One edit in a short name, more in a longer one: "entr" → enter, "normalise" → normalize.
    const std::size_t allowed = std::max<std::size_t>(1, name.size() / 3);
    const std::size_t distance = EditDistance(typed, name);
    if (distance > allowed || distance >= name.size()) continue;
    if (closest.empty() || distance < best) {
      closest.assign(1, candidate);
      best = distance;
    } else if (distance == best) {
      closest.push_back(candidate);
    }
  }
  return closest;
}

std::string DidYouMean(const std::vector<std::string>& names) {
  if (names.empty()) return "";
  std::string text = "did you mean ";
  for (std::size_t k = 0; k < names.size(); ++k) {
    if (k > 0) text += k + 1 == names.size() ? " or " : ", ";
    text += Quoted(names[k]);
  }
  return text + "?";
}

}  // namespace vrellix::cli
