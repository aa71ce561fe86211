// The country file of the contest world (cty.csv): DXCC entities with their
// primary prefix, name, entity number and continent, and the prefixes and
// whole calls that belong to each. A host uses it to say which country and
// continent a worked call is in.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tools {

struct CountryEntity {
    std::string prefix;     // primary prefix, e.g. "DL"
    std::string name;       // e.g. "Fed. Rep. of Germany"
    int dxcc = 0;           // ADIF entity number
    std::string continent;  // two letters
    double utcOffset = 0.0; // hours from UTC to local time
};

struct CountryMatch {
    const CountryEntity* entity = nullptr;
    std::string continent;  // the entity's, or the one given for that prefix or call
};

class CountryFile {
public:
    // Reads a cty.csv file; nothing when it cannot be read, with the reason in `error`.
    static std::optional<CountryFile> Load(const std::string& path, std::string* error = nullptr);
    // Parses the text of a cty.csv file; lines that do not parse are skipped.
    static CountryFile Parse(std::string_view text);

    const CountryEntity* ByDxcc(int dxcc) const;
    const CountryEntity* ByName(std::string_view name) const;  // ignoring case
    // The entity of a call: a listed whole call first, else the longest listed
    // prefix. A call signed from elsewhere (EA8/DL1ABC, DL1ABC/EA8) is looked up
    // by its designator; a call-area digit or an operating suffix (W1AW/7,
    // DL1ABC/P) leaves it where its home call is.
    std::optional<CountryMatch> ByCall(std::string_view call) const;

    const std::vector<CountryEntity>& Entities() const { return entities_; }

private:
    struct Hit {
        std::size_t entity = 0;
        std::string continent;
    };
    std::optional<CountryMatch> Match(const Hit& hit) const;

    std::vector<CountryEntity> entities_;  // one per entity number
    std::unordered_map<std::string, Hit> calls_, prefixes_;
    std::unordered_map<int, std::size_t> byDxcc_;
    std::size_t longestPrefix_ = 0;
};

// The text of a call that says where it is: the designator of a portable
// call, else the home call without its suffixes. In capitals.
std::string LocationPart(std::string_view call);

}  // namespace tools
