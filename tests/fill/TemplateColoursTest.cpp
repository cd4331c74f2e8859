#include "fill/TemplateColours.h"

#include "fill/FieldKind.h"

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace slidesmith::fill {
namespace {

constexpr RgbColour kBlack = 0x000000;
constexpr RgbColour kRed = 0xFF0000;
constexpr RgbColour kBlue = 0x0000FF;
constexpr RgbColour kMixed = 0xFFFFFFFF; // what a text range of several colours reports

// A template text whose character i has colour perCharacter[i]; a range reports its colour
// when all its characters share it.
ColourOfCharacters Colours(std::vector<RgbColour> perCharacter) {
    return [perCharacter](std::size_t start, std::size_t length) {
        if (start >= perCharacter.size()) {
            return kMixed;
        }
        const std::size_t end =
            std::min(perCharacter.size(), start + std::max<std::size_t>(length, 1));
        for (std::size_t i = start; i < end; ++i) {
            if (perCharacter[i] != perCharacter[start]) {
                return kMixed;
            }
        }
        return perCharacter[start];
    };
}

TEST(ReadTemplateColors, EachSectionGivesTheColourOfItsOwnCharacters) {
    // 0;(0);-  with the middle section red and the last blue
    const std::vector<RgbColour> sections{kBlack, kBlack, kRed, kRed, kRed, kBlack, kBlue};
    const TemplateColours colours = ReadTemplateColors("0;(0);-", Colours(sections));
    EXPECT_EQ(colours.negative, kRed);
    EXPECT_EQ(colours.zero, kBlue);
    EXPECT_EQ(colours.positive, kMixed) << "the positive colour is the whole text's";

    EXPECT_EQ(ReadTemplateColors("#,##0.00", Colours(std::vector<RgbColour>(8, kBlue))),
              (TemplateColours{kBlue, kBlue, kBlue}));
    EXPECT_EQ(ReadTemplateColors("0;(0)", Colours({kBlack, kBlack, kRed, kRed, kRed})),
              (TemplateColours{kMixed, kRed, kMixed}))
        << "without a zero section the zero colour is the positive one";
}

TEST(ReadTemplateColors, EscapedAndQuotedSeparatorsDoNotCount) {
    EXPECT_EQ(ReadTemplateColors("0\\;0", Colours({kRed, kRed, kRed, kRed})),
              (TemplateColours{kRed, kRed, kRed}));
    // "a;b" in quotes is text, as it is for Format; the section starts at the real separator.
    const std::vector<RgbColour> quoted{kBlack, kBlack, kBlack, kBlack,
                                        kBlack, kBlack, kBlack, kRed};
    EXPECT_EQ(ReadTemplateColors("\"a;b\"0;0", Colours(quoted)).negative, kRed);
}

TEST(ReadTemplateColors, PartsAreAddressedByByteOffsetsAfterTheirSeparators) {
    std::vector<std::pair<std::size_t, std::size_t>> asked;
    const ColourOfCharacters record = [&](std::size_t start, std::size_t length) {
        asked.emplace_back(start, length);
        return kBlack;
    };
    ReadTemplateColors("€0;(€0);–", record); // 9 characters, 15 bytes
    EXPECT_EQ(asked, (std::vector<std::pair<std::size_t, std::size_t>>{{0, 15}, {5, 6}, {12, 3}}));
    asked.clear();
    ReadTemplateColors("0;", record);
    EXPECT_EQ(asked, (std::vector<std::pair<std::size_t, std::size_t>>{{0, 2}, {2, 0}}));
    asked.clear();
    ReadTemplateColors("\\€;0", record); // an escaped multi-byte character is skipped whole
    EXPECT_EQ(asked, (std::vector<std::pair<std::size_t, std::size_t>>{{0, 6}, {5, 1}}));
}

TEST(ChooseCellColour, FixedTablesWriteOnlyColoursThatDiffer) {
    const TemplateColours colours{kBlack, kRed, kBlue};
    const auto choose = [&](const odbc::FieldValue& value, const TemplateColours& c) {
        return ChooseCellColour(value, ValueKind::Number, c, FillKind::Fixed);
    };
    EXPECT_EQ(choose(odbc::FieldValue::FromInteger(5), colours), std::nullopt);
    EXPECT_EQ(choose(odbc::FieldValue::FromInteger(-5), colours), kRed);
    EXPECT_EQ(choose(odbc::FieldValue::FromDouble(0.0), colours), kBlue);
    EXPECT_EQ(choose(odbc::FieldValue::FromDecimal("-0.000", 3), colours), kBlue);
    EXPECT_EQ(choose(odbc::FieldValue::FromDecimal("-0.001", 3), colours), kRed);
    EXPECT_EQ(choose(odbc::FieldValue::FromText("-3"), colours), kRed);
    const TemplateColours plain{kBlack, kBlack, kBlack};
    EXPECT_EQ(choose(odbc::FieldValue::FromInteger(-5), plain), std::nullopt);
    EXPECT_EQ(choose(odbc::FieldValue::FromInteger(0), plain), std::nullopt);
}

TEST(ChooseCellColour, GrowingTablesAlwaysWriteTheColourOfTheSign) {
    const TemplateColours colours{kBlack, kRed, kBlue};
    const auto choose = [&](const odbc::FieldValue& value) {
        return ChooseCellColour(value, ValueKind::Number, colours, FillKind::Growing);
    };
    EXPECT_EQ(choose(odbc::FieldValue::FromInteger(5)), kBlack);
    EXPECT_EQ(choose(odbc::FieldValue::FromDouble(-0.5)), kRed);
    EXPECT_EQ(choose(odbc::FieldValue::FromInteger(0)), kBlue);
}

TEST(ChooseCellColour, KeepsTheColourOfOtherKindsNullsAndNonNumbers) {
    const TemplateColours colours{kBlack, kRed, kBlue};
    for (const FillKind fill : {FillKind::Fixed, FillKind::Growing}) {
        EXPECT_EQ(
            ChooseCellColour(odbc::FieldValue::FromInteger(-5), ValueKind::Text, colours, fill),
            std::nullopt);
        EXPECT_EQ(
            ChooseCellColour(odbc::FieldValue::FromInteger(-5), ValueKind::Date, colours, fill),
            std::nullopt);
        EXPECT_EQ(ChooseCellColour(odbc::FieldValue(), ValueKind::Number, colours, fill),
                  std::nullopt);
        EXPECT_EQ(
            ChooseCellColour(odbc::FieldValue::FromText("n/a"), ValueKind::Number, colours, fill),
            std::nullopt);
        EXPECT_EQ(ChooseCellColour(odbc::FieldValue::FromDouble(std::nan("")), ValueKind::Number,
                                   colours, fill),
                  std::nullopt);
    }
}

TEST(ClassifyField, MapsTheClassicTypeCodesToTheirKinds) {
    for (int code : {2, 3, 4, 5, 6, 14, 16, 17, 18, 19, 20, 21, 131, 139}) {
        EXPECT_EQ(ClassifyField(code), ValueKind::Number) << code;
    }
    for (int code : {8, 128, 129, 130, 136, 200, 201, 202, 203, 204, 205}) {
        EXPECT_EQ(ClassifyField(code), ValueKind::Text) << code;
    }
    for (int code : {7, 133}) {
        EXPECT_EQ(ClassifyField(code), ValueKind::Date) << code;
    }
    for (int code : {0, 1, 11, 12, 72, 132, 134, 135, 206, -1}) {
        EXPECT_EQ(ClassifyField(code), ValueKind::Other) << code;
    }
}

} // namespace
} // namespace slidesmith::fill
