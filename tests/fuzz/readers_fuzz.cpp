// Fuzz target: the readers of what stats-host is given to read. The first
// input byte picks the reader (its value modulo 4), the rest is the file:
//   0  an ADIF log (.adi), read through LogSource to its end;
//   1  a Cabrillo log (.cbr), the same way;
//   2  a country file (cty.dat or cty.csv text), parsed and looked up;
//   3  a settings file, with the section, key and value to write first
//      (FuzzedDataProvider strings), then the file's content.
//
// Checked on every input, beside the sanitizers' own checks:
//   - a log either reads to its end or throws a std::runtime_error that names
//     the file and the record ("FILE: record N") or line ("FILE: line N") at
//     fault; every note names the file and its record or line too, those
//     numbers only grow and a line number lies within the file; a skipped
//     entry says why, and a QSO passed on has a call;
//   - every entity a country lookup gives is one of the file's entities, and
//     in a file with entity numbers every entity is found by its number;
//   - a value written to a settings file reads back as written, and every
//     other key of the file keeps its value.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "country_file.h"
#include "log_source.h"
#include "plugin/ini_file.h"

namespace {

namespace fs = std::filesystem;

// A few entities of each kind: plain prefixes, whole calls, zone and
// continent overrides, a "*" country of the lists.
constexpr std::string_view kCountries =
    "Fed. Rep. of Germany:     14:  28:  EU:   51.00:   -10.00:    -1.0:  DL:\n"
    "    DA,DB,DC,DD,DE,DF,DG,DH,DI,DJ,DK,DL,DM,DN,DO,DP,DQ,DR,Y2,Y3,=DA0BHV/LH;\n"
    "Italy:                    15:  28:  EU:   42.82:   -12.58:    -1.0:  I:\n"
    "    I,=IT9ACJ/I/BO;\n"
    "Sicily:                   15:  28:  EU:   37.50:   -14.00:    -1.0:  *IT9:\n"
    "    IB9,ID9,IT9,IW9;\n"
    "Japan:                    25:  45:  AS:   36.40:  -138.38:    -9.0:  JA:\n"
    "    JA,JE,JF,JG,JH,JI,JJ,JK,JL,JM,JN,JO,JR,JS,7J,8J;\n"
    "United States of America: 05:  08:  NA:   37.60:    91.87:     5.0:  K:\n"
    "    AA,K,N,W,AA0(4)[7],=N2NL/MM(7),=KH6ABC{OC};\n"
    "European Russia:          16:  29:  EU:   53.65:   -41.37:    -4.0:  UA:\n"
    "    R,U,UA3(16)[29];\n"
    "Asiatic Russia:           17:  30:  AS:   55.88:   -84.08:    -7.0:  UA9:\n"
    "    R9,UA9,=UA3ABC/9;\n";

std::string g_folder;

[[noreturn]] void Fail(const std::string& what, std::string_view text) {
    // Standard output: the runs close standard error.
    std::printf("invariant broken: %s\n--- text ---\n%.*s\n---\n", what.c_str(), static_cast<int>(text.size()),
                text.data());
    std::fflush(stdout);
    std::abort();
}

// The record or line number a message gives after "FILE: record " or
// "FILE: line " (`place`), followed by ":", ", field" or " skipped:".
std::size_t PlaceNumber(const std::string& message, const std::string& place) {
    if (message.rfind(place, 0) != 0) Fail("a message that does not start with \"" + place + "N\"", message);
    std::size_t at = place.size(), n = 0;
    for (; at < message.size() && at - place.size() < 12 && message[at] >= '0' && message[at] <= '9'; ++at)
        n = n * 10 + static_cast<std::size_t>(message[at] - '0');
    const std::string_view rest = std::string_view(message).substr(at);
    if (at == place.size() || n == 0 ||
        !(rest.starts_with(": ") || rest.starts_with(", field ") || rest.starts_with(" skipped: ")))
        Fail("a message without its record or line number", message);
    return n;
}

void ReadLog(const char* name, const std::uint8_t* data, std::size_t size) {
    static const tools::CountryFile countries = tools::CountryFile::Parse(kCountries);
    const std::string path = g_folder + "/" + name;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (f == nullptr || std::fwrite(data, 1, size, f) != size || std::fclose(f) != 0) Fail("cannot write " + path, "");

    const bool cabrillo = tools::cabrillo::LooksLikeCabrillo(path);
    const std::string place = path + (cabrillo ? ": line " : ": record ");
    const std::size_t lines = static_cast<std::size_t>(std::count(data, data + size, '\n')) + 1;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    std::size_t last = 0;  // the number of the last note
    auto check = [&](const std::string& message) {
        const std::size_t n = PlaceNumber(message, place);
        if (n < last) Fail("a record or line number smaller than an earlier note's", message);
        if (cabrillo && n > lines) Fail("a line number beyond the file's lines", message);
        return n;
    };
    try {
        tools::LogSource source(path, &countries);
        if (source.IsCabrillo() != cabrillo) Fail("LogSource reads the other format", text);
        tools::LogSource::Entry entry;
        while (source.Next(entry)) {
            if (!entry.qso && entry.note.empty()) Fail("an entry skipped without a note", text);
            if (entry.qso && entry.qso->call.empty()) Fail("a QSO passed without a call", text);
            if (entry.note.empty()) continue;
            const std::size_t n = check(entry.note);
            if (n == last) Fail("two notes for one record or line", entry.note);
            last = n;
        }
    } catch (const std::runtime_error& e) {
        check(e.what());
    } catch (const std::exception& e) {
        Fail(std::string("an exception that is not a std::runtime_error: ") + e.what(), text);
    } catch (...) {
        Fail("an exception that is not a std::exception", text);
    }
}

// The words of a country file: prefixes, calls, numbers, names.
std::vector<std::string_view> Words(std::string_view text) {
    std::vector<std::string_view> words;
    for (std::size_t at = 0; at < text.size() && words.size() < 200;) {
        const std::size_t end = std::min(text.find_first_of(",;: \t\r\n=", at), text.size());
        if (end > at) words.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    return words;
}

void ReadCountries(std::string_view text) {
    const tools::CountryFile file = tools::CountryFile::Parse(text);
    const auto& all = file.Entities();
    auto check = [&](const tools::CountryEntity* e, std::string_view asked) {
        if (e != nullptr && (e < all.data() || e >= all.data() + all.size()))
            Fail("a lookup gives an entity that is not the file's: " + std::string(asked), text);
    };
    auto byCall = [&](std::string_view call) {
        const auto match = file.ByCall(call);
        if (match) {
            if (match->entity == nullptr) Fail("a match without its entity: " + std::string(call), text);
            check(match->entity, call);
        }
    };
    for (const char* call : {"DL1ABC", "K1ABC/4", "IT9ABC", "UA3ABC/9", "KH6ABC", "W1AW/MM", "DL/K1ABC/P", ""})
        byCall(call);
    for (const std::string_view w : Words(text)) {
        byCall(w);
        byCall(std::string(w) + "1ABC");
        byCall("K1ABC/" + std::string(w));
        check(file.ByPrefix(w), w);
        check(file.ByName(w), w);
        tools::LocationPart(w);
        if (w.size() < 9 && w.find_first_not_of("0123456789") == std::string_view::npos)
            check(file.ByDxcc(std::atoi(std::string(w).c_str())), w);
    }
    for (const tools::CountryEntity& e : all) {
        check(file.ByPrefix(e.prefix), e.prefix);
        if (file.HasEntityNumbers() && (file.ByDxcc(e.dxcc) == nullptr || file.ByDxcc(e.dxcc)->dxcc != e.dxcc))
            Fail("an entity not found by its number " + std::to_string(e.dxcc), text);
    }
}

// What the settings code takes a section or key name to be: blanks (and a
// line's "\r") trimmed, letters of either case.
std::string NameKey(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
    std::string key(s);
    for (char& c : key)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return key;
}

void WriteSettings(FuzzedDataProvider& in) {
    const std::string section = in.ConsumeRandomLengthString(40), key = in.ConsumeRandomLengthString(40),
                      value = in.ConsumeRandomLengthString(40), content = in.ConsumeRemainingBytesAsString();
    const std::string result = stats::ini::WithValue(content, section, key, value);

    // A name or value a line can hold as it is: a section name without "]",
    // a key without "=" that reads as neither a section nor a comment, a value
    // without blanks or a pair of quotes around it; none with a line break.
    const std::string k = NameKey(key);
    const bool writable = section.find_first_of("]\n") == std::string::npos &&
                          key.find_first_of("=\n") == std::string::npos && (k.empty() || (k[0] != '[' && k[0] != ';')) &&
                          value.find('\n') == std::string::npos &&
                          NameKey(value).size() == value.size() &&
                          !(value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0]);
    if (!writable) return;
    const auto back = stats::ini::FindValue(result, section, key);
    if (back != value)
        Fail("\"" + value + "\" written to [" + section + "] " + key + " reads back as " +
                 (back ? "\"" + *back + "\"" : "nothing"),
             "--- before ---\n" + content + "\n--- after ---\n" + result);

    // Every other key of the content: a line's text before any "=", in the
    // section of the "[...]" line last seen.
    std::string inSection;
    std::vector<std::pair<std::string, std::string>> others = {{"", ""}, {section, ""}, {"Settings", "CW"}};
    for (std::size_t at = 0; at < content.size() && others.size() < 100;) {
        const std::size_t end = std::min(content.find('\n', at), content.size());
        const std::string_view line = std::string_view(content).substr(at, end - at);
        at = end + 1;
        const std::string trimmed = NameKey(line);
        if (!trimmed.empty() && trimmed[0] == '[') {
            inSection = std::string(line.substr(line.find('[') + 1));
            inSection = inSection.substr(0, inSection.find(']'));
        } else {
            others.emplace_back(inSection, std::string(line.substr(0, line.find('='))));
        }
    }
    for (const auto& [s, o] : others) {
        if (NameKey(s) == NameKey(section) && NameKey(o) == k) continue;
        const auto before = stats::ini::FindValue(content, s, o), after = stats::ini::FindValue(result, s, o);
        if (before != after)
            Fail("writing [" + section + "] " + key + " changes [" + s + "] " + o + " from " +
                     (before ? "\"" + *before + "\"" : "nothing") + " to " + (after ? "\"" + *after + "\"" : "nothing"),
                 "--- before ---\n" + content + "\n--- after ---\n" + result);
    }
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Memory rather than disk where there is one: every log input is written.
    std::string pattern = fs::is_directory("/dev/shm") ? "/dev/shm/stats-fuzz-XXXXXX" : "/tmp/stats-fuzz-XXXXXX";
    if (char* made = mkdtemp(pattern.data())) g_folder = made;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    switch (data[0] % 4) {
        case 0:
            ReadLog("log.adi", data + 1, size - 1);
            break;
        case 1:
            ReadLog("log.cbr", data + 1, size - 1);
            break;
        case 2:
            ReadCountries(std::string_view(reinterpret_cast<const char*>(data + 1), size - 1));
            break;
        default: {
            FuzzedDataProvider in(data + 1, size - 1);
            WriteSettings(in);
            break;
        }
    }
    return 0;
}
