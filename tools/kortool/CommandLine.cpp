#include "CommandLine.h"

#include <algorithm>
#include <charconv>

namespace kortool {

std::optional<int> parseInteger(std::string_view text, int min, int max) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < min || value > max)
        return std::nullopt;
    return value;
}

std::optional<std::string> Arguments::value(std::string_view option) const {
    const auto found = options_.find(option);
    if (found == options_.end()) return std::nullopt;
    return found->second;
}

int Arguments::integer(std::string_view option, int fallback, int min, int max) const {
    const auto text = value(option);
    if (!text) return fallback;
    const auto number = parseInteger(*text, min, max);
    if (!number)
        throw UsageError("--" + std::string(option) + " takes a whole number from " +
                         std::to_string(min) + " to " + std::to_string(max) + ", not '" + *text +
                         "'");
    return *number;
}

std::vector<int> Arguments::integerList(std::string_view option) const {
    std::vector<int> numbers;
    const auto text = value(option);
    if (!text) return numbers;
    std::string_view rest = *text;
    while (true) {
        const std::size_t comma = rest.find(',');
        const auto number = parseInteger(rest.substr(0, comma), 0, 65535);
        if (!number)
            throw UsageError("--" + std::string(option) +
                             " takes numbers separated by commas, not '" + *text + "'");
        numbers.push_back(*number);
        if (comma == std::string_view::npos) return numbers;
        rest.remove_prefix(comma + 1);
    }
}

Arguments parseArguments(const CommandSpec& command, const std::vector<std::string>& args) {
    Arguments parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg.size() < 3 || arg.compare(0, 2, "--") != 0) {
            parsed.files.push_back(arg);
            continue;
        }
        const std::string name = arg.substr(2);
        const OptionSpec* declared = nullptr;
        for (const OptionSpec& option : command.options)
            if (option.name == name) declared = &option;
        if (declared == nullptr) throw UsageError("unknown option '" + arg + "'");
        if (declared->valueName.empty()) {
            parsed.set(name, {});
        } else {
            if (i + 1 == args.size()) throw UsageError(arg + " needs a value");
            parsed.set(name, args[++i]);
        }
    }
    if (parsed.files.size() != command.fileCount)
        throw UsageError(std::string(command.name) + " takes " + std::string(command.files));
    return parsed;
}

std::string commandHelp(const CommandSpec& command) {
    std::string text("usage: kortool ");
    text += std::string(command.name) + " " + std::string(command.files) +
            (command.options.empty() ? "" : " [options]") + "\n\n" + std::string(command.details) +
            "\n";
    if (command.options.empty()) return text;
    text += "\noptions:\n";
    for (const OptionSpec& option : command.options) {
        std::string left("  --");
        left += option.name;
        if (!option.valueName.empty()) (left += ' ') += option.valueName;
        left.resize(std::max<std::size_t>(left.size() + 2, 26), ' ');
        text += left + std::string(option.help) + "\n";
    }
    return text;
}

} // namespace kortool
