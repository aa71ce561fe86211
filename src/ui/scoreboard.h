// Posting the score to the contest scoreboards: the decisions. Which address
// may be used, whether its credentials may go with it, when the next post is
// due and what the status line says. The Windows layer sends the posts on a
// thread of its own and tells these the outcome; nothing here waits.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace stats {

// The known boards' addresses, the one most loggers post to first.
const std::vector<std::string>& KnownBoards();

struct BoardAddress {
    bool https = false;
    std::string host;  // without brackets for an IPv6 literal
    int port = 0;
    std::string path;  // from its "/", with the query; "/" when none
    // Credentials go only over HTTPS or to this machine: on a plain-HTTP
    // board anybody on the way could read them.
    bool CredentialsAllowed() const;
    bool Loopback() const;
};

enum class AddressProblem { kNone, kEmpty, kScheme, kNoHost, kBadPort, kBadCharacter };

// An address the operator typed: http:// or https://, a host, an optional
// port and path. Blanks around it are dropped.
std::optional<BoardAddress> ParseBoardAddress(const std::string& text, AddressProblem* problem = nullptr);

// The Authorization header's value for HTTP Basic authentication.
std::string BasicAuthorization(const std::string& user, const std::string& password);

// When the next post is due. Times are seconds on the UTC clock (as
// OleDateMinute counts minutes, times 60).
class ScoreboardSchedule {
public:
    static constexpr std::int64_t kPeriod = 120;       // the boards' heartbeat
    static constexpr std::int64_t kShortest = 60;      // never more often
    static constexpr std::int64_t kAfterEnd = 15 * 60;  // the boards still take posts

    // Enabling asks for a post at once, as the operator wants to see it work.
    void SetEnabled(bool enabled);
    bool Enabled() const { return enabled_; }
    // A new contest period (the reset's); start and end in minutes.
    void SetPeriod(std::optional<std::int64_t> startMinute, std::optional<std::int64_t> endMinute);
    void PostNow() { wanted_ = true; }
    // Another board: the shortest interval is each board's, so that a
    // corrected address is tried at once.
    void NewBoard() { last_.reset(); }
    // Whether a post should start now; when true the post counts as made at
    // `now` (a failed one too: it is not repeated before its turn).
    bool Due(std::int64_t now, bool inFlight);
    std::optional<std::int64_t> LastPost() const { return last_; }

private:
    bool enabled_ = false;
    bool wanted_ = false;      // enabled just now, or "post now"
    bool endPosted_ = false;   // the post at the contest's end
    std::optional<std::int64_t> start_, end_;  // seconds
    std::optional<std::int64_t> last_;
};

// What became of the last post, as the status line shows it.
struct PostOutcome {
    enum Kind {
        kOff,           // reporting is off
        kWaiting,       // on, nothing posted yet
        kSending,
        kPosted,        // 2xx
        kRefused,       // 401 or 403
        kHttpError,     // any other status
        kNoAnswer,      // a time-out
        kNoConnection,  // the host cannot be reached or named
        kRedirect,      // a redirect that was not followed
        kFailed,        // anything else on the way (TLS, the system)
    } kind = kOff;
    std::int64_t minute = 0;  // when it was sent
    int status = 0;           // HTTP status
    std::string reason;       // the status line's reason phrase
    std::string answer;       // the board's answer, raw
    std::string host;
    bool withoutCredentials = false;  // a plain-HTTP board got none
    unsigned long systemError = 0;    // kFailed, kNoConnection
};

// The board's answer as far as it is one short line of text; empty otherwise.
std::string ShortAnswer(const std::string& answer);

// The status line in the windows' language (code page 1251 when Russian).
std::string ScoreboardStatusLine(const PostOutcome& outcome, bool cyrillic);
// The line shown when the typed address is refused.
std::string AddressProblemLine(AddressProblem problem, bool cyrillic);

}  // namespace stats
