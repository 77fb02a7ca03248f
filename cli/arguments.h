// Command-line arguments after the command name: options (anywhere, until
// "--") and operands in order.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace vantor::cli {

struct OptionDef {
    const char* name;  // "-l", "--json", "-C", "--to"
    bool takesValue;
};

class CArguments {
public:
    // A value option takes the next argument, or "--to=X" / "-CX". False,
    // with the problem in words, for an unknown option or a missing value.
    bool Parse(const std::vector<std::string>& args, const std::vector<OptionDef>& known, std::string& problem);

    bool Has(std::string_view option) const { return m_options.count(std::string(option)) != 0; }
    // The last value given, or fallback.
    std::string Value(std::string_view option, const std::string& fallback = {}) const;
    // Every value given, in order, for an option that may come more than once.
    std::vector<std::string> Values(std::string_view option) const;
    const std::vector<std::string>& Operands() const { return m_operands; }

private:
    std::map<std::string, std::vector<std::string>> m_options;
    std::vector<std::string> m_operands;
};

// Whether "--help" comes before any "--".
bool AsksForHelp(const std::vector<std::string>& args);

}  // namespace vantor::cli
