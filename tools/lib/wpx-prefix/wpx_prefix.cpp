#include "wpx_prefix.h"

#include <algorithm>
#include <vector>

#include "text.h"

namespace tools {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsLetter(char c) { return c >= 'A' && c <= 'Z'; }

bool IsOperatingSuffix(std::string_view part) {
    static constexpr std::string_view kSuffixes[] = {"P", "M", "MM", "AM", "QRP", "QRPP", "LH",
                                                     "A", "E", "J", "AG", "AE", "KT"};
    return std::find(std::begin(kSuffixes), std::end(kSuffixes), part) != std::end(kSuffixes);
}

// Index one past the first digit group that follows a letter, or 0 when there is none.
std::size_t EndOfNumber(std::string_view call) {
    for (std::size_t i = 1; i < call.size(); ++i) {
        if (!IsDigit(call[i]) || !IsLetter(call[i - 1])) continue;
        while (i < call.size() && IsDigit(call[i])) ++i;
        return i;
    }
    return 0;
}

std::string PrefixOfPlainCall(std::string_view call) {
    if (call.empty()) return {};
    if (const std::size_t end = EndOfNumber(call); end != 0) return std::string(call.substr(0, end));
    return std::string(call.substr(0, 2)) + "0";
}

}  // namespace

bool PortableCall::DesignatesCallArea() const {
    return !designator.empty() && std::all_of(designator.begin(), designator.end(), IsDigit);
}

PortableCall ReadPortableCall(std::string_view text) {
    const std::string call = UpperAscii(text);
    std::vector<std::string_view> parts;
    bool first = true;
    for (std::size_t from = 0; from <= call.size(); first = false) {
        const std::size_t slash = std::min(call.find('/', from), call.size());
        const std::string_view part = std::string_view(call).substr(from, slash - from);
        // Only what follows a "/" can be a suffix: M and MM in front are England and Scotland.
        if (!part.empty() && (first || !IsOperatingSuffix(part))) parts.push_back(part);
        from = slash + 1;
    }
    PortableCall read;
    if (parts.empty()) return read;
    if (parts.size() == 1) {
        read.home = parts[0];
        return read;
    }
    // The home call is the longer part; the other one says where the station is.
    const bool firstIsDesignator = parts[0].size() <= parts[1].size();
    read.designator = firstIsDesignator ? parts[0] : parts[1];
    read.home = firstIsDesignator ? parts[1] : parts[0];
    return read;
}

std::string WpxPrefix(std::string_view text) {
    const PortableCall call = ReadPortableCall(text);
    if (call.designator.empty()) return PrefixOfPlainCall(call.home);
    if (call.DesignatesCallArea()) {
        // A new call area: the home prefix with its number replaced.
        std::string prefix = PrefixOfPlainCall(call.home);
        while (!prefix.empty() && IsDigit(prefix.back())) prefix.pop_back();
        return prefix + call.designator;
    }
    return PrefixOfPlainCall(call.designator);
}

}  // namespace tools
