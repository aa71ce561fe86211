#include "plugin/ini_file.h"

#include <mutex>
#include <vector>

#include "contest/file_util.h"
#include "contest/text_util.h"

namespace stats::ini {

namespace {

std::mutex& FileLock() {
    static std::mutex lock;  // the profile API serialises its callers too
    return lock;
}

// A line of a file edited by hand may end in a stray CR beside its blanks.
std::string_view Trim(std::string_view s) {
    s = TrimSpaces(s);
    while (!s.empty() && s.back() == '\r') s = TrimSpaces(s.substr(0, s.size() - 1));
    return s;
}

struct Line {
    std::string_view text;  // without its line end
    std::string_view end;   // "\r\n", "\n" or "" for a last line without one
};

std::vector<Line> SplitLines(std::string_view content) {
    std::vector<Line> lines;
    std::size_t from = 0;
    while (from < content.size()) {
        std::size_t nl = content.find('\n', from);
        if (nl == std::string_view::npos) {
            lines.push_back({content.substr(from), {}});
            break;
        }
        std::size_t textEnd = nl;
        if (textEnd > from && content[textEnd - 1] == '\r') --textEnd;
        lines.push_back({content.substr(from, textEnd - from), content.substr(textEnd, nl + 1 - textEnd)});
        from = nl + 1;
    }
    return lines;
}

// The section name of a "[name]" line.
std::optional<std::string_view> SectionName(std::string_view line) {
    line = Trim(line);
    if (line.empty() || line.front() != '[') return std::nullopt;
    line.remove_prefix(1);
    const std::size_t close = line.find(']');
    return Trim(close == std::string_view::npos ? line : line.substr(0, close));
}

// The key name and value of a "key=value" line.
bool KeyValue(std::string_view line, std::string_view& key, std::string_view& value) {
    const std::string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed.front() == ';') return false;
    const std::size_t eq = trimmed.find('=');
    if (eq == std::string_view::npos) {
        key = trimmed;
        value = {};
    } else {
        key = Trim(trimmed.substr(0, eq));
        value = Trim(trimmed.substr(eq + 1));
    }
    return true;
}

}  // namespace

std::optional<std::string> FindValue(std::string_view content, std::string_view section, std::string_view key) {
    section = Trim(section);
    key = Trim(key);
    bool inSection = false;
    bool seenSection = false;
    for (const Line& line : SplitLines(content)) {
        if (const auto name = SectionName(line.text)) {
            if (seenSection && inSection) break;  // only the first section of that name counts
            inSection = EqualsNoCase(*name, section);
            seenSection = seenSection || inSection;
            continue;
        }
        std::string_view k, v;
        if (!inSection || !KeyValue(line.text, k, v) || !EqualsNoCase(k, key)) continue;
        if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front())
            v = v.substr(1, v.size() - 2);
        return std::string(v);
    }
    return std::nullopt;
}

std::string WithValue(std::string_view content, std::string_view section, std::string_view key,
                      std::string_view value) {
    section = Trim(section);
    key = Trim(key);
    const std::vector<Line> lines = SplitLines(content);
    const std::string newLine = std::string(key) + "=" + std::string(value);

    // Where the first section of that name is, and where its key or its last
    // non-blank line is.
    std::size_t sectionAt = lines.size(), keyAt = lines.size(), lastFilled = lines.size();
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (const auto name = SectionName(lines[i].text)) {
            if (sectionAt != lines.size()) break;
            if (EqualsNoCase(*name, section)) sectionAt = lastFilled = i;
            continue;
        }
        if (sectionAt == lines.size()) continue;
        std::string_view k, v;
        if (KeyValue(lines[i].text, k, v) && EqualsNoCase(k, key)) {
            keyAt = i;
            break;
        }
        if (!Trim(lines[i].text).empty()) lastFilled = i;
    }

    std::string out;
    out.reserve(content.size() + newLine.size() + section.size() + 8);
    auto emit = [&](std::size_t from, std::size_t to) {
        for (std::size_t i = from; i < to; ++i) {
            out += lines[i].text;
            out += lines[i].end;
        }
    };
    if (keyAt != lines.size()) {
        emit(0, keyAt);
        std::string_view fileKey, oldValue;
        KeyValue(lines[keyAt].text, fileKey, oldValue);
        out += std::string(fileKey) + "=" + std::string(value);  // the file keeps its own spelling of the key
        out += lines[keyAt].end.empty() ? std::string_view("\r\n") : lines[keyAt].end;
        emit(keyAt + 1, lines.size());
    } else if (sectionAt != lines.size()) {
        emit(0, lastFilled);
        out += lines[lastFilled].text;
        out += lines[lastFilled].end.empty() ? std::string_view("\r\n") : lines[lastFilled].end;
        out += newLine + "\r\n";
        emit(lastFilled + 1, lines.size());
    } else {
        emit(0, lines.size());
        if (!lines.empty() && lines.back().end.empty()) out += "\r\n";
        out += "[" + std::string(section) + "]\r\n" + newLine + "\r\n";
    }
    return out;
}

std::string ReadString(const std::string& path, const std::string& section, const std::string& key,
                       const std::string& fallback) {
    std::lock_guard<std::mutex> lock(FileLock());
    const auto content = ReadWholeFile(path);
    const auto value = content ? FindValue(*content, section, key) : std::nullopt;
    if (value) return *value;
    // As the system's profile reader does: a default loses its trailing
    // blanks, though never its first character.
    std::size_t end = fallback.size();
    while (end > 1 && fallback[end - 1] == ' ') --end;
    return fallback.substr(0, end);
}

bool WriteString(const std::string& path, const std::string& section, const std::string& key,
                 const std::string& value) {
    std::lock_guard<std::mutex> lock(FileLock());
    const auto content = ReadWholeFile(path);
    if (!content && FileExists(path)) return false;  // never replace a file we could not read
    return ReplaceFileContent(path, WithValue(content.value_or(std::string()), section, key, value));
}

}  // namespace stats::ini
