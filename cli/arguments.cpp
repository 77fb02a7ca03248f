#include "arguments.h"

namespace vantor::cli {
namespace {

const OptionDef* FindOption(const std::vector<OptionDef>& known, std::string_view name)
{
    for (const OptionDef& option : known)
        if (name == option.name) return &option;
    return nullptr;
}

}  // namespace

bool CArguments::Parse(const std::vector<std::string>& args, const std::vector<OptionDef>& known, std::string& problem)
{
    m_options.clear();
    m_operands.clear();
    bool optionsEnded = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            m_operands.push_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        std::string name = arg;
        std::string value;
        bool hasValue = false;
        if (arg.starts_with("--")) {
            const std::size_t equals = arg.find('=');
            if (equals != std::string::npos) {
                name = arg.substr(0, equals);
                value = arg.substr(equals + 1);
                hasValue = true;
            }
        } else if (arg.size() > 2) {
            // "-CDIR": a short option with its value attached.
            name = arg.substr(0, 2);
            value = arg.substr(2);
            hasValue = true;
        }
        const OptionDef* option = FindOption(known, name);
        if (option == nullptr || (hasValue && !option->takesValue)) {
            problem = "unknown option '" + arg + "'";
            return false;
        }
        if (option->takesValue && !hasValue) {
            if (i + 1 == args.size()) {
                problem = "option '" + name + "' needs a value";
                return false;
            }
            value = args[++i];
        }
        m_options[name].push_back(value);
    }
    return true;
}

std::string CArguments::Value(std::string_view option, const std::string& fallback) const
{
    const auto it = m_options.find(std::string(option));
    return it == m_options.end() ? fallback : it->second.back();
}

std::vector<std::string> CArguments::Values(std::string_view option) const
{
    const auto it = m_options.find(std::string(option));
    return it == m_options.end() ? std::vector<std::string>() : it->second;
}

bool AsksForHelp(const std::vector<std::string>& args)
{
    for (const std::string& arg : args) {
        if (arg == "--") return false;
        if (arg == "--help") return true;
    }
    return false;
}

}  // namespace vantor::cli
