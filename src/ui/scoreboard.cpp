#include "ui/scoreboard.h"

#include <algorithm>

#include "contest/text_util.h"
#include "ui/ui_texts.h"

namespace stats {

namespace {

bool StartsWithNoCase(const std::string& text, const char* prefix) {
    std::size_t i = 0;
    for (; prefix[i] != '\0'; ++i) {
        if (i >= text.size()) return false;
        const char a = text[i] >= 'A' && text[i] <= 'Z' ? static_cast<char>(text[i] - 'A' + 'a') : text[i];
        if (a != prefix[i]) return false;
    }
    return true;
}

std::string ClockOfMinute(std::int64_t minute) {
    const std::int64_t ofDay = ((minute % 1440) + 1440) % 1440;
    return Format("%02lld:%02lld", static_cast<long long>(ofDay / 60), static_cast<long long>(ofDay % 60));
}

// "200 OK-Full": the status with the board's own short answer, else the
// reason phrase the server gave.
std::string StatusAndAnswer(const PostOutcome& o) {
    std::string text = std::to_string(o.status);
    const std::string answer = ShortAnswer(o.answer);
    const std::string& word = answer.empty() ? o.reason : answer;
    if (!word.empty()) text += " " + word;
    return text;
}

}  // namespace

const std::vector<std::string>& KnownBoards() {
    static const std::vector<std::string> boards{
        "https://contestonlinescore.com/post/",
        "https://hamscore.com/postxml/",
    };
    return boards;
}

bool BoardAddress::Loopback() const {
    std::string h = host;
    std::transform(h.begin(), h.end(), h.begin(), [](char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; });
    return h == "localhost" || h == "::1" || h.rfind("127.", 0) == 0;
}

bool BoardAddress::CredentialsAllowed() const { return https || Loopback(); }

std::optional<BoardAddress> ParseBoardAddress(const std::string& typed, AddressProblem* problem) {
    auto fail = [&](AddressProblem p) -> std::optional<BoardAddress> {
        if (problem != nullptr) *problem = p;
        return std::nullopt;
    };
    if (problem != nullptr) *problem = AddressProblem::kNone;
    const std::size_t first = typed.find_first_not_of(" \t");
    if (first == std::string::npos) return fail(AddressProblem::kEmpty);
    const std::string text = typed.substr(first, typed.find_last_not_of(" \t") + 1 - first);
    BoardAddress a;
    std::size_t at = 0;
    if (StartsWithNoCase(text, "https://")) {
        a.https = true;
        at = 8;
    } else if (StartsWithNoCase(text, "http://")) {
        at = 7;
    } else {
        return fail(AddressProblem::kScheme);
    }
    for (const char c : text)
        if (static_cast<unsigned char>(c) <= ' ' || c == 0x7F) return fail(AddressProblem::kBadCharacter);
    const std::size_t pathAt = text.find_first_of("/?#", at);
    std::string authority = text.substr(at, pathAt == std::string::npos ? std::string::npos : pathAt - at);
    // Credentials belong in the fields, not in the address, where they would
    // show in the status line and the settings file.
    if (authority.find('@') != std::string::npos) return fail(AddressProblem::kBadCharacter);
    std::string port;
    if (!authority.empty() && authority.front() == '[') {
        const std::size_t close = authority.find(']');
        if (close == std::string::npos) return fail(AddressProblem::kNoHost);
        a.host = authority.substr(1, close - 1);
        const std::string after = authority.substr(close + 1);
        if (!after.empty()) {
            if (after.front() != ':') return fail(AddressProblem::kBadPort);
            port = after.substr(1);
            if (port.empty()) return fail(AddressProblem::kBadPort);
        }
    } else {
        const std::size_t colon = authority.find(':');
        a.host = authority.substr(0, colon);
        if (colon != std::string::npos) {
            port = authority.substr(colon + 1);
            if (port.empty()) return fail(AddressProblem::kBadPort);
        }
    }
    if (a.host.empty()) return fail(AddressProblem::kNoHost);
    a.port = a.https ? 443 : 80;
    if (!port.empty()) {
        if (port.size() > 5 || port.find_first_not_of("0123456789") != std::string::npos) return fail(AddressProblem::kBadPort);
        a.port = std::stoi(port);
        if (a.port < 1 || a.port > 65535) return fail(AddressProblem::kBadPort);
    }
    a.path = pathAt == std::string::npos ? "/" : text.substr(pathAt);
    if (const std::size_t hash = a.path.find('#'); hash != std::string::npos) a.path.erase(hash);
    if (a.path.empty() || a.path.front() != '/') a.path.insert(0, "/");
    return a;
}

std::string BasicAuthorization(const std::string& user, const std::string& password) {
    static const char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    const std::string plain = user + ":" + password;
    std::string out = "Basic ";
    for (std::size_t i = 0; i < plain.size(); i += 3) {
        std::uint32_t bits = static_cast<unsigned char>(plain[i]) << 16;
        if (i + 1 < plain.size()) bits |= static_cast<unsigned char>(plain[i + 1]) << 8;
        if (i + 2 < plain.size()) bits |= static_cast<unsigned char>(plain[i + 2]);
        out += kDigits[(bits >> 18) & 63];
        out += kDigits[(bits >> 12) & 63];
        out += i + 1 < plain.size() ? kDigits[(bits >> 6) & 63] : '=';
        out += i + 2 < plain.size() ? kDigits[bits & 63] : '=';
    }
    return out;
}

void ScoreboardSchedule::SetEnabled(bool enabled) {
    if (enabled && !enabled_) wanted_ = true;
    if (!enabled) wanted_ = false;
    enabled_ = enabled;
}

void ScoreboardSchedule::SetPeriod(std::optional<std::int64_t> startMinute, std::optional<std::int64_t> endMinute) {
    const std::optional<std::int64_t> start = startMinute ? std::optional<std::int64_t>(*startMinute * 60) : std::nullopt;
    const std::optional<std::int64_t> end = endMinute ? std::optional<std::int64_t>(*endMinute * 60) : std::nullopt;
    if (start == start_ && end == end_) return;
    start_ = start;
    end_ = end;
    endPosted_ = false;
}

bool ScoreboardSchedule::Due(std::int64_t now, bool inFlight) {
    if (!enabled_ || inFlight) return false;
    // The clock was set back: the last post lies in its future.
    if (last_ && now < *last_) last_.reset();
    if (last_ && now - *last_ < kShortest) return false;
    bool due = wanted_;
    if (start_ && end_ && now >= *start_ && now <= *end_ + kAfterEnd) {
        if (now >= *end_ && !endPosted_) due = true;  // the final figures, at once
        if (!last_ || now - *last_ >= kPeriod) due = true;
    }
    if (!due) return false;
    last_ = now;
    wanted_ = false;
    if (end_ && now >= *end_) endPosted_ = true;
    return true;
}

std::string ShortAnswer(const std::string& answer) {
    std::string line = answer;
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
        line.pop_back();
    const std::size_t first = line.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return std::string();
    line.erase(0, first);
    // An HTML page or a multi-line report says nothing in one line.
    if (line.size() > 60) return std::string();
    for (const char c : line)
        if (static_cast<unsigned char>(c) < ' ' || static_cast<unsigned char>(c) > '~' || c == '<') return std::string();
    return line;
}

std::string ScoreboardStatusLine(const PostOutcome& o, bool cyrillic) {
    const ScoreboardWords& w = ScoreboardTexts(cyrillic);
    const std::string clock = ClockOfMinute(o.minute);
    std::string line;
    switch (o.kind) {
        case PostOutcome::kOff:
            return w.off;
        case PostOutcome::kWaiting:
            return w.waiting;
        case PostOutcome::kSending:
            line = Format(w.sending, o.host.c_str());
            break;
        case PostOutcome::kPosted:
            line = Format(w.posted, clock.c_str(), StatusAndAnswer(o).c_str());
            break;
        case PostOutcome::kRefused:
            return Format(o.withoutCredentials ? w.refusedPlain : w.refused, o.status);
        case PostOutcome::kHttpError:
            line = Format(w.httpError, clock.c_str(), StatusAndAnswer(o).c_str());
            break;
        case PostOutcome::kNoAnswer:
            line = Format(w.noAnswer, o.host.c_str());
            break;
        case PostOutcome::kNoConnection:
            line = Format(w.noConnection, o.host.c_str());
            break;
        case PostOutcome::kRedirect:
            line = Format(w.redirect, o.status);
            break;
        case PostOutcome::kFailed:
            line = Format(w.failed, o.systemError);
            break;
    }
    if (o.withoutCredentials) line += w.noPassword;
    return line;
}

std::string AddressProblemLine(AddressProblem problem, bool cyrillic) {
    const ScoreboardWords& w = ScoreboardTexts(cyrillic);
    switch (problem) {
        case AddressProblem::kNone:
            break;
        case AddressProblem::kEmpty:
            return w.empty;
        case AddressProblem::kScheme:
            return w.scheme;
        case AddressProblem::kNoHost:
            return w.noHost;
        case AddressProblem::kBadPort:
            return w.badPort;
        case AddressProblem::kBadCharacter:
            return w.badCharacter;
    }
    return std::string();
}

}  // namespace stats
