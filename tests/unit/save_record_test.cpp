// The save record on its own: the exact bytes, round trips, and every way a damaged, cut or
// altered file must be refused.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "io/save_record.h"

namespace vern::test {
namespace {

// Expected bytes, spelled out independently of the writer.
std::string LE(std::uint32_t v, int bytes) {
    std::string out;
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    return out;
}
std::string B(int v) {
    return std::string("\x11\x00", 2) + LE(v, 1);
}
std::string I(int v) {
    return std::string("\x02\x00", 2) + LE(static_cast<std::uint32_t>(v), 2);
}
std::string L(long long v) {
    return std::string("\x03\x00", 2) + LE(static_cast<std::uint32_t>(v), 4);
}
// A name field from its CP932 bytes and its character count.
std::string Field(const std::string& cp932, int chars) {
    std::string f = cp932 + std::string(10 - chars, ' ');
    return f + std::string(20 - f.size(), ' ');
}

// The record of a new game (after Start, before the party is made).
SaveRecord NewGame(Byte nextWish) {
    SaveRecord r;
    r.SceneNo = 1;
    r.StoryStep = 1;
    r.NameNo = 1;
    r.CharName[0] = "シザ";
    r.CharName[1] = "ララスピア";
    for (int i = 0; i <= 4; ++i) r.Party[i].UnitAttr = 2;
    r.NextWish = nextWish;
    return r;
}

// A record with something unusual in every field the game saves.
SaveRecord Played() {
    SaveRecord r;
    r.SceneNo = 37;
    r.StoryStep = 14;
    r.NameNo = 2;
    r.CharName[0] = "あいうえおかきくけこ";
    r.CharName[1] = "ﾗﾗ ｽﾋﾟｱ";
    r.CharName[2] = "  前に空白";
    r.CharName[9] = "abcdefghij";
    r.Party[0] = {"あいうえおかきくけこ", 2, 1, 9999, 11};
    r.Party[1] = {"カトラ", 0, 0, 57, 0};
    r.Party[2] = {"ベスラ", 2, 91, 12000, 6};
    r.Party[3] = {"ＡＢＣ　Ｄ", 1, 60, 1500000, 15};
    r.Party[4] = {"", 2, 2, 0, 0};
    r.WishKnown[3] = 2;
    r.WishKnown[11] = 1;
    r.NextWish = 10;
    r.TopRaceBeaten = 5;
    r.ControlledRace[2] = 1;
    r.PactWish[4] = 1;
    r.PactWish[15] = 1;
    return r;
}

std::string Write(const SaveRecord& r) {
    auto out = WriteSaveRecord(r);
    if (auto* e = std::get_if<RecordError>(&out)) {
        ADD_FAILURE() << "write failed: " << RecordErrorName(*e);
        return "";
    }
    return std::get<std::string>(out);
}

SaveRecord Read(const std::string& bytes) {
    auto in = ReadSaveRecord(bytes);
    if (auto* e = std::get_if<RecordError>(&in)) {
        ADD_FAILURE() << "read failed: " << RecordErrorName(*e);
        return {};
    }
    return std::get<SaveRecord>(in);
}

std::string ErrorOf(const std::string& bytes) {
    auto in = ReadSaveRecord(bytes);
    auto* e = std::get_if<RecordError>(&in);
    return e ? RecordErrorName(*e) : "accepted";
}

void ExpectSame(const SaveRecord& a, const SaveRecord& b) {
    EXPECT_EQ(a.SceneNo, b.SceneNo);
    EXPECT_EQ(a.StoryStep, b.StoryStep);
    EXPECT_EQ(a.NameNo, b.NameNo);
    for (int k = 0; k <= 9; ++k) EXPECT_EQ(a.CharName[k], b.CharName[k]) << "name " << k;
    for (int i = 0; i <= 4; ++i) {
        EXPECT_EQ(a.Party[i].UnitName, b.Party[i].UnitName) << "slot " << i;
        EXPECT_EQ(a.Party[i].UnitAttr, b.Party[i].UnitAttr) << "slot " << i;
        EXPECT_EQ(a.Party[i].UnitKind, b.Party[i].UnitKind) << "slot " << i;
        EXPECT_EQ(a.Party[i].UnitMaxHP, b.Party[i].UnitMaxHP) << "slot " << i;
        EXPECT_EQ(a.Party[i].UnitWish, b.Party[i].UnitWish) << "slot " << i;
    }
    for (int k = 1; k <= 12; ++k) EXPECT_EQ(a.WishKnown[k], b.WishKnown[k]);
    EXPECT_EQ(a.NextWish, b.NextWish);
    EXPECT_EQ(a.TopRaceBeaten, b.TopRaceBeaten);
    for (int k = 1; k <= 6; ++k) EXPECT_EQ(a.ControlledRace[k], b.ControlledRace[k]);
    for (int k = 1; k <= 15; ++k) EXPECT_EQ(a.PactWish[k], b.PactWish[k]);
}

// Walks a valid file: the offsets of every byte of a tagged number or of the checksum, and
// the place of each tagged number.
struct Layout {
    std::vector<std::size_t> numericBytes;
    std::vector<std::size_t> fields; // offset of each type code
    std::size_t checksum = 0;
};
Layout Walk(const std::string& bytes) {
    Layout out;
    std::size_t pos = 10;
    auto numbers = [&](int n) {
        for (int k = 0; k < n; ++k) {
            const int code = static_cast<unsigned char>(bytes[pos]);
            const std::size_t width = 2 + (code == 2 ? 2 : code == 3 ? 4 : 1);
            out.fields.push_back(pos);
            for (std::size_t b = 0; b < width; ++b) out.numericBytes.push_back(pos + b);
            pos += width;
        }
    };
    numbers(3);
    pos += 10 * 20;
    for (int i = 0; i < 5; ++i) {
        pos += 20;
        numbers(4);
    }
    numbers(12 + 1 + 1 + 6 + 15);
    out.checksum = pos;
    for (std::size_t b = 0; b < 4; ++b) out.numericBytes.push_back(pos + b);
    EXPECT_EQ(pos + 4, bytes.size());
    return out;
}

// Replaces the tagged number at `at` (of `oldWidth` bytes) and mends the checksum, so that
// only the new value itself can make the file fail.
std::string Retag(std::string bytes, std::size_t at, std::size_t oldWidth, const std::string& tag,
                  long long oldValue, long long newValue) {
    const Layout layout = Walk(bytes);
    std::uint32_t sum = 0;
    for (int k = 0; k < 4; ++k)
        sum |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[layout.checksum + k]))
               << (8 * k);
    sum = static_cast<std::uint32_t>(static_cast<long long>(static_cast<std::int32_t>(sum)) -
                                     oldValue + newValue);
    bytes.replace(layout.checksum, 4, LE(sum, 4));
    bytes.replace(at, oldWidth, tag);
    return bytes;
}

TEST(SaveRecord, ANewGameIsWrittenByteForByte) {
    const std::string bytes = Write(NewGame(7));
    std::string want = "Vern_saveD" + I(1) + I(1) + B(1);
    want += Field("\x83\x56\x83\x55", 2);                         // シザ
    want += Field("\x83\x89\x83\x89\x83\x58\x83\x73\x83\x41", 5); // ララスピア
    for (int k = 2; k <= 9; ++k) want += Field("", 0);
    for (int i = 0; i <= 4; ++i) want += Field("", 0) + B(2) + I(0) + L(0) + B(0);
    for (int k = 1; k <= 12; ++k) want += B(0);
    want += B(7) + B(0);
    for (int k = 1; k <= 21; ++k) want += B(0);
    want += LE(1 + 1 + 1 + 5 * 2 + 7, 4);
    EXPECT_EQ(bytes, want);
}

TEST(SaveRecord, MaximumHPAbove9999IsKeptOnlyForMembersOfAKindAbove1) {
    struct Case {
        int slot;
        Int16 kind;
        Long maxHP;
        std::string tagged;
    };
    const Case cases[] = {
        {0, 5, 12000, I(9999)}, {0, 1, 9999, L(9999)},   {1, 0, 10000, I(9999)},
        {1, 1, 10000, I(9999)}, {2, 5, 12000, L(12000)}, {4, 2, 1500000, L(1500000)},
        {3, 0, 9999, L(9999)},  {3, -1, 20000, I(9999)},
    };
    for (const Case& c : cases) {
        SaveRecord r = NewGame(1);
        r.Party[c.slot].UnitKind = c.kind;
        r.Party[c.slot].UnitMaxHP = c.maxHP;
        const std::string bytes = Write(r);
        const std::size_t at = Walk(bytes).fields[3 + c.slot * 4 + 2];
        EXPECT_EQ(bytes.substr(at, c.tagged.size()), c.tagged)
            << "slot " << c.slot << " kind " << c.kind << " maxHP " << c.maxHP;
        const SaveRecord back = Read(bytes);
        EXPECT_EQ(back.Party[c.slot].UnitMaxHP, SavedMaxHP(c.slot, c.kind, c.maxHP));
    }
}

TEST(SaveRecord, EverySavedValueComesBack) {
    ExpectSame(Read(Write(Played())), Played());
    ExpectSame(Read(Write(NewGame(3))), NewGame(3));
}

TEST(SaveRecord, NamesAreCutToTenCharactersAndLoseOnlyTrailingSpaces) {
    struct Case {
        const char* saved;
        const char* loaded;
    };
    const Case cases[] = {
        {"あいうえおかきくけこさし", "あいうえおかきくけこ"},
        {"ｱｲｳｴｵｶｷｸｹｺｻ", "ｱｲｳｴｵｶｷｸｹｺ"},
        {"   ", ""},
        {" 間 に 空白", " 間 に 空白"},
        {"全角　", "全角　"},
        {"末尾 ", "末尾"},
    };
    for (const Case& c : cases) {
        SaveRecord r = NewGame(1);
        r.CharName[4] = c.saved;
        r.Party[1].UnitName = c.saved;
        const SaveRecord back = Read(Write(r));
        EXPECT_EQ(back.CharName[4], c.loaded) << c.saved;
        EXPECT_EQ(back.Party[1].UnitName, c.loaded) << c.saved;
    }
}

TEST(SaveRecord, NamesWithoutACp932FormAndSumsBeyondALongAreNotWritten) {
    SaveRecord r = NewGame(1);
    r.CharName[3] = "絵文字😀";
    auto out = WriteSaveRecord(r);
    ASSERT_TRUE(std::holds_alternative<RecordError>(out));
    EXPECT_EQ(std::get<RecordError>(out), RecordError::NameNotEncodable);

    r = NewGame(1);
    for (int i = 1; i <= 4; ++i) {
        r.Party[i].UnitKind = 5;
        r.Party[i].UnitMaxHP = 999999999;
    }
    out = WriteSaveRecord(r);
    ASSERT_TRUE(std::holds_alternative<RecordError>(out));
    EXPECT_EQ(std::get<RecordError>(out), RecordError::SumOverflow);
}

TEST(SaveRecord, AnyOtherBeginningIsNotASaveAndTrailingBytesAreIgnored) {
    const std::string valid = Write(Played());
    for (const std::string& foreign :
         {std::string(), std::string("Vern_save"), std::string("vern_saveD") + valid.substr(10),
          std::string("セーブデータ\n"), std::string(600, '\0')})
        EXPECT_EQ(ErrorOf(foreign), "NotSaveFile") << foreign;
    ExpectSame(Read(valid + "older and longer file"), Read(valid));
}

TEST(SaveRecord, EveryCutBeforeTheChecksumsLastByteIsRefused) {
    const std::string valid = Write(Played());
    for (std::size_t n = 0; n < valid.size(); ++n)
        EXPECT_EQ(ErrorOf(valid.substr(0, n)), n < 10 ? "NotSaveFile" : "Truncated")
            << "cut to " << n << " bytes";
}

TEST(SaveRecord, EverySingleByteChangeInANumberIsTampering) {
    for (const SaveRecord& r : {Played(), NewGame(1)}) {
        const std::string valid = Write(r);
        const Layout layout = Walk(valid);
        for (std::size_t at : layout.numericBytes) {
            for (int v = 0; v <= 255; ++v) {
                if (v == static_cast<unsigned char>(valid[at])) continue;
                std::string bytes = valid;
                bytes[at] = static_cast<char>(v);
                auto in = ReadSaveRecord(bytes);
                ASSERT_TRUE(std::holds_alternative<RecordError>(in))
                    << "byte " << at << " set to " << v << " was accepted";
                ASSERT_TRUE(IsTampered(std::get<RecordError>(in)))
                    << "byte " << at << " set to " << v;
            }
        }
    }
}

TEST(SaveRecord, TypeCodesAreReadAsTheirTypeAndConvertedToTheField) {
    const std::string valid = Write(NewGame(1));
    const std::size_t nameNo = Walk(valid).fields[2]; // 11 00 01
    // Another readable type that fits the field is accepted.
    EXPECT_EQ(Read(Retag(valid, nameNo, 3, I(3), 1, 3)).NameNo, 3);
    EXPECT_EQ(Read(Retag(valid, nameNo, 3, L(4), 1, 4)).NameNo, 4);
    // A value too large or negative for a Byte is an overflow; unknown type codes are refused.
    EXPECT_EQ(ErrorOf(Retag(valid, nameNo, 3, L(300), 1, 300)), "Overflow");
    EXPECT_EQ(ErrorOf(Retag(valid, nameNo, 3, I(-1), 1, -1)), "Overflow");
    EXPECT_EQ(ErrorOf(Retag(valid, nameNo, 3, std::string("\x08\x00\x01", 3), 1, 1)),
              "UnknownType");
    EXPECT_EQ(ErrorOf(Retag(valid, nameNo, 3, std::string("\x11\x01\x01", 3), 1, 1)),
              "UnknownType");
    // A sum that leaves the Long range is an overflow, whatever the stored checksum says.
    const std::size_t sceneNo = Walk(valid).fields[0];
    const std::string big = L(2147483647);
    EXPECT_EQ(ErrorOf(Retag(Retag(valid, sceneNo, 4, big, 1, 0), sceneNo + 6, 4, big, 1, 0)),
              "Overflow");
}

TEST(SaveRecord, ValuesTheGameCannotHoldAreTamperingOthersAreKept) {
    struct Case {
        const char* what;
        void (*change)(SaveRecord&);
        const char* result;
    };
    const Case cases[] = {
        {"NameNo 0", [](SaveRecord& r) { r.NameNo = 0; }, "OutOfRange"},
        {"NameNo 11", [](SaveRecord& r) { r.NameNo = 11; }, "OutOfRange"},
        {"NameNo 200", [](SaveRecord& r) { r.NameNo = 200; }, "OutOfRange"},
        {"NameNo 10", [](SaveRecord& r) { r.NameNo = 10; }, "accepted"},
        {"wish 16", [](SaveRecord& r) { r.Party[3].UnitWish = 16; }, "OutOfRange"},
        {"wish 99", [](SaveRecord& r) { r.Party[0].UnitWish = 99; }, "OutOfRange"},
        {"wish 15", [](SaveRecord& r) { r.Party[4].UnitWish = 15; }, "accepted"},
        {"NextWish 11", [](SaveRecord& r) { r.NextWish = 11; }, "OutOfRange"},
        {"NextWish 0", [](SaveRecord& r) { r.NextWish = 0; }, "accepted"},
        {"maxHP -1", [](SaveRecord& r) { r.Party[1].UnitMaxHP = -1; }, "OutOfRange"},
        {"SceneNo -5", [](SaveRecord& r) { r.SceneNo = -5; }, "accepted"},
        {"SceneNo 32767", [](SaveRecord& r) { r.SceneNo = 32767; }, "accepted"},
        {"StoryStep -1", [](SaveRecord& r) { r.StoryStep = -1; }, "accepted"},
        {"kind -300", [](SaveRecord& r) { r.Party[2].UnitKind = -300; }, "accepted"},
        {"attr 255", [](SaveRecord& r) { r.Party[2].UnitAttr = 255; }, "accepted"},
        {"flags 255",
         [](SaveRecord& r) {
             r.WishKnown[12] = 255;
             r.ControlledRace[6] = 255;
             r.PactWish[1] = 255;
             r.TopRaceBeaten = 255;
         },
         "accepted"},
    };
    for (const Case& c : cases) {
        SaveRecord r = Played();
        c.change(r);
        EXPECT_EQ(ErrorOf(Write(r)), c.result) << c.what;
    }
}

TEST(SaveRecord, NameFieldsThatAreNotShortCp932TextAreTampering) {
    const std::string valid = Write(NewGame(1));
    const std::size_t third = 21 + 2 * 20;
    struct Case {
        std::string field;
        const char* result;
    };
    const Case cases[] = {
        {std::string(19, ' ') + "\x83", "BadName"},              // a lead byte cut off
        {"\x81\x20" + std::string(18, ' '), "BadName"},          // no such character
        {"\xA0" + std::string(19, ' '), "BadName"},              // unused byte
        {std::string(11, 'a') + std::string(9, ' '), "BadName"}, // more than ten characters
        {std::string(10, 'a') + std::string(10, ' '), "accepted"},
        {"\x82\xA0" + std::string(9, 'x') + std::string(9, ' '), "accepted"}, // あxxxxxxxxx
    };
    for (const Case& c : cases) {
        std::string bytes = valid;
        bytes.replace(third, 20, c.field);
        EXPECT_EQ(ErrorOf(bytes), c.result) << c.field;
    }
}

} // namespace
} // namespace vern::test
