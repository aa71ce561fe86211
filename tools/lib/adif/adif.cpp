#include "adif.h"

#include <algorithm>

#include "text.h"

namespace tools::adif {

namespace {

// A tag names a field without a length only for its markers.
constexpr std::size_t kLongestTag = 512;

}  // namespace

const std::string* Record::Find(std::string_view name) const {
    for (const Field& f : fields)
        if (f.name == name) return &f.value;
    return nullptr;
}

FormatError::FormatError(const std::string& file, std::size_t rec, const std::string& f, const std::string& problem)
    : std::runtime_error(file + ": record " + std::to_string(rec) + (f.empty() ? "" : ", field " + f) + ": " + problem),
      record(rec),
      field(f) {}

Reader::Reader(std::string path) : path_(std::move(path)), buffer_(1 << 16) {
    file_ = std::fopen(path_.c_str(), "rb");
    if (file_ == nullptr) throw std::runtime_error(path_ + ": cannot open the file");
    if (std::fseek(file_, 0, SEEK_END) == 0) {
        const long size = std::ftell(file_);
        if (size > 0) size_ = static_cast<std::uint64_t>(size);
    }
    std::rewind(file_);
}

Reader::~Reader() {
    if (file_ != nullptr) std::fclose(file_);
}

int Reader::Get() {
    if (pos_ == end_) {
        end_ = std::fread(buffer_.data(), 1, buffer_.size(), file_);
        pos_ = 0;
        if (end_ == 0) return EOF;
    }
    ++consumed_;
    return static_cast<unsigned char>(buffer_[pos_++]);
}

void Reader::Fail(const std::string& field, const std::string& problem) const {
    throw FormatError(path_, record_, field, problem);
}

bool Reader::ReadTag(std::string& tag) {
    tag.clear();
    for (int c; (c = Get()) != EOF;) {
        if (c == '>') return true;
        if (c == '<') Fail("", "a \"<\" inside the tag <" + tag + "...");
        tag.push_back(static_cast<char>(c));
        if (tag.size() > kLongestTag) Fail("", "a tag without its \">\"");
    }
    Fail("", "the file ends inside the tag <" + tag);
}

bool Reader::Next(Record& record) {
    record.number = record_;
    record.fields.clear();
    std::string tag;
    for (int c; (c = Get()) != EOF;) {
        if (c != '<') continue;  // text between fields means nothing
        ReadTag(tag);
        const std::size_t colon = tag.find(':');
        const std::string name = UpperAscii(tag.substr(0, colon));
        if (name.empty()) Fail("", "a tag without a name: <" + tag + ">");
        if (colon == std::string::npos) {
            if (name == "EOR") {
                ++record_;
                return true;
            }
            if (name == "EOH") {
                // The header's own fields came first; the records start now.
                if (record_ != 1 || seenHeaderEnd_) Fail("", "an <EOH> after the header");
                seenHeaderEnd_ = true;
                record.fields.clear();
                continue;
            }
            Fail(name, "no length in <" + tag + ">");
        }
        const std::size_t typeColon = tag.find(':', colon + 1);
        const std::string length = tag.substr(colon + 1, typeColon == std::string::npos ? std::string::npos : typeColon - colon - 1);
        if (length.empty() || length.size() > 9 || length.find_first_not_of("0123456789") != std::string::npos)
            Fail(name, "the length \"" + length + "\" is not a number");
        const std::size_t n = std::stoul(length);
        std::string value;
        // A length is a claim until the value is read: room for no more than
        // the file still holds, so that a few bytes cannot ask for a gigabyte.
        value.reserve(static_cast<std::size_t>(std::min<std::uint64_t>(n, size_ > consumed_ ? size_ - consumed_ : 0)));
        for (std::size_t i = 0; i < n; ++i) {
            const int v = Get();
            if (v == EOF) Fail(name, "the value is cut short by the end of the file");
            value.push_back(static_cast<char>(v));
        }
        record.fields.push_back(Field{name, std::move(value)});
    }
    if (!record.fields.empty()) Fail("", "the file ends without the record's <EOR>");
    return false;
}

}  // namespace tools::adif
