// Before you submit: what log checking will take away and what it costs, as
// the audit found it (the same findings as `stats-host --audit`), and on the
// page of one log the calls a log checker looks at first.
#include <algorithm>
#include <cctype>
#include <set>

#include "audit_words.h"
#include "page/drawing.h"
#include "page/sections.h"

namespace tools::page {

namespace {

// A long list of one kind stops here; the report lists every one.
constexpr std::size_t kListedFindings = 200;

// "Serial out of sequence."
std::string Sentence(std::string text, bool stop = true) {
    if (!text.empty()) text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    return stop ? text + "." : text;
}

// "−6 points, −1 prefix"; "39 QSOs, ..." when a finding takes more than one.
std::string CostText(const audit::Finding& f) {
    std::string text = f.qsos.size() == 1 ? "" : Counted(static_cast<std::int64_t>(f.qsos.size()), "QSO", "QSOs") + ", ";
    text += Counted(-f.points, "point", "points");
    if (f.prefixes != 0) text += ", " + Counted(-f.prefixes, "prefix", "prefixes");
    return text;
}

std::string CostCells(const audit::Cost& c) {
    return "<td>" + Num(static_cast<std::int64_t>(c.qsos)) + "</td><td>" + Num(-c.points) + "</td><td>" +
           Num(-c.prefixes) + "</td>";
}

std::string CostData(const audit::Cost& c) {
    return " data-qsos=\"" + std::to_string(c.qsos) + "\" data-points=\"" + std::to_string(-c.points) +
           "\" data-prefixes=\"" + std::to_string(-c.prefixes) + "\" data-score=\"" + std::to_string(c.score) + "\"";
}

// The claimed score, the plug-in's, and what each kind of finding and all of
// them would take.
std::string Summary(const audit::LogAudit& log) {
    const std::optional<std::int64_t>& claimed = log.log->header.claimed;
    // What checking will most likely leave leads; the floor, every finding
    // at once, beside it.
    std::string out = "<p class=\"expected\"" + CostData(log.expected) + ">Expected after checking: <strong>" +
                      Num(log.expected.score) +
                      "</strong>, the proven findings and the likely busts taken away with their penalties; the "
                      "floor, every finding taken away: " +
                      Num(log.floor.score) + ".</p><p>" +
                      (claimed ? "Claimed in the log: " + Num(*claimed) + ". "
                                   : std::string("The log claims no score. ")) +
                      "The plug-in's score: <strong>" + Num(log.plugin.score) + "</strong> (" +
                      Counted(log.plugin.qsos, "QSO", "QSOs") + ", " + Counted(log.plugin.points, "point", "points") +
                      ", " + Counted(log.plugin.multipliers, "prefix", "prefixes") + ").</p>";
    if (log.findings.empty()) return out + "<p class=\"clean\">Nothing found that log checking would take away.</p>";
    out += "<table class=\"list risk\"><thead><tr><th>at risk</th><th>QSOs</th><th>points</th><th>prefixes</th>"
           "<th>score without them</th></tr></thead><tbody>";
    for (const auto& [kind, cost] : log.atRisk)
        out += "<tr class=\"kind\" data-kind=\"" + std::string(audit::KindName(kind)) + "\"" + CostData(cost) +
               "><th>" + Escape(audit::KindName(kind)) + "</th>" + CostCells(cost) + "<td>" + Num(cost.score) +
               "</td></tr>";
    out += "</tbody><tfoot><tr class=\"total floor\"" + CostData(log.floor) +
           "><th>all of them: the floor</th>" + CostCells(log.floor) + "<td>" + Num(log.floor.score) +
           "</td></tr></tfoot></table>";
    if (log.floor.penalties > 0)
        out += "<p class=\"note\">The points include " + Counted(log.floor.penalties, "point", "points") +
               " of penalties: " + audit::PenalizedKinds() + " cost the QSO's points once more.</p>";
    return out;
}

// The findings of each kind, a table each.
std::string Findings(const audit::Audit& audited, const audit::LogAudit& log, const char* heading) {
    const ContestLog& contestLog = *log.log;
    std::string out;
    for (const audit::Kind kind : audit::kKinds) {
        std::vector<const audit::Finding*> of;
        for (const audit::Finding& f : log.findings)
            if (f.kind == kind) of.push_back(&f);
        if (of.empty()) continue;
        out += std::string("<") + heading + ">" + Escape(Sentence(audit::KindName(kind), false)) + " (" +
               Num(static_cast<std::int64_t>(of.size())) + ")</" + heading +
               "><table class=\"list findings\" data-kind=\"" + audit::KindName(kind) + "\" data-count=\"" +
               std::to_string(of.size()) + "\"><thead><tr><th>in the log</th><th>time (UTC)</th><th>band</th>"
               "<th>call</th><th>cost</th><th>how sure</th><th>why</th></tr></thead><tbody>";
        for (std::size_t i = 0; i < of.size() && i < kListedFindings; ++i) {
            const audit::Finding& f = *of[i];
            const std::size_t first = f.qsos.front();
            out += "<tr><td class=\"nw\">" + Escape(contestLog.Where(first)) + "</td><td class=\"nw\">" +
                   DayTime(HostDateOfMinute(contestLog.minutes[first])) + "</td><td>" +
                   Escape(contestLog.qsos[first].band) + "</td><td class=\"call\">" +
                   Escape(contestLog.qsos[first].call) + "</td><td>" + CostText(f) + "</td><td class=\"nw\">" +
                   audit::CertaintyName(f.certainty) + "</td><td class=\"why\">" +
                   Escape(audit::Reason(audited, log, f)) + "</td></tr>";
        }
        out += "</tbody></table>";
        if (of.size() > kListedFindings)
            out += "<p class=\"note\">And " + Num(static_cast<std::int64_t>(of.size() - kListedFindings)) +
                   " more: <code>stats-host --audit</code> lists every one.</p>";
    }
    return out;
}

// The counted calls not in the list of active calls, and those worked only
// once, by band; in bold the calls that are both (the "not in MASTER.SCP"
// findings).
std::string CallsToCheck(const audit::LogAudit& log, const LogFigures& figures, const std::string& source) {
    std::set<std::string> both;
    for (const audit::Finding& f : log.findings)
        if (f.kind == audit::Kind::kNotActive) both.insert(log.log->qsos[f.qsos.front()].call);
    std::string out = "<p class=\"note\">A list to look at, not a judgment: a log checker looks at these first, and "
                      "first of all at the calls in bold: not in the list of active calls, and worked only once.</p>";
    out += "<h4>Not in the list of active contest calls</h4>";
    if (!log.calls.listRead) {
        out += "<p>No list of active contest calls was read (stats-host --calls names one).</p>";
    } else {
        out += "<p>" + Num(static_cast<std::int64_t>(log.calls.notListed.size())) + " of " +
               Num(static_cast<std::int64_t>(log.calls.worked)) + " calls are not in " + Escape(source) + "; " +
               Num(static_cast<std::int64_t>(both.size())) + " of them worked only once.</p>" +
               CallList(log.calls.notListed, "unknown", both);
    }
    out += "<h4>Worked only once in the whole log</h4>";
    std::vector<std::string> bands = BandsOf(figures);
    std::vector<std::vector<std::string>> byBand(bands.size());
    for (const auto& [call, band] : log.calls.once) {
        auto at = std::find(bands.begin(), bands.end(), band);
        if (at == bands.end()) {
            bands.push_back(band);
            byBand.emplace_back();
            at = bands.end() - 1;
        }
        byBand[static_cast<std::size_t>(at - bands.begin())].push_back(call);
    }
    out += "<table class=\"list\"><thead><tr>";
    for (const std::string& band : bands) out += "<th>" + Escape(band) + "</th>";
    out += "<th>all</th></tr></thead><tbody><tr>";
    for (const auto& calls : byBand) out += "<td>" + std::to_string(calls.size()) + "</td>";
    out += "<td>" + std::to_string(log.calls.once.size()) + "</td></tr></tbody></table>";
    for (std::size_t b = 0; b < bands.size(); ++b)
        if (!byBand[b].empty()) out += CallList(byBand[b], "once", both, "<b>" + Escape(bands[b]) + "</b> ");
    return out;
}

std::string NotesHtml(const audit::Audit& audited, const audit::LogAudit& log) {
    std::string out;
    for (const std::string& note : audit::Notes(audited, log)) out += "<p class=\"note\">" + Escape(Sentence(note)) + "</p>";
    return out;
}

}  // namespace

std::string BeforeYouSubmit(const PageInput& in) {
    const audit::Audit& audited = in.audit;
    if (audited.logs.size() != in.logs.size()) return std::string();
    std::string out = "<p class=\"note\">" + Escape(Sentence(audit::kReadOnly)) +
                      "</p><p>What log checking will take away, and what it costs: a busted call or a QSO not in the "
                      "other log, the QSO and a penalty of its points; a serial received wrong, the QSO; QSOs past "
                      "the operating-time limit, all of them; band changes past the rule, the transmitter's QSOs "
                      "until it complies. The same findings as <code>stats-host --audit</code>.</p>";
    if (audited.logs.size() == 1) {
        const audit::LogAudit& log = audited.logs.front();
        return out + Summary(log) + NotesHtml(audited, log) + Findings(audited, log, "h3") + "<h3 id=\"calls\">Calls to check</h3>" +
               CallsToCheck(log, in.logs.front(), audited.activeCallsSource);
    }
    // Several logs: each with its findings, those among the logs given too.
    for (const audit::LogAudit& log : audited.logs)
        out += "<h3>" + Escape(log.log->station.call) + " <code>" + Escape(log.log->file) + "</code></h3>" +
               Summary(log) + NotesHtml(audited, log) + Findings(audited, log, "h4");
    return out;
}

}  // namespace tools::page
