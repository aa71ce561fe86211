#include "checking/entry.h"

#include "contest/text_util.h"

namespace stats {

void AddHeaderLine(EntryHeader& header, std::string_view tag, std::string_view value) {
    const std::string key = UpperAscii(tag);
    if (key.rfind("CATEGORY-", 0) == 0) header.categories.emplace_back(std::string(tag), std::string(value));
    if (key == "CLAIMED-SCORE" && !value.empty() && value.find_first_not_of("0123456789") == std::string_view::npos &&
        value.size() < 16)
        header.claimed = std::stoll(std::string(value));
    if (key == "OPERATORS")
        header.operators = header.operators ? *header.operators + " " + std::string(value) : std::string(value);
    if (key == "CLUB") header.club = std::string(value);
}

std::optional<EntryCategory> EntryHeader::Category() const {
    std::optional<EntryCategory> operators;
    bool classic = false;
    for (const auto& [tag, value] : categories) {
        const std::string key = UpperAscii(tag), word = UpperAscii(value);
        // A check log is held to a single operator's limit: it is the
        // stricter reading, and nothing in the log says more.
        if (key == "CATEGORY-OPERATOR") {
            if (word == "SINGLE-OP" || word == "CHECKLOG") operators = EntryCategory::kSingleOp;
            else if (word == "MULTI-OP") operators = EntryCategory::kMultiOp;
        }
        if (key == "CATEGORY-OVERLAY") classic = word == "CLASSIC";
    }
    // The Classic overlay is one of single operators.
    return operators == EntryCategory::kSingleOp && classic ? EntryCategory::kClassic : operators;
}

std::string EntryHeader::Transmitter() const {
    for (const auto& [tag, value] : categories)
        if (UpperAscii(tag) == "CATEGORY-TRANSMITTER") return UpperAscii(value);
    return "";
}

EntryCategory CategoryOfEntry(const std::optional<EntryCategory>& asked, const EntryHeader& header) {
    return asked.value_or(header.Category().value_or(EntryCategory::kSingleOp));
}

TransmitterRule TransmitterRuleOf(EntryCategory category, std::string_view categoryTransmitter) {
    if (category != EntryCategory::kMultiOp) return TransmitterRule::kNone;
    if (EqualsNoCase(categoryTransmitter, "TWO")) return TransmitterRule::kMultiTwo;
    if (EqualsNoCase(categoryTransmitter, "ONE")) return TransmitterRule::kMultiSingle;
    return TransmitterRule::kNone;
}

}  // namespace stats
