#include "country_file.h"

#include <algorithm>
#include <fstream>
#include <sstream>

namespace tools {

namespace {

std::string Upper(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

std::vector<std::string_view> Split(std::string_view text, char separator) {
    std::vector<std::string_view> parts;
    for (std::size_t from = 0;;) {
        const std::size_t at = text.find(separator, from);
        parts.push_back(text.substr(from, at == std::string_view::npos ? std::string_view::npos : at - from));
        if (at == std::string_view::npos) return parts;
        from = at + 1;
    }
}

bool IsOperatingSuffix(std::string_view part) {
    static constexpr std::string_view kSuffixes[] = {"P", "M", "MM", "AM", "QRP", "A", "E", "J"};
    return std::find(std::begin(kSuffixes), std::end(kSuffixes), part) != std::end(kSuffixes);
}

}  // namespace

std::string LocationPart(std::string_view text) {
    const std::string call = Upper(text);
    std::vector<std::string_view> parts;
    for (std::string_view part : Split(call, '/'))
        if (!part.empty() && !IsOperatingSuffix(part)) parts.push_back(part);
    if (parts.empty()) return {};
    if (parts.size() == 1) return std::string(parts[0]);
    const bool firstIsDesignator = parts[0].size() <= parts[1].size();
    const std::string_view designator = firstIsDesignator ? parts[0] : parts[1];
    const std::string_view home = firstIsDesignator ? parts[1] : parts[0];
    if (designator.size() == 1 && designator[0] >= '0' && designator[0] <= '9') return std::string(home);
    return std::string(designator);
}

std::optional<CountryFile> CountryFile::Load(const std::string& path, std::string* error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        if (error != nullptr) *error = path + ": cannot open the country file";
        return std::nullopt;
    }
    std::ostringstream text;
    text << in.rdbuf();
    CountryFile file = Parse(text.str());
    if (file.entities_.empty()) {
        if (error != nullptr) *error = path + ": no countries in the file";
        return std::nullopt;
    }
    return file;
}

CountryFile CountryFile::Parse(std::string_view text) {
    CountryFile file;
    std::unordered_map<int, std::size_t> byDxcc;
    for (std::string_view line : Split(text, '\n')) {
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        const std::vector<std::string_view> cols = Split(line, ',');
        if (cols.size() < 10) continue;
        int dxcc = 0;
        double utcOffset = 0.0;
        try {
            dxcc = std::stoi(std::string(cols[2]));
            utcOffset = -std::stod(std::string(cols[8]));  // the file counts hours west of Greenwich
        } catch (...) {
            continue;
        }
        // Entries marked "*" are parts of an entity (for another award); their
        // calls belong to the entity with the same number.
        const bool part = !cols[0].empty() && cols[0][0] == '*';
        std::size_t index;
        if (const auto it = byDxcc.find(dxcc); it != byDxcc.end()) {
            index = it->second;
            if (!part && file.entities_[index].prefix.empty()) {
                file.entities_[index] =
                    CountryEntity{std::string(cols[0]), std::string(cols[1]), dxcc, std::string(cols[3]), utcOffset};
            }
        } else {
            index = file.entities_.size();
            byDxcc.emplace(dxcc, index);
            file.entities_.push_back(CountryEntity{part ? std::string() : std::string(cols[0]), std::string(cols[1]),
                                                   dxcc, std::string(cols[3]), utcOffset});
        }

        std::string_view list = cols[9];
        if (!list.empty() && list.back() == ';') list.remove_suffix(1);
        for (std::string_view item : Split(list, ' ')) {
            if (item.empty()) continue;
            // Zone, position and time overrides are dropped; a continent override is kept.
            std::string continent(cols[3]);
            if (const auto open = item.find('{'); open != std::string_view::npos) {
                const auto close = item.find('}', open);
                if (close != std::string_view::npos) continent = std::string(item.substr(open + 1, close - open - 1));
            }
            const std::size_t cut = item.find_first_of("([<{~");
            std::string_view key = item.substr(0, cut);
            const bool wholeCall = !key.empty() && key[0] == '=';
            if (wholeCall) key.remove_prefix(1);
            if (key.empty()) continue;
            auto& map = wholeCall ? file.calls_ : file.prefixes_;
            map.insert_or_assign(std::string(key), Hit{index, std::move(continent)});
            if (!wholeCall) file.longestPrefix_ = std::max(file.longestPrefix_, key.size());
        }
    }
    // An entity known only from its parts goes by its number.
    for (CountryEntity& e : file.entities_)
        if (e.prefix.empty()) e.prefix = std::to_string(e.dxcc);
    file.byDxcc_ = std::move(byDxcc);
    return file;
}

const CountryEntity* CountryFile::ByDxcc(int dxcc) const {
    const auto it = byDxcc_.find(dxcc);
    return it == byDxcc_.end() ? nullptr : &entities_[it->second];
}

const CountryEntity* CountryFile::ByName(std::string_view name) const {
    const std::string wanted = Upper(name);
    for (const CountryEntity& e : entities_)
        if (Upper(e.name) == wanted) return &e;
    return nullptr;
}

std::optional<CountryMatch> CountryFile::Match(const Hit& hit) const {
    return CountryMatch{&entities_[hit.entity], hit.continent};
}

std::optional<CountryMatch> CountryFile::ByCall(std::string_view text) const {
    const std::string call = Upper(text);
    if (const auto it = calls_.find(call); it != calls_.end()) return Match(it->second);
    const std::string where = LocationPart(call);
    if (const auto it = calls_.find(where); it != calls_.end()) return Match(it->second);
    for (std::size_t n = std::min(where.size(), longestPrefix_); n > 0; --n)
        if (const auto it = prefixes_.find(where.substr(0, n)); it != prefixes_.end()) return Match(it->second);
    return std::nullopt;
}

}  // namespace tools
