#pragma once
// The command lines of the engine and its tools, all read the same way: a table of options, each
// written "--name VALUE" or "--name=VALUE"; any other word beginning with "--" is refused, as is a
// value that is itself an option ("--capture --fps"); "--" ends the options. A tool adds a row per
// option and gets the remaining words in order.
//
//   bool verbose = false;
//   std::string output;
//   cli::OptionTable table;
//   table.flag("--verbose", verbose).text("--output", output).alias("-o");
//   std::vector<std::string> words;
//   std::string error;
//   if (!table.parse(argc, argv, words, error)) return cli::usageError(program, error);

#include <functional>
#include <string>
#include <vector>

namespace demo::cli {

class OptionTable {
 public:
  // Stores a value; false with the reason in `error` (the option's name is added in front).
  using ValueHandler = std::function<bool(const std::string& value, std::string& error)>;
  // An option whose value may be left out: `value` is null then.
  using OptionalHandler = std::function<bool(const char* value, std::string& error)>;

  // An option without a value that sets `target`.
  OptionTable& flag(const char* name, bool& target);
  // An option without a value that runs `action`.
  OptionTable& flag(const char* name, std::function<void()> action);
  // An option with a value, any text but the empty one.
  OptionTable& text(const char* name, std::string& target);
  // An option with a value the handler checks.
  OptionTable& value(const char* name, ValueHandler handler);
  // An option whose value may follow as the next word, taken only when that word does not begin
  // with "-" ("--check show.run", "--check --files"), or be given as "--name=VALUE".
  OptionTable& optionalValue(const char* name, OptionalHandler handler);
  // Another name for the option added last ("-o" for "--output").
  OptionTable& alias(const char* name);

  // Words that begin with a single "-" ("-window") are not options but ordinary words; by default
  // such a word is refused unless an option has that name.
  OptionTable& singleDashWordsArePlain();

  // Reads argv[1] to argv[argc - 1]: options act as they come, other words go to `words` in
  // order. False at the first mistake, with a message naming the word.
  bool parse(int argc, const char* const* argv, std::vector<std::string>& words, std::string& error) const;

 private:
  enum class Takes { Nothing, Value, OptionalValue };
  struct Row {
    std::vector<std::string> names;
    Takes takes;
    OptionalHandler handle;  // null value for Takes::Nothing
  };

  const Row* find(const std::string& name) const;
  OptionTable& add(const char* name, Takes takes, OptionalHandler handle);

  std::vector<Row> rows_;
  bool singleDashPlain_ = false;
};

}  // namespace demo::cli
