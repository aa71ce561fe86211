#include "contest/qso_log.h"

#include <algorithm>
#include <stdexcept>

#include "contest/text_util.h"

namespace stats {

CContestRules::CContestRules(const char* const* names, std::size_t count) : names_(names, names + count) {}

bool CContestRules::Contains(std::string_view text) const {
    return std::any_of(names_.begin(), names_.end(), [&](const std::string& n) { return EqualsNoCase(n, text); });
}

CInfo QsoLog::GetAt(std::size_t i) const {
    if (i >= records_.size()) throw std::out_of_range("QSO index outside the log");
    const QsoRecord& r = records_[i];
    CInfo info;
    info.m_strCall = Text(r.call);
    info.m_strCountry = Text(r.country);
    info.m_strContinent = Text(r.continent);
    info.m_strBand = Text(r.band);
    info.m_strMode = Text(r.mode);
    info.m_strRstRcvd = Text(r.rstRcvd);
    info.m_strRstSent = Text(r.rstSent);
    info.m_strExchRcvd = Text(r.exchRcvd);
    info.m_strExchSent = Text(r.exchSent);
    info.m_strPrefix = Text(r.prefix);
    info.m_nFreqKHz = r.freqKHz;
    info.m_bExcluded = r.excluded;
    info.m_bDupe = r.dupe;
    info.m_time = r.time;
    return info;
}

std::size_t QsoLog::Append(const CInfo& info, std::string_view ownCall) {
    QsoRecord r;
    r.call = pool_.Intern(info.m_strCall);
    r.country = pool_.Intern(info.m_strCountry);
    r.continent = pool_.Intern(info.m_strContinent);
    r.band = pool_.Intern(info.m_strBand);
    r.mode = pool_.Intern(info.m_strMode);
    r.rstRcvd = pool_.Intern(info.m_strRstRcvd);
    r.rstSent = pool_.Intern(info.m_strRstSent);
    r.exchRcvd = pool_.Intern(info.m_strExchRcvd);
    r.exchSent = pool_.Intern(info.m_strExchSent);
    r.prefix = pool_.Intern(info.m_strPrefix);
    r.ownCall = pool_.Intern(ownCall);
    r.freqKHz = info.m_nFreqKHz;
    r.excluded = info.m_bExcluded ? 1 : 0;
    r.dupe = info.m_bDupe ? 1 : 0;
    r.time = info.m_time;
    r.seq = nextSeq_++;

    records_.push_back(r);
    groups_[GroupKey{r.call, r.band, r.mode}].push_back(r.seq);
    ++callBandCount_[CallBandKey(r.call, r.band)];
    if (prefixCount_.size() <= r.prefix) prefixCount_.resize(pool_.Size());
    ++prefixCount_[r.prefix];
    return records_.size() - 1;
}

void QsoLog::RemoveAt(std::size_t i) {
    if (i >= records_.size()) throw std::out_of_range("QSO index outside the log");
    const QsoRecord r = records_[i];

    const auto group = groups_.find(GroupKey{r.call, r.band, r.mode});
    if (group != groups_.end()) {
        auto& seqs = group->second;
        seqs.erase(std::lower_bound(seqs.begin(), seqs.end(), r.seq));
        if (seqs.empty()) groups_.erase(group);
    }
    const auto cb = callBandCount_.find(CallBandKey(r.call, r.band));
    if (cb != callBandCount_.end() && --cb->second == 0) callBandCount_.erase(cb);
    --prefixCount_[r.prefix];

    records_.erase(records_.begin() + static_cast<std::ptrdiff_t>(i));
}

void QsoLog::RemoveAll() {
    records_.clear();
    records_.shrink_to_fit();
    groups_.clear();
    callBandCount_.clear();
    prefixCount_.clear();
    pool_.Clear();
    nextSeq_ = 0;
}

std::size_t QsoLog::IndexOfSeq(std::uint32_t seq) const {
    const auto it = std::lower_bound(records_.begin(), records_.end(), seq,
                                     [](const QsoRecord& r, std::uint32_t s) { return r.seq < s; });
    return static_cast<std::size_t>(it - records_.begin());
}

const std::vector<std::uint32_t>* QsoLog::Group(std::string_view call, std::string_view band,
                                                std::string_view mode) const {
    const auto c = pool_.Find(call), b = pool_.Find(band), m = pool_.Find(mode);
    if (!c || !b || !m) return nullptr;
    const auto group = groups_.find(GroupKey{*c, *b, *m});
    return group == groups_.end() ? nullptr : &group->second;
}

std::size_t QsoLog::CountSame(std::string_view call, std::string_view band, std::string_view mode) const {
    const auto* seqs = Group(call, band, mode);
    return seqs ? seqs->size() : 0;
}

std::vector<std::size_t> QsoLog::IndexesOfSame(std::string_view call, std::string_view band,
                                               std::string_view mode) const {
    std::vector<std::size_t> indexes;
    if (const auto* seqs = Group(call, band, mode)) {
        indexes.reserve(seqs->size());
        for (const std::uint32_t seq : *seqs) indexes.push_back(IndexOfSeq(seq));
    }
    return indexes;
}

bool QsoLog::HasCallOnBand(std::string_view call, std::string_view band) const {
    const auto c = pool_.Find(call), b = pool_.Find(band);
    return c && b && callBandCount_.count(CallBandKey(*c, *b)) != 0;
}

bool QsoLog::HasPrefix(std::string_view prefix) const {
    const auto p = pool_.Find(prefix);
    return p && *p < prefixCount_.size() && prefixCount_[*p] != 0;
}

}  // namespace stats
