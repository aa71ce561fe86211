#include "audit_report.h"

#include "audit_words.h"
#include "contest/contest_name.h"

namespace tools::audit {

namespace {

std::string Field(const char* name, std::int64_t value) { return std::string(name) + " " + std::to_string(value); }

std::string Costs(const Cost& c) {
    return Field("QSOs", static_cast<std::int64_t>(c.qsos)) + "\t" + Field("points", -c.points) + "\t" +
           Field("prefixes", -c.prefixes) + "\t" + Field("score", c.score) + "\t" + Field("penalties", c.penalties);
}

}  // namespace

std::string Report(const Audit& audit) {
    std::string out;
    auto line = [&out](const std::string& text) { out += text + "\n"; };
    line(std::string("note\t") + kReadOnly);
    for (const LogAudit& audited : audit.logs) {
        const ContestLog& log = *audited.log;
        const std::string& file = log.file;
        line("log\t" + file + "\t" + log.station.call + "\t" + stats::ContestName(log.cw) + "\t" + CategoryText(log) +
             "\t" + Field("QSOs", static_cast<std::int64_t>(log.qsos.size())) + ", " + std::to_string(audited.dupes) +
             " dupes, " + std::to_string(audited.rejected) + " rejected by the plug-in");
        // What checking will most likely leave leads; the floor beside it.
        line("expected after checking\t" + file + "\t" + Costs(audited.expected) +
             "\tthe score once the proven findings and the likely busts went, with their penalties");
        line("floor\t" + file + "\t" + Costs(audited.floor) +
             "\tthe score if every flagged QSO went, with its penalties");
        for (const std::string& note : Notes(audit, audited)) line("note\t" + file + "\t" + note);
        for (const Finding& f : audited.findings) {
            const std::size_t first = f.qsos.front();
            line(std::string(KindName(f.kind)) + "\t" + file + "\t" + log.Where(first) + "\t" +
                 TimeText(log.minutes[first]) + "\t" + log.qsos[first].band + "\t" + log.qsos[first].call + "\t" +
                 Field("QSOs", static_cast<std::int64_t>(f.qsos.size())) + "\t" + Field("points", -f.points) + "\t" +
                 Field("prefixes", -f.prefixes) + "\t" + Reason(audit, audited, f) + "\t" +
                 CertaintyName(f.certainty));
        }
        const Figures& p = audited.plugin;
        line("claimed\t" + file + "\t" +
             (log.header.claimed ? Field("score", *log.header.claimed) : std::string("score none")) +
             "\tthe plug-in's\t" + Field("QSOs", p.qsos) + "\t" + Field("points", p.points) + "\t" +
             Field("prefixes", p.multipliers) + "\t" + Field("score", p.score));
        for (const auto& [kind, cost] : audited.atRisk)
            line("at risk\t" + file + "\t" + KindName(kind) + "\t" + Costs(cost));
    }
    return out;
}

}  // namespace tools::audit
