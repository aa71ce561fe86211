// The bad-QSO ("UBN") file: one header line, then one report line per rejected
// QSO and per earlier match of a duplicate. 8-bit text, CR LF line ends, in the
// host's current directory. Opened, used and closed within one call; the lines
// of a run of additions are written together (see BadQsoFile).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace stats::badqso {

inline constexpr const char kReasonWrongBand[] = "   WRONG BAND !!!";
inline constexpr const char kReasonWrongMode[] = "   WRONG MODE !!!";
inline constexpr const char kReasonNoNumber[] = "   NO RX NUMBER !!!";
inline constexpr const char kReasonDupe[] = "   DUPE !!!";

inline constexpr const char kDateTimeFormat[] = "%Y-%m-%d %H%M";

const char* HeaderLine(bool cwContest);
bool IsHeaderLine(std::string_view line);

// The fields of a report line, in the order a Cabrillo QSO line has them.
struct LineFields {
    std::uint32_t freqKHz = 0;
    std::string_view mode;
    std::string_view dateTime;  // formatted with kDateTimeFormat
    std::string_view ownCall;
    std::string_view rstSent;
    std::string_view exchSent;
    std::string_view call;
    std::string_view rstRcvd;
    std::string_view exchRcvd;
};

// One report line without its line end; line breaks in the fields become blanks.
std::string ReportLine(const LineFields& fields, const char* reason);

// True when `line` is a rejection line (wrong band, wrong mode, no number)
// whose worked call, date-time and mode fields are exactly the given ones, as
// ReportLine writes them. The fields are told apart by their separators, so a
// report or serial holding a double blank hides the worked call.
bool IsRejectionOf(std::string_view line, std::string_view call, std::string_view mode,
                   std::string_view dateTime);
// The worked call of a rejection line as IsRejectionOf finds it (the third
// field from the right before the reason), or nothing when the line has none.
std::optional<std::string_view> WorkedCallOf(std::string_view line);

// Lines by their exact text, each with how many of them to take out.
using LineCounts = std::unordered_map<std::string, std::size_t>;

// The lines of a file's content without their line ends; a last line without
// one included.
std::vector<std::string> SplitLines(std::string_view content);

// Rejection lines: every line but a leading header line and the dupe lines, a
// last line without a line end included. This is the number of rejected QSOs,
// while a dupe line stands for one earlier match of a stored QSO, not for a
// QSO of its own.
std::int64_t CountRejectionLines(std::string_view content);

}  // namespace stats::badqso

namespace stats {

// The bad-QSO file of one run: its name, whether it still holds the last
// run's lines, and the report lines not yet in it. Nothing else in the
// plug-in reads or writes the file. Caller holds the run guard.
//
// A replay of the host's log brings thousands of rejections and dupes, and on
// Windows each open and close of the file is dear, so the lines of a run of
// additions wait and are written together: before anything else can read the
// file (the next call of any other export, the window thread's figures, the
// unload) or once they are many.
class BadQsoFile {
public:
    // `cwContest` is the run's contest mode, which the header line names; the
    // Setup window may switch it between calls.
    explicit BadQsoFile(const int& cwContest) : cwContest_(cwContest) {}
    BadQsoFile(const BadQsoFile&) = delete;
    BadQsoFile& operator=(const BadQsoFile&) = delete;

    const std::string& Name() const { return name_; }

    // A reset begins: the last run's lines go to its file (whose name may
    // change now); what cannot be written then is of a run that is over.
    void EndRun();
    // The new run's file, named now. It holds the last run's lines until it
    // can be emptied: tried at once and again before each read.
    void StartRun(std::string name);

    // A rejected QSO, or `count` earlier matches of a dupe: the line that
    // `makeLine` gives waits to be appended, `count` times. Never added to the
    // last run's lines, and then not made at all. The file is not tried again
    // here: while another program holds it each try takes a while, and a
    // replay brings many rejections; the next result request or removal tries.
    template <typename MakeLine>
    void Report(MakeLine makeLine, std::size_t count = 1) {
        if (!stale_) Queue(makeLine(), count);
    }

    // Before anything reads the file: one that holds the last run's lines is
    // emptied if it can be now, and the waiting lines are written. A failed
    // write leaves them waiting, to be tried again. True when the file holds
    // this run's lines only.
    bool FlushWaitingLines();
    // The same from calls that must stay quick (a call check comes with each
    // keystroke, an addition with each QSO of a replay): once a write of the
    // lines has failed, another program may hold the file, and each try could
    // take a while; the next result request, removal or reset tries again.
    void FlushWaitingLinesUnlessFailing();

    // The rejected QSOs reported for this run (its lines but the header and
    // the dupe lines), as counted when they were written; 0 while the file
    // holds the last run's lines. The file is only touched when lines wait.
    std::int64_t RejectedQsos();

    // A QSO was removed: its own rejection lines go, and `dupeLines` (the
    // dupe lines its removal takes back). When that drops a line, the file is
    // rewritten whole; one that holds the last run's lines, or is there but
    // cannot be read, is left alone, and so is the file when no line goes.
    void RewriteAfterRemoval(const badqso::LineFields& removed, badqso::LineCounts dupeLines);

    // Nothing waits any more: the lines are in the file, or dropped.
    void ForgetWaitingLines();

private:
    void Queue(const std::string& line, std::size_t count);
    // Takes a rejection line into the count and the index.
    void Index(std::string_view line, std::size_t count);
    // Takes the lines out of the count and the index; false when one is not
    // in the index (the count then no longer holds).
    bool Unindex(const std::vector<std::string_view>& lines);
    void ClearIndex();
    // True when a line this run wrote is one of the removed QSO's own
    // rejection lines, as RewriteAfterRemoval tells them.
    bool HasRejectionOf(const badqso::LineFields& removed, const std::string (&ownLines)[3]) const;
    // Reads into content_ what the file holds for this run: its content,
    // without the part of a failed write, followed by the waiting lines.
    // False when the file is there but cannot be read.
    bool ReadContent();
    // The header line with its line end, as a rewritten file begins.
    std::string HeaderText() const;
    // Replaces the file with `content`. The text goes to a temporary file
    // first, which then takes the place of the old one, so a crash never
    // leaves half a file.
    bool Rewrite(std::string_view content);

    const int& cwContest_;
    std::string name_;
    // The reset could not empty the file (another program held it): its lines
    // are the last run's, to be neither counted nor added to.
    bool stale_ = false;
    // Report lines not yet in the file, with their line ends.
    std::string waiting_;
    // The file's length before a write of the waiting lines that failed (what
    // follows it is part of them), or -1.
    std::int64_t waitingFrom_ = -1;
    // This run's rejection lines, in the file or waiting: how many, and their
    // texts by their worked call (under "\n", which no line holds, those
    // without one), so that a removal finds its own without reading the file.
    std::int64_t rejections_ = 0;
    // The sum of the lines' hashes: a rewrite that finds the same lines in the
    // file as were counted keeps the index and takes out only what went.
    std::uint64_t rejectionDigest_ = 0;
    std::unordered_map<std::string, std::vector<std::string>> rejectionsByCall_;
    // The old and the new content of a rewrite. Kept from one to the next:
    // fresh memory the size of the file costs more than the work on it.
    std::string content_;
    std::string next_;
};

}  // namespace stats
