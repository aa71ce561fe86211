// The country file of the contest world, in either of its two forms: cty.dat
// (entity lines "Name: CQ: ITU: Cont: Lat: Lon: TZ: Prefix:" each followed by
// its prefixes and whole calls up to a ";") or cty.csv (one line per entity,
// with its ADIF entity number). Which form a file has is told by its content.
// A host uses it to say which country and continent a worked call is in.
//
// A country is named by its primary prefix ("DL", "K", "KH6"). Entries whose
// prefix starts with "*" are the countries that contest lists (WAE) count
// beside the DXCC entities: Sicily, European Turkey and the like.
//   - In cty.dat they are countries of their own ("IT9"), with their own
//     continent: the file has no entity numbers to tie them to anything else,
//     and the CQ contests count them as countries.
//   - In cty.csv their entity number ties them to their DXCC entity, whose
//     prefix they take ("I"), keeping their own continent, so that an ADIF
//     log's entity numbers and its calls name the same countries.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tools {

struct CountryEntity {
    std::string prefix;     // primary prefix without "*", e.g. "DL"
    std::string name;       // e.g. "Fed. Rep. of Germany"
    int dxcc = 0;           // ADIF entity number; 0 in cty.dat, which has none
    std::string continent;  // two letters
    double utcOffset = 0.0; // hours from UTC to local time
    int cqZone = 0, ituZone = 0;
    // A cty.dat "*" entry: a country the contest lists add to the DXCC
    // entities, which an entity number or a DXCC entity's name cannot name.
    bool listCountry = false;
};

struct CountryMatch {
    const CountryEntity* entity = nullptr;
    // The entity's, or what the file gives for that prefix or call.
    std::string continent;
    int cqZone = 0, ituZone = 0;
};

class CountryFile {
public:
    // Reads a country file; nothing when it cannot be read, with the reason in `error`.
    static std::optional<CountryFile> Load(const std::string& path, std::string* error = nullptr);
    // Parses the text of a country file; entries that do not parse are skipped.
    static CountryFile Parse(std::string_view text);

    // Whether the file names entities by number (cty.csv does, cty.dat does not).
    bool HasEntityNumbers() const { return !byDxcc_.empty(); }
    const CountryEntity* ByDxcc(int dxcc) const;
    const CountryEntity* ByName(std::string_view name) const;    // ignoring case
    const CountryEntity* ByPrefix(std::string_view prefix) const;  // the primary prefix, ignoring case and "*"
    // The entity of a call: a listed whole call first, else the longest listed
    // prefix of the part that says where the station is (LocationPart).
    // Maritime and aeronautical mobile stations (/MM, /AM) are in no country
    // unless the file lists their whole call.
    std::optional<CountryMatch> ByCall(std::string_view call) const;

    const std::vector<CountryEntity>& Entities() const { return entities_; }

private:
    struct Hit {
        std::size_t entity = 0;
        std::string continent;
        int cqZone = 0, ituZone = 0;
        bool fromListEntry = false;  // given by a "*" entry
    };
    static CountryFile ParseCsv(std::string_view text);
    static CountryFile ParseDat(std::string_view text);
    // Adds the prefixes and whole calls of an entry; `list` is separated by `separator`.
    void AddAliases(std::string_view list, char separator, std::size_t entity, bool listEntry, const std::string& continent,
                    int cqZone, int ituZone);
    CountryMatch Match(const Hit& hit) const;

    std::vector<CountryEntity> entities_;
    std::unordered_map<std::string, Hit> calls_, prefixes_;
    std::unordered_map<int, std::size_t> byDxcc_;
    // The entities by name and by primary prefix in capitals, made once when
    // the file is read: a log's country names are looked up QSO by QSO.
    std::unordered_map<std::string, std::size_t> byName_, byPrefix_;
    std::size_t longestPrefix_ = 0;
};

// The text of a call that says where it is, in capitals, read as the WPX
// prefix reads it (ReadPortableCall): operating suffixes set aside
// (K1ABC/P -> K1ABC), else the portable designator (DL/K1ABC and K1ABC/DL ->
// DL, MM/K1ABC -> MM); a call-area number does not move a station
// (K1ABC/4 -> K1ABC): the file lists the calls it does move (UA3ABC/9).
std::string LocationPart(std::string_view call);
// A maritime or aeronautical mobile call (K1ABC/MM, DL1ABC/AM).
bool IsMaritimeOrAeronautical(std::string_view call);

}  // namespace tools
