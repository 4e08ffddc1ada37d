// The save record: writing the saved values in their fixed order, and reading them back with
// every check a damaged or altered file must fail.
#include "io/save_record.h"

#include <cstdint>
#include <limits>

#include "io/cp932.h"

namespace vern {

namespace {

enum TypeCode : std::uint16_t { kInt16 = 2, kLong = 3, kByte = 17 };

constexpr long long kLongMin = std::numeric_limits<Long>::min();
constexpr long long kLongMax = std::numeric_limits<Long>::max();

// Highest wish id (0..15), and the highest sought wish (1..10, 0 when none is left).
constexpr int kLastWish = 15;
constexpr int kLastSoughtWish = 10;

void PutLE(std::string& out, std::uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

class Writer {
  public:
    void Marker() { out_.append(kSaveMarker); }

    // A tagged number, counted in the checksum.
    void Put(TypeCode code, long long v) {
        sum_ += v;
        if (sum_ < kLongMin || sum_ > kLongMax) throw RecordError::SumOverflow;
        PutLE(out_, code, 2);
        const int width = code == kByte ? 1 : code == kInt16 ? 2 : 4;
        PutLE(out_, static_cast<std::uint32_t>(v), width);
    }
    void Put(Byte v) { Put(kByte, v); }
    void Put(Int16 v) { Put(kInt16, v); }
    void Put(Long v) { Put(kLong, v); }

    // Cut or padded to ten characters, in CP932, padded to the field's bytes.
    void Name(const std::string& name) {
        std::string text = FirstChars(name, kNameChars);
        text.append(kNameChars - CharCount(text), ' ');
        auto bytes = EncodeCp932(text);
        if (!bytes || bytes->size() > kNameFieldBytes) throw RecordError::NameNotEncodable;
        bytes->append(kNameFieldBytes - bytes->size(), ' ');
        out_ += *bytes;
    }

    std::string Finish() {
        PutLE(out_, static_cast<std::uint32_t>(static_cast<Long>(sum_)), 4);
        return std::move(out_);
    }

  private:
    std::string out_;
    long long sum_ = 0;
};

class Reader {
  public:
    explicit Reader(std::string_view bytes) : in_(bytes) {}

    bool Marker() {
        if (in_.substr(0, kSaveMarker.size()) != kSaveMarker) return false;
        pos_ = kSaveMarker.size();
        return true;
    }

    // One tagged number, converted to T and counted in the checksum.
    template <typename T> T Get() {
        long long v = 0;
        switch (Unsigned(2)) {
        case kInt16: v = static_cast<std::int16_t>(Unsigned(2)); break;
        case kLong: v = static_cast<std::int32_t>(Unsigned(4)); break;
        case kByte: v = static_cast<std::uint8_t>(Unsigned(1)); break;
        default: throw RecordError::UnknownType;
        }
        if (v < std::numeric_limits<T>::min() || v > std::numeric_limits<T>::max())
            throw RecordError::Overflow;
        sum_ += v;
        if (sum_ < kLongMin || sum_ > kLongMax) throw RecordError::Overflow;
        return static_cast<T>(v);
    }

    // A name field without its trailing half-width spaces.
    std::string Name() {
        const std::string_view field = Take(kNameFieldBytes);
        auto text = DecodeCp932(std::string(field));
        if (!text) throw RecordError::BadName;
        const std::size_t end = text->find_last_not_of(' ');
        text->resize(end == std::string::npos ? 0 : end + 1);
        if (CharCount(*text) > kNameChars) throw RecordError::BadName;
        return *text;
    }

    Long Checksum() {
        const auto stored = static_cast<std::int32_t>(Unsigned(4));
        if (stored != sum_) throw RecordError::ChecksumMismatch;
        return stored;
    }

  private:
    std::string_view Take(std::size_t n) {
        if (in_.size() - pos_ < n) throw RecordError::Truncated;
        const std::string_view part = in_.substr(pos_, n);
        pos_ += n;
        return part;
    }
    std::uint32_t Unsigned(int bytes) {
        const std::string_view part = Take(static_cast<std::size_t>(bytes));
        std::uint32_t v = 0;
        for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(part[i]);
        return v;
    }

    std::string_view in_;
    std::size_t pos_ = 0;
    long long sum_ = 0;
};

// Values that the game never holds and that would break it later: the name number picks
// CharName(NameNo - 1), wishes index the wish tables, the sought wish indexes WishKnown, and
// a negative maximum HP has no meaning (the game keeps it at 0 or above).
void CheckRanges(const SaveRecord& r) {
    if (r.NameNo < 1 || r.NameNo > 10) throw RecordError::OutOfRange;
    for (int i = 0; i <= 4; ++i) {
        if (r.Party[i].UnitWish > kLastWish) throw RecordError::OutOfRange;
        if (r.Party[i].UnitMaxHP < 0) throw RecordError::OutOfRange;
    }
    if (r.NextWish > kLastSoughtWish) throw RecordError::OutOfRange;
}

} // namespace

bool IsTampered(RecordError e) {
    switch (e) {
    case RecordError::Truncated:
    case RecordError::UnknownType:
    case RecordError::Overflow:
    case RecordError::ChecksumMismatch:
    case RecordError::OutOfRange:
    case RecordError::BadName: return true;
    default: return false;
    }
}

const char* RecordErrorName(RecordError e) {
    switch (e) {
    case RecordError::NotSaveFile: return "NotSaveFile";
    case RecordError::Truncated: return "Truncated";
    case RecordError::UnknownType: return "UnknownType";
    case RecordError::Overflow: return "Overflow";
    case RecordError::ChecksumMismatch: return "ChecksumMismatch";
    case RecordError::OutOfRange: return "OutOfRange";
    case RecordError::BadName: return "BadName";
    case RecordError::NameNotEncodable: return "NameNotEncodable";
    case RecordError::SumOverflow: return "SumOverflow";
    }
    return "?";
}

Long SavedMaxHP(int slot, Int16 kind, Long maxHP) {
    if (maxHP < 10000 || (slot != 0 && kind > 1)) return maxHP;
    return 9999;
}

std::variant<std::string, RecordError> WriteSaveRecord(const SaveRecord& r) {
    try {
        Writer w;
        w.Marker();
        w.Put(r.SceneNo);
        w.Put(r.StoryStep);
        w.Put(r.NameNo);
        for (int k = 0; k <= 9; ++k) w.Name(r.CharName[k]);
        for (int i = 0; i <= 4; ++i) {
            const SavedUnit& u = r.Party[i];
            w.Name(u.UnitName);
            w.Put(u.UnitAttr);
            w.Put(u.UnitKind);
            const Long maxHP = SavedMaxHP(i, u.UnitKind, u.UnitMaxHP);
            if (maxHP == u.UnitMaxHP)
                w.Put(maxHP);
            else
                w.Put(static_cast<Int16>(maxHP));
            w.Put(u.UnitWish);
        }
        for (int k = 1; k <= 12; ++k) w.Put(r.WishKnown[k]);
        w.Put(r.NextWish);
        w.Put(r.TopRaceBeaten);
        for (int k = 1; k <= 6; ++k) w.Put(r.ControlledRace[k]);
        for (int k = 1; k <= 15; ++k) w.Put(r.PactWish[k]);
        return w.Finish();
    } catch (RecordError e) {
        return e;
    }
}

Long WrittenChecksum(std::string_view record) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < 4 && i < record.size(); ++i)
        v = (v << 8) | static_cast<unsigned char>(record[record.size() - 1 - i]);
    return static_cast<Long>(v);
}

std::variant<SaveRecord, RecordError> ReadSaveRecord(std::string_view bytes) {
    Reader in(bytes);
    if (!in.Marker()) return RecordError::NotSaveFile;
    try {
        SaveRecord r;
        r.SceneNo = in.Get<Int16>();
        r.StoryStep = in.Get<Int16>();
        r.NameNo = in.Get<Byte>();
        for (int k = 0; k <= 9; ++k) r.CharName[k] = in.Name();
        for (int i = 0; i <= 4; ++i) {
            SavedUnit& u = r.Party[i];
            u.UnitName = in.Name();
            u.UnitAttr = in.Get<Byte>();
            u.UnitKind = in.Get<Int16>();
            u.UnitMaxHP = in.Get<Long>();
            u.UnitWish = in.Get<Byte>();
        }
        for (int k = 1; k <= 12; ++k) r.WishKnown[k] = in.Get<Byte>();
        r.NextWish = in.Get<Byte>();
        r.TopRaceBeaten = in.Get<Byte>();
        for (int k = 1; k <= 6; ++k) r.ControlledRace[k] = in.Get<Byte>();
        for (int k = 1; k <= 15; ++k) r.PactWish[k] = in.Get<Byte>();
        r.Checksum = in.Checksum();
        CheckRanges(r);
        return r;
    } catch (RecordError e) {
        return e;
    }
}

} // namespace vern
