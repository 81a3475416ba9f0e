#pragma once

#include "phonebook/store/phonebookcolumns.h"

#include <QString>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <unordered_set>
#include <vector>

// A value as the database hands it over, UTF-8 bytes or none, as text: exactly those
// characters, a U+FEFF at the start included. Bytes that are not UTF-8 (Latin-1 that a
// script wrote, a BLOB) are shown as Latin-1, each byte a character.
Value toValue(const std::optional<std::string_view> &bytes);

// A row as the database stores it: each value's bytes, or no value.
using StoredValues = std::array<std::optional<std::string>, fieldCount>;
// Values as UTF-8 bytes.
StoredValues toStored(const Values &values);

// The rows of a record set, packed: each row's eleven values are stored as UTF-8, one
// after the other with their lengths, in large blocks that never move. A million
// contacts cost little more than their text, and reading them in costs no allocation
// per value.
class RowTable {
public:
    // One row as the database hands it over: UTF-8 bytes, or no value.
    using RawValues = std::array<std::optional<std::string_view>, fieldCount>;

    // With a limit, a value longer than `valueLimit` bytes is kept as a note that says it
    // was cut and its beginning, and its row is marked as cut.
    explicit RowTable(size_t valueLimit = 0) : valueLimit_(valueLimit) {}

    size_t size() const { return rows_.size(); }
    bool empty() const { return rows_.empty(); }

    // Appends a row and returns its index. Each row gets an identity of its own, which
    // stays with it while rows before it are removed.
    size_t append(const RawValues &values);
    size_t append(const Values &values);
    void replace(size_t index, const StoredValues &values);
    void remove(size_t index);
    void clear();

    Values values(size_t index) const;
    // The row's values as the database handed them over, for finding the row there again
    // by exactly what it holds.
    RawValues raw(size_t index) const;
    Value value(size_t index, int field) const;
    uint32_t identity(size_t index) const;
    // Whether a value of the row was cut to the limit.
    bool isCut(size_t index) const;
    // The index of the row with this identity, if it is still here.
    std::optional<size_t> indexOf(uint32_t identity) const;

private:
    // A row is its identity (4 bytes), then its values; the table keeps a pointer to it.
    unsigned char *reserve(size_t bytes);
    template <typename Text>
    const unsigned char *encodeRow(uint32_t identity, const std::array<Text, fieldCount> &values);
    template <typename Text>
    const unsigned char *encodeLimited(uint32_t identity,
                                       const std::array<Text, fieldCount> &values);

    struct FreeBlock {
        void operator()(unsigned char *block) const;
    };
    std::vector<std::unique_ptr<unsigned char, FreeBlock>> blocks_;
    unsigned char *free_ = nullptr;
    size_t freeBytes_ = 0;
    std::vector<const unsigned char *> rows_;
    uint32_t nextIdentity_ = 1;
    size_t valueLimit_ = 0;
    std::unordered_set<uint32_t> cut_; // identities of the rows with a value cut
};
