#include "contest/qso_log.h"

#include <algorithm>
#include <iterator>
#include <stdexcept>

#include "contest/text_util.h"

namespace stats {

CContestRules::CContestRules(const char* const* names, std::size_t count) : names_(names, names + count) {}

bool CContestRules::Contains(std::string_view text) const {
    return std::any_of(names_.begin(), names_.end(), [&](const std::string& n) { return EqualsNoCase(n, text); });
}

CInfo QsoLog::GetAt(std::size_t i) const {
    if (i >= count_) throw std::out_of_range("QSO index outside the log");
    const QsoRecord& r = Record(i);
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

std::size_t QsoLog::Append(const QsoFields& f, std::size_t* earlierSame) {
    const std::string_view texts[] = {f.call,    f.country,  f.continent, f.band,    f.mode,
                                      f.rstRcvd, f.rstSent, f.exchRcvd,  f.exchSent, f.ownCall};
    static_assert(std::size(texts) == kFields);
    Id ids[kFields];
    // Only the texts that differ from the record before's are looked up.
    std::string_view changed[kFields];
    std::size_t fieldOf[kFields];
    Id changedIds[kFields];
    std::size_t count = 0;
    for (std::size_t i = 0; i < kFields; ++i) {
        if (recentValid_ && recentTexts_[i] == texts[i]) {
            ids[i] = recentIds_[i];
        } else {
            changed[count] = texts[i];
            fieldOf[count++] = i;
        }
    }
    pool_.InternAll(changed, changedIds, count);
    for (std::size_t j = 0; j < count; ++j) {
        const std::size_t i = fieldOf[j];
        ids[i] = recentIds_[i] = changedIds[j];
        recentTexts_[i].assign(changed[j]);
    }
    recentValid_ = true;
    QsoRecord r;
    r.call = ids[0];
    r.country = ids[1];
    r.continent = ids[2];
    r.band = ids[3];
    r.mode = ids[4];
    r.rstRcvd = ids[5];
    r.rstSent = ids[6];
    r.exchRcvd = ids[7];
    r.exchSent = ids[8];
    r.ownCall = ids[9];
    r.prefixNumber = prefixNumbers_.Intern(f.prefix);
    prefixIds_.Cover(r.prefixNumber);
    prefixCount_.Cover(r.prefixNumber);
    // The empty text is 0 in both pools.
    if (r.prefixNumber != 0 && prefixIds_[r.prefixNumber] == 0) prefixIds_[r.prefixNumber] = pool_.Intern(f.prefix);
    r.prefix = prefixIds_[r.prefixNumber];
    r.freqKHz = f.freqKHz;
    r.excluded = f.dupe ? 1 : 0;
    r.dupe = f.dupe ? 1 : 0;
    r.time = f.time;
    r.seq = nextSeq_++;
    r.nextSame = kNoSeq;

    Group& group = groups_[GroupKey{r.call, r.band, r.mode}];
    if (earlierSame != nullptr) *earlierSame = group.count;
    if (group.count++ == 0)
        group.first = r.seq;
    else
        MutableRecord(IndexOfSeq(group.last)).nextSame = r.seq;
    group.last = r.seq;
    if (std::find(modes_.begin(), modes_.end(), r.mode) == modes_.end()) modes_.push_back(r.mode);
    ++prefixCount_[r.prefixNumber];

    if (!latestStale_ && OleDateIsLater(r.time, latest_.value_or(OleDateTime::Null()))) latest_ = r.time;

    if (blocks_.empty() || blocks_.back().size() == kBlock) {
        starts_.push_back(count_);
        blocks_.emplace_back().reserve(kBlock);
    }
    blocks_.back().push_back(r);
    return count_++;
}

void QsoLog::RemoveAt(std::size_t i) {
    if (i >= count_) throw std::out_of_range("QSO index outside the log");
    const QsoRecord r = Record(i);

    const GroupKey key{r.call, r.band, r.mode};
    if (Group* group = groups_.Find(key)) {
        if (group->first == r.seq) {
            group->first = r.nextSame;
        } else {
            QsoRecord* before = &MutableRecord(IndexOfSeq(group->first));
            while (before->nextSame != r.seq) before = &MutableRecord(IndexOfSeq(before->nextSame));
            before->nextSame = r.nextSame;
            if (group->last == r.seq) group->last = before->seq;
        }
        if (--group->count == 0) groups_.Erase(key);
    }
    --prefixCount_[r.prefixNumber];

    // Another record may hold the same time; the next request looks.
    if (latest_ && !OleDateIsLater(*latest_, r.time)) latestStale_ = true;

    const std::size_t b = BlockOf(i);
    std::vector<QsoRecord>& block = blocks_[b];
    block.erase(block.begin() + static_cast<std::ptrdiff_t>(i - starts_[b]));
    for (std::size_t later = b + 1; later < starts_.size(); ++later) --starts_[later];
    if (block.empty()) {
        blocks_.erase(blocks_.begin() + static_cast<std::ptrdiff_t>(b));
        starts_.erase(starts_.begin() + static_cast<std::ptrdiff_t>(b));
    }
    --count_;
}

void QsoLog::RemoveAll() {
    std::vector<std::vector<QsoRecord>>().swap(blocks_);
    std::vector<std::size_t>().swap(starts_);
    count_ = 0;
    groups_.Clear();
    std::vector<Id>().swap(modes_);
    prefixNumbers_.Clear();
    prefixIds_.Clear();
    prefixCount_.Clear();
    pool_.Clear();
    recentValid_ = false;
    nextSeq_ = 0;
    latest_.reset();
    latestStale_ = false;
}

std::optional<OleDateTime> QsoLog::LatestValidTime() const {
    if (latestStale_) {
        latest_.reset();
        for (const std::vector<QsoRecord>& block : blocks_)
            for (const QsoRecord& r : block)
                if (OleDateIsLater(r.time, latest_.value_or(OleDateTime::Null()))) latest_ = r.time;
        latestStale_ = false;
    }
    return latest_;
}

std::size_t QsoLog::IndexOfSeq(std::uint32_t seq) const {
    // The first block whose last record is not before it, then within it.
    const auto block = std::lower_bound(blocks_.begin(), blocks_.end(), seq,
                                        [](const std::vector<QsoRecord>& b, std::uint32_t s) { return b.back().seq < s; });
    if (block == blocks_.end()) return count_;
    const auto it = std::lower_bound(block->begin(), block->end(), seq,
                                     [](const QsoRecord& r, std::uint32_t s) { return r.seq < s; });
    const std::size_t b = static_cast<std::size_t>(block - blocks_.begin());
    return starts_[b] + static_cast<std::size_t>(it - block->begin());
}

const QsoLog::Group* QsoLog::FindGroup(std::string_view call, std::string_view band, std::string_view mode) const {
    const auto c = pool_.Find(call), b = pool_.Find(band), m = pool_.Find(mode);
    if (!c || !b || !m) return nullptr;
    return groups_.Find(GroupKey{*c, *b, *m});
}

std::size_t QsoLog::CountSame(std::string_view call, std::string_view band, std::string_view mode) const {
    const Group* group = FindGroup(call, band, mode);
    return group ? group->count : 0;
}

std::vector<std::size_t> QsoLog::IndexesOfSame(std::string_view call, std::string_view band,
                                               std::string_view mode) const {
    std::vector<std::size_t> indexes;
    if (const Group* group = FindGroup(call, band, mode)) {
        indexes.reserve(group->count);
        for (std::uint32_t seq = group->first; seq != kNoSeq;) {
            indexes.push_back(IndexOfSeq(seq));
            seq = Record(indexes.back()).nextSame;
        }
    }
    return indexes;
}

bool QsoLog::HasCallOnBand(std::string_view call, std::string_view band) const {
    const auto c = pool_.Find(call), b = pool_.Find(band);
    if (!c || !b) return false;
    return std::any_of(modes_.begin(), modes_.end(), [&](Id mode) { return groups_.Find(GroupKey{*c, *b, mode}) != nullptr; });
}
bool QsoLog::HasPrefix(std::string_view prefix) const {
    const auto p = prefixNumbers_.Find(prefix);
    return p && *p < prefixCount_.Size() && prefixCount_[*p] != 0;
}

std::string RejectedQsos::Key(std::string_view call, std::string_view band, std::string_view mode) {
    // The host's texts end at a NUL, so none of them holds one.
    std::string key;
    key.reserve(call.size() + band.size() + mode.size() + 2);
    key.append(call).append(1, '\0').append(band).append(1, '\0').append(mode);
    return key;
}

void RejectedQsos::Add(std::string_view call, std::string_view band, std::string_view mode, const OleDateTime& time) {
    keys_.push_back(Key(call, band, mode));
    times_.push_back(time);
}

bool RejectedQsos::Remove(std::string_view call, std::string_view band, std::string_view mode,
                          const OleDateTime& time) {
    const std::string key = Key(call, band, mode);
    for (std::size_t i = 0; i < keys_.size(); ++i) {
        if (keys_[i] != key || !OleDatesEqual(times_[i], time)) continue;
        keys_.erase(keys_.begin() + static_cast<std::ptrdiff_t>(i));
        times_.erase(times_.begin() + static_cast<std::ptrdiff_t>(i));
        return true;
    }
    return false;
}

void RejectedQsos::Clear() {
    std::vector<std::string>().swap(keys_);
    std::vector<OleDateTime>().swap(times_);
}

}  // namespace stats
