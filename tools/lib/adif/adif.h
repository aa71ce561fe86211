// A streaming reader of ADIF files in their tagged form (.adi): an optional
// header ended by <EOH>, then records of <NAME:LENGTH[:TYPE]>value fields,
// each record ended by <EOR>. Reads one record at a time, so a log of any size
// costs only the record in hand. Text outside tags means nothing; the fields
// of the header (everything before <EOH>) are dropped.
#pragma once

#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tools::adif {

struct Field {
    std::string name;  // in capitals: ADIF names ignore case
    std::string value;
};

struct Record {
    std::size_t number = 0;  // 1 for the first record after the header
    std::vector<Field> fields;

    // The value of a field by its name in capitals, or null when absent.
    const std::string* Find(std::string_view name) const;
};

// Input that is not ADIF. what() reads "FILE: record N[, field F]: problem".
class FormatError : public std::runtime_error {
public:
    FormatError(const std::string& file, std::size_t record, const std::string& field, const std::string& problem);
    std::size_t record;
    std::string field;  // empty when the fault is not in one field
};

class Reader {
public:
    // Throws std::runtime_error when the file cannot be opened.
    explicit Reader(std::string path);
    ~Reader();
    Reader(const Reader&) = delete;
    Reader& operator=(const Reader&) = delete;

    // The next record; false after the last one. Throws FormatError.
    bool Next(Record& record);

    const std::string& Path() const { return path_; }
    std::uint64_t BytesRead() const { return consumed_; }
    std::uint64_t FileSize() const { return size_; }

private:
    int Get();
    // Reads a tag after its "<": the text up to ">".
    bool ReadTag(std::string& tag);
    [[noreturn]] void Fail(const std::string& field, const std::string& problem) const;

    std::string path_;
    std::FILE* file_ = nullptr;
    std::vector<char> buffer_;
    std::size_t pos_ = 0, end_ = 0;
    std::uint64_t consumed_ = 0, size_ = 0;
    std::size_t record_ = 1;
    bool seenHeaderEnd_ = false;
};

}  // namespace tools::adif
