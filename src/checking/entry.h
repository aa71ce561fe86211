// The entry a Cabrillo log's header declares: its CATEGORY- lines, its
// claimed score, its operators and club, and from them the category that sets
// the operating-time limit and the transmitter rule that sets the band-change
// rule.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "checking/band_changes.h"
#include "contest/operating_time.h"

namespace stats {

struct EntryHeader {
    std::vector<std::pair<std::string, std::string>> categories;  // the CATEGORY- lines, as written
    std::optional<std::int64_t> claimed;                          // CLAIMED-SCORE, when a number
    std::optional<std::string> operators, club;  // OPERATORS (several lines joined) and CLUB, as written

    // The category for the operating-time limit, from CATEGORY-OPERATOR and
    // CATEGORY-OVERLAY; nothing when the header does not say.
    std::optional<EntryCategory> Category() const;
    // CATEGORY-TRANSMITTER in capitals; empty when the header has none.
    std::string Transmitter() const;
};

// Takes one header line, its tag and value trimmed (tags in any case).
void AddHeaderLine(EntryHeader& header, std::string_view tag, std::string_view value);

// The category of a run: the one asked for, else the header's, else a single
// operator's, as the plug-in assumes.
EntryCategory CategoryOfEntry(const std::optional<EntryCategory>& asked, const EntryHeader& header);

// The band-change rule of an entry: a multi-operator entry on TWO
// transmitters is multi-two, on ONE multi-single (any case); anything else,
// UNLIMITED or a single operator, none.
TransmitterRule TransmitterRuleOf(EntryCategory category, std::string_view categoryTransmitter);

}  // namespace stats
