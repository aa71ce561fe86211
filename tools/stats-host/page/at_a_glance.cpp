// The top of the page: its head and style, the log at a glance, and the
// plug-in's own summary.
#include <cctype>
#include <cmath>
#include <sstream>

#include "contest/text_util.h"
#include "page/drawing.h"
#include "page/sections.h"

namespace tools::page {

namespace {

const char kStyle[] =
    "body{font-family:'DejaVu Sans',Arial,Helvetica,sans-serif;color:#222;max-width:1000px;margin:0 auto;"
    "padding:0 14px 40px;line-height:1.4}"
    "h1{font-size:1.6em;margin:0.8em 0 0.2em}h2{font-size:1.25em;margin:1.6em 0 0.5em;border-bottom:2px solid #1f78b4}"
    "h3{font-size:1.05em;margin:1.1em 0 0.4em}"
    "table{border-collapse:collapse;margin:0.4em 0}th,td{padding:2px 8px}"
    ".facts th{text-align:left;font-weight:normal;color:#555;padding-right:14px;white-space:nowrap}"
    ".list th,.list td,.sheet th,.sheet td{border:1px solid #ccc;text-align:right}"
    ".sheet{font-size:0.85em;width:100%}.sheet th{text-align:left;white-space:nowrap}"
    ".sheet thead th{text-align:right;white-space:normal}"
    ".sheet .idle{color:#999}.sheet .other{color:#777}.sheet .sum{font-weight:bold}"
    ".total td,.total th{font-weight:bold;border-top:2px solid #888}"
    ".chart{width:100%;height:auto;display:block}.chart .axis,.chart .tick{stroke:#555}.chart .grid{stroke:#e4e4e4}"
    ".chart .label{font-size:12px;fill:#444}.chart .line{fill:none;stroke-width:2}.chart .mult{stroke-dasharray:5 3}"
    ".legend span{margin-right:16px;white-space:nowrap;font-size:0.9em}"
    ".legend i{display:inline-block;width:12px;height:12px;margin-right:5px;vertical-align:-1px}"
    ".calls{overflow-wrap:anywhere;font-family:'DejaVu Sans Mono',monospace;font-size:0.9em}"
    ".calls span{display:inline-block;margin-right:0.6em}"
    "code{overflow-wrap:anywhere;word-break:break-all}"
    ".nw{white-space:nowrap}.note{color:#555}.warn{color:#b00}.up{color:#1a7a1a}.down{color:#b00}"
    ".summary{max-width:560px}.top{display:flex;flex-wrap:wrap;gap:0 32px;align-items:flex-start}"
    ".top>div{flex:1 1 420px;min-width:0}"
    "h4{font-size:1em;margin:0.9em 0 0.3em}.risk tbody th,.risk tfoot th{text-align:left}"
    ".findings{width:100%}.findings th,.findings td{text-align:left;vertical-align:top}.findings th{white-space:nowrap}"
    // A phone: the rate sheet's ten columns fit without its running total,
    // and each finding reads as a few lines of its own.
    "@media (max-width:760px){body{padding:0 4px 30px}.facts th{white-space:normal}"
    ".sheet{font-size:0.66em}.sheet .cum{display:none}.sheet th,.sheet td{padding:1px 2px}"
    ".list{font-size:0.85em}.list th,.list td{padding:1px 4px}"
    ".risk{font-size:0.75em}.risk th,.risk td{padding:1px 2px}.risk tbody th{overflow-wrap:anywhere}"
    ".findings,.findings tbody,.findings tr{display:block}"
    ".findings thead{display:none}"
    ".findings tr{border-top:1px solid #ccc;padding:3px 0}.findings td{display:inline;border:0;padding:0 0.5em 0 0}"
    ".findings td.why{display:block}}"
    "@media print{body{max-width:none}h2{break-after:avoid}.chart{break-inside:avoid}}";

}  // namespace

std::string Head(const std::string& title) {
    return "<!DOCTYPE html>\n<html lang=\"en\"><head><meta charset=\"utf-8\"><meta name=\"viewport\" "
           "content=\"width=device-width, initial-scale=1\"><title>" +
           Escape(title) + "</title><style>" + kStyle + "</style></head><body>\n";
}

std::string LogFacts(const LogFigures& log) {
    std::string out = "<table class=\"facts\">";
    // The log's CATEGORY- lines, by the rest of their names.
    for (const auto& [key, value] : log.header) {
        if (value.empty()) continue;
        const std::string name = stats::LowerAscii(key.substr(key.find('-') + 1));
        out += "<tr><th>" + Escape(name) + "</th><td>" + Escape(value) + "</td></tr>";
    }
    out += "<tr><th>score by the plug-in</th><td class=\"score\" data-score=\"" + std::to_string(log.result.score) +
           "\"><strong>" + Num(log.result.score) + "</strong> (" + Num(log.result.qsos) + " QSOs, " +
           Num(log.result.points) + " points, " + Num(log.result.multipliers) + " prefixes)</td></tr>";
    if (log.claimed) {
        const std::int64_t diff = log.result.score - *log.claimed;
        out += "<tr><th>claimed in the log</th><td class=\"claimed\">" + Num(*log.claimed);
        if (diff == 0) {
            out += " (the same)";
        } else {
            out += " (the plug-in's score is " + Num(diff < 0 ? -diff : diff) + (diff < 0 ? " lower" : " higher");
            if (*log.claimed > 0) out += ", " + Format("%.2f", std::fabs(100.0 * diff / double(*log.claimed))) + "%";
            out += ")";
        }
        out += "</td></tr>";
    }
    out += "<tr><th>QSOs in the log</th><td>" + Num(static_cast<std::int64_t>(log.loggedTimes.size())) + ": " +
           Num(static_cast<std::int64_t>(log.counted.size())) + " counted, " + Num(log.dupes) + " dupes, " +
           Num(log.rejected) + " rejected</td></tr>";
    // The figures an operator asks first, each drawn or listed further down.
    const stats::OperatingTime& t = log.operating;
    out += "<tr><th>operating time</th><td>" + DurationOfMinutes(t.operatingMinutes) + ", " +
           Counted(static_cast<std::int64_t>(t.offTimes.size()), "off-time", "off-times") + "; " +
           LimitText(t, log.category, true);
    if (t.limitPassed)
        out += ", <strong>" + Counted(static_cast<std::int64_t>(t.qsosPast), "QSO", "QSOs") + " past it</strong>";
    out += "</td></tr>";
    const std::vector<double> times = CountedTimes(log);
    for (const auto& [minutes, name] : {std::pair{60.0, "60"}, std::pair{10.0, "10"}}) {
        const Peak p = BestWindow(times, minutes);
        if (p.qsos > 0)
            out += "<tr><th>best " + std::string(name) + " minutes</th><td>" + std::to_string(p.qsos) +
                   " QSOs, <span class=\"nw\">" + Span(p.from, p.to) + "</span></td></tr>";
    }
    out += "</table>";
    if (!log.otherContest.empty())
        out += "<p class=\"warn\">The log names the contest " + Escape(log.otherContest) +
               "; the plug-in scored it as " + ContestName(log.cw) + ".</p>";
    return out;
}

std::string ScopedSummary(const std::string& html) {
    // The plug-in's page, body and style, with its style rules confined to
    // the box it is shown in.
    std::string style, body = html;
    const auto styleOpen = html.find("<style>"), styleClose = html.find("</style>");
    if (styleOpen != std::string::npos && styleClose != std::string::npos && styleClose > styleOpen) {
        const std::string rules = html.substr(styleOpen + 7, styleClose - styleOpen - 7);
        std::size_t from = 0;
        while (from < rules.size()) {
            const std::size_t open = rules.find('{', from), close = rules.find('}', from);
            if (open == std::string::npos || close == std::string::npos || close < open) break;
            std::string selectors = rules.substr(from, open - from), scoped;
            std::stringstream list(selectors);
            for (std::string one; std::getline(list, one, ',');) {
                const std::string_view selector = stats::TrimBlanks(one);
                if (selector.empty()) continue;
                scoped += std::string(scoped.empty() ? "" : ", ") + ".summary " + std::string(selector);
            }
            style += scoped + rules.substr(open, close - open + 1);
            from = close + 1;
        }
    }
    const auto bodyOpen = html.find("<body>"), bodyClose = html.rfind("</body>");
    if (bodyOpen != std::string::npos && bodyClose != std::string::npos && bodyClose > bodyOpen)
        body = html.substr(bodyOpen + 6, bodyClose - bodyOpen - 6);
    return (style.empty() ? "" : "<style>" + style + "</style>") + "<div class=\"summary\">" + body + "</div>";
}

}  // namespace tools::page
