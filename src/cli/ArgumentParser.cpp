#include "cli/ArgumentParser.h"

#include "core/InputText.h"

#include <algorithm>

namespace qrb::cli {

bool ParsedArguments::has(std::string_view option) const {
    return options_.find(option) != options_.end();
}

std::optional<std::string> ParsedArguments::value(std::string_view option) const {
    const auto it = options_.find(option);
    if (it == options_.end()) {
        return std::nullopt;
    }
    return it->second;
}

ArgumentParser& ArgumentParser::flag(std::string name, std::string help) {
    options_.push_back({std::move(name), {}, std::move(help)});
    return *this;
}

ArgumentParser& ArgumentParser::option(std::string name, std::string valueName, std::string help) {
    options_.push_back({std::move(name), std::move(valueName), std::move(help)});
    return *this;
}

ArgumentParser& ArgumentParser::alias(std::string shortName, std::string name) {
    aliases_.emplace(std::move(shortName), std::move(name));
    return *this;
}

const ArgumentParser::Option* ArgumentParser::find(std::string_view name) const {
    if (const auto alias = aliases_.find(name); alias != aliases_.end()) {
        name = alias->second;
    }
    const auto it = std::find_if(options_.begin(), options_.end(),
                                 [name](const Option& o) { return o.name == name; });
    return it == options_.end() ? nullptr : &*it;
}

ParsedArguments ArgumentParser::parse(std::span<const std::string> args) const {
    ParsedArguments parsed;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--") {
            parsed.operands_.insert(parsed.operands_.end(), args.begin() + std::ptrdiff_t(i) + 1,
                                    args.end());
            break;
        }
        if (arg.size() < 2 || arg[0] != '-') {
            parsed.operands_.push_back(arg);
            continue;
        }
        const std::size_t equals = arg.find('=');
        const std::string name = arg.substr(0, equals);
        const Option* option = find(name);
        if (option == nullptr) {
            throw UsageError("unknown option " + quotedInput(name, 60, '\'') +
                             " (a file name that starts with '-' goes after '--')");
        }
        std::string value;
        if (option->valueName.empty()) {
            if (equals != std::string::npos) {
                throw UsageError("the option " + option->name + " takes no value");
            }
        } else if (equals != std::string::npos) {
            value = arg.substr(equals + 1);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            throw UsageError("the option " + option->name + " needs a value (" + option->valueName +
                             ")");
        }
        // Given twice, one of the two would be dropped without a word.
        if (!parsed.options_.emplace(option->name, value).second) {
            throw UsageError("the option " + option->name + " is given twice");
        }
    }
    return parsed;
}

std::string ArgumentParser::describe() const {
    std::size_t width = 0;
    auto label = [](const Option& o) {
        return o.valueName.empty() ? o.name : o.name + " " + o.valueName;
    };
    for (const Option& o : options_) {
        width = std::max(width, label(o).size());
    }
    std::string text;
    for (const Option& o : options_) {
        const std::string l = label(o);
        // Help of several lines continues in the help column.
        std::string help = o.help;
        for (std::size_t at = help.find('\n'); at != std::string::npos;
             at = help.find('\n', at + 1)) {
            help.insert(at + 1, width + 4, ' ');
        }
        text += "  " + l + std::string(width - l.size() + 2, ' ') + help + "\n";
    }
    return text;
}

std::string ArgumentParser::synopsis() const {
    std::string text;
    for (const Option& o : options_) {
        if (o.name == "--help") {
            continue;
        }
        text += (text.empty() ? "[" : " [") + o.name;
        if (!o.valueName.empty()) {
            text += " " + o.valueName;
        }
        text += "]";
    }
    return text;
}

} // namespace qrb::cli
