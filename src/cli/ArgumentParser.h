#pragma once
// The options and operands of one qrbtool command. Options are long ("--json"), some take
// a value ("--max-memory 512M" or "--max-memory=512M"); they are recognised anywhere
// before "--". Every argument after "--", and "-" alone, is an operand, so a file whose
// name starts with "-" is given after "--". An argument that looks like an option but is
// not one the command takes is a usage error, never a file name, and so is an option
// given twice.

#include <map>
#include <optional>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace qrb::cli {

// A command line that does not fit what the command takes. what() is the one-line reason.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class ParsedArguments {
public:
    // Whether the option (by its name, "--json") was given.
    bool has(std::string_view option) const;
    // The value given for an option that takes one.
    std::optional<std::string> value(std::string_view option) const;
    const std::vector<std::string>& operands() const { return operands_; }

private:
    friend class ArgumentParser;
    std::map<std::string, std::string, std::less<>> options_;
    std::vector<std::string> operands_;
};

class ArgumentParser {
public:
    // An option without a value.
    ArgumentParser& flag(std::string name, std::string help);
    // An option with a value, shown as `valueName` in the help.
    ArgumentParser& option(std::string name, std::string valueName, std::string help);
    // `shortName` ("-h") means the same as the option `name`.
    ArgumentParser& alias(std::string shortName, std::string name);

    // Throws UsageError for an unknown option, a missing value, a value given to a flag or
    // an option given twice.
    ParsedArguments parse(std::span<const std::string> args) const;

    // One line per option: "  --max-memory SIZE  help", the help column aligned.
    std::string describe() const;
    // "[--json] [--max-memory SIZE]" for a synopsis (--help, which every command takes, is
    // left out).
    std::string synopsis() const;

private:
    struct Option {
        std::string name;
        std::string valueName; // empty for a flag
        std::string help;
    };
    const Option* find(std::string_view name) const;

    std::vector<Option> options_;
    std::map<std::string, std::string, std::less<>> aliases_;
};

} // namespace qrb::cli
