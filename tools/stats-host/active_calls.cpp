#include "active_calls.h"

#include <fstream>

#include "text.h"
#include "wpx_prefix.h"

namespace tools {

std::optional<std::unordered_set<std::string>> ReadActiveCalls(const std::string& path, std::string* error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (error) *error = path + ": cannot open the file";
        return std::nullopt;
    }
    std::unordered_set<std::string> calls;
    for (std::string line; std::getline(in, line);) {
        const std::size_t end = line.find_first_of(" \t\r");
        std::string call = UpperAscii(std::string_view(line).substr(0, end));
        if (!call.empty() && call[0] != '#') calls.insert(std::move(call));
    }
    return calls;
}

bool IsActiveCall(const std::unordered_set<std::string>& active, const std::string& call) {
    return active.count(call) > 0 || active.count(ReadPortableCall(call).home) > 0;
}

}  // namespace tools
