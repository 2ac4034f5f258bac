// The subcommands' arguments: declared options, parsing, help texts and usage errors.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace kortool {

/// A mistake in how the tool was called; reported with the command's usage, exit status 2.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct OptionSpec {
    std::string_view name;      ///< without the leading "--"
    std::string_view valueName; ///< empty for a flag
    std::string_view help;
};

/// What a subcommand was given: its file arguments and the options set.
class Arguments {
public:
    std::vector<std::string> files;

    bool has(std::string_view option) const { return options_.count(std::string(option)) != 0; }
    /// The value of `option`, when given.
    std::optional<std::string> value(std::string_view option) const;
    /// The value of `option` as a whole number in [min, max], `fallback` when not given.
    int integer(std::string_view option, int fallback, int min, int max) const;
    /// The comma-separated whole numbers of `option` (each at least 0); empty when not given.
    std::vector<int> integerList(std::string_view option) const;

    void set(std::string name, std::string value) { options_[std::move(name)] = std::move(value); }

private:
    std::map<std::string, std::string, std::less<>> options_;
};

struct CommandSpec {
    std::string_view name;
    std::string_view files;   ///< the file arguments as shown in the synopsis
    std::size_t fileCount;    ///< how many file arguments the command takes
    std::string_view summary; ///< one line for the tool's overview
    std::string_view details; ///< what the command does, for its --help
    std::vector<OptionSpec> options;
    std::function<int(const Arguments&)> run;
};

/// Parses the arguments after the command name. Throws UsageError for an unknown option, a
/// missing value or the wrong number of files.
Arguments parseArguments(const CommandSpec& command, const std::vector<std::string>& args);
/// The --help text of a command.
std::string commandHelp(const CommandSpec& command);
/// Whole number from `text`, or nullopt when it is not one or lies outside [min, max].
std::optional<int> parseInteger(std::string_view text, int min, int max);

} // namespace kortool
