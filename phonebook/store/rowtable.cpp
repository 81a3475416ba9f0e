#include "phonebook/store/rowtable.h"

#include "phonebook/store/storetexts.h"

#include <QStringDecoder>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <sys/mman.h>

namespace {
// Blocks are large and aligned to the size of a huge page, and the kernel is asked to
// back them with huge pages: reading a million contacts otherwise spends a good part
// of its time faulting in their memory 4 KiB at a time.
constexpr size_t hugePageBytes = size_t{2} << 20;
constexpr size_t blockBytes = size_t{4} << 20;

// A value is its length plus one as a variable-length number (7 bits a byte, low
// bits first), then its bytes; no value is a single 0.
size_t encodedLength(size_t length) {
    size_t bytes = 1;
    for (size_t n = (length + 1) >> 7; n != 0; n >>= 7)
        ++bytes;
    return bytes + length;
}

unsigned char *encode(unsigned char *out, const std::optional<std::string_view> &value) {
    if (!value) {
        *out++ = 0;
        return out;
    }
    size_t n = value->size() + 1;
    while (n >= 0x80) {
        *out++ = static_cast<unsigned char>(n | 0x80);
        n >>= 7;
    }
    *out++ = static_cast<unsigned char>(n);
    if (!value->empty())
        std::memcpy(out, value->data(), value->size());
    return out + value->size();
}

// Reads one value and returns where the next one starts.
const unsigned char *decode(const unsigned char *in, std::optional<std::string_view> &value) {
    size_t n = 0;
    int shift = 0;
    unsigned char byte = 0;
    do {
        byte = *in++;
        n |= size_t{byte & 0x7Fu} << shift;
        shift += 7;
    } while (byte & 0x80);
    if (n == 0) {
        value.reset();
        return in;
    }
    value = std::string_view(reinterpret_cast<const char *>(in), n - 1);
    return in + n - 1;
}

} // namespace

Value toValue(const std::optional<std::string_view> &bytes) {
    if (!bytes)
        return std::nullopt;
    const QByteArrayView view(bytes->data(), static_cast<qsizetype>(bytes->size()));
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(view);
    if (utf8.hasError())
        return QString::fromLatin1(view);
    // The decoder drops a U+FEFF at the start, and the value would no longer be the one
    // the database holds.
    if (bytes->starts_with("\xEF\xBB\xBF"))
        text.prepend(QChar(0xFEFF));
    return text;
}

void RowTable::FreeBlock::operator()(unsigned char *block) const {
    std::free(block);
}

unsigned char *RowTable::reserve(size_t bytes) {
    if (bytes > freeBytes_) {
        const size_t size =
            (std::max(bytes, blockBytes) + hugePageBytes - 1) / hugePageBytes * hugePageBytes;
        auto *block = static_cast<unsigned char *>(std::aligned_alloc(hugePageBytes, size));
        if (!block)
            throw std::bad_alloc();
        madvise(block, size, MADV_HUGEPAGE);
        blocks_.emplace_back(block);
        free_ = block;
        freeBytes_ = size;
    }
    unsigned char *start = free_;
    free_ += bytes;
    freeBytes_ -= bytes;
    return start;
}

template <typename Text>
const unsigned char *RowTable::encodeRow(uint32_t identity,
                                         const std::array<Text, fieldCount> &values) {
    size_t bytes = sizeof identity;
    for (const auto &value : values)
        bytes += value ? encodedLength(value->size()) : 1;
    unsigned char *start = reserve(bytes);
    std::memcpy(start, &identity, sizeof identity);
    unsigned char *out = start + sizeof identity;
    for (const auto &value : values)
        out = encode(out, value ? std::optional<std::string_view>(std::string_view(*value))
                                : std::nullopt);
    return start;
}

template <typename Text>
const unsigned char *RowTable::encodeLimited(uint32_t identity,
                                             const std::array<Text, fieldCount> &values) {
    cut_.erase(identity);
    const bool tooLong =
        valueLimit_ > 0 && std::any_of(values.begin(), values.end(), [this](const Text &value) {
            return value && value->size() > valueLimit_;
        });
    if (!tooLong)
        return encodeRow(identity, values);
    // Cut where a character starts, so that the beginning is whole text, after a note.
    std::array<std::optional<std::string>, fieldCount> shown;
    for (size_t i = 0; i < values.size(); ++i) {
        if (!values[i])
            continue;
        const std::string_view whole(*values[i]);
        if (whole.size() <= valueLimit_) {
            shown[i] = std::string(whole);
            continue;
        }
        size_t end = valueLimit_;
        while (end > 0 && (static_cast<unsigned char>(whole[end]) & 0xC0) == 0x80)
            --end;
        shown[i] = StoreText::valueCut(qint64(whole.size())).toStdString() +
                   std::string(whole.substr(0, end)) + "\u2026";
    }
    cut_.insert(identity);
    return encodeRow(identity, shown);
}

size_t RowTable::append(const RawValues &values) {
    rows_.push_back(encodeLimited(nextIdentity_++, values));
    return rows_.size() - 1;
}

bool RowTable::isCut(size_t index) const {
    return !cut_.empty() && cut_.contains(identity(index));
}

uint32_t RowTable::identity(size_t index) const {
    uint32_t identity = 0;
    std::memcpy(&identity, rows_[index], sizeof identity);
    return identity;
}

StoredValues toStored(const Values &values) {
    StoredValues bytes;
    for (int i = 0; i < fieldCount; ++i) {
        if (values[i])
            bytes[i] = values[i]->toStdString();
    }
    return bytes;
}

size_t RowTable::append(const Values &values) {
    rows_.push_back(encodeLimited(nextIdentity_++, toStored(values)));
    return rows_.size() - 1;
}

void RowTable::replace(size_t index, const StoredValues &values) {
    // The new text goes to the end of the blocks; the row keeps its place and identity.
    rows_[index] = encodeLimited(identity(index), values);
}

void RowTable::remove(size_t index) {
    cut_.erase(identity(index));
    rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(index));
}

void RowTable::clear() {
    cut_.clear();
    rows_.clear();
    rows_.shrink_to_fit();
    blocks_.clear();
    free_ = nullptr;
    freeBytes_ = 0;
}

Values RowTable::values(size_t index) const {
    Values result;
    const unsigned char *in = rows_[index] + sizeof(uint32_t);
    std::optional<std::string_view> bytes;
    for (Value &value : result) {
        in = decode(in, bytes);
        value = toValue(bytes);
    }
    return result;
}

RowTable::RawValues RowTable::raw(size_t index) const {
    RawValues result;
    const unsigned char *in = rows_[index] + sizeof(uint32_t);
    for (auto &bytes : result)
        in = decode(in, bytes);
    return result;
}

Value RowTable::value(size_t index, int field) const {
    const unsigned char *in = rows_[index] + sizeof(uint32_t);
    std::optional<std::string_view> bytes;
    for (int i = 0; i <= field; ++i)
        in = decode(in, bytes);
    return toValue(bytes);
}

std::optional<size_t> RowTable::indexOf(uint32_t identity) const {
    // Identities grow in row order: rows are only appended or removed.
    size_t low = 0;
    size_t high = rows_.size();
    while (low < high) {
        const size_t middle = low + (high - low) / 2;
        if (this->identity(middle) < identity)
            low = middle + 1;
        else
            high = middle;
    }
    if (low == rows_.size() || this->identity(low) != identity)
        return std::nullopt;
    return low;
}
