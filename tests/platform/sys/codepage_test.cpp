#include "platform/sys/codepage.h"
#include "support/test_env.h"

#include <fstream>
#include <gtest/gtest.h>

namespace {

using sys::EncodingError;

const std::string hungarianLetters = "áéíóöőúüűÁÉÍÓÖŐÚÜŰ";

std::string errorOf(const std::string& utf8, int codePage) {
    try {
        sys::fromUtf8(utf8, codePage);
    } catch (const EncodingError& e) {
        return e.what();
    }
    return "no error";
}

TEST(CodePage, HungarianLettersRoundTripIn1250And852) {
    const std::string in1250 =
        "\xE1\xE9\xED\xF3\xF6\xF5\xFA\xFC\xFB\xC1\xC9\xCD\xD3\xD6\xD5\xDA\xDC\xDB";
    const std::string in852 =
        "\xA0\x82\xA1\xA2\x94\x8B\xA3\x81\xFB\xB5\x90\xD6\xE0\x99\x8A\xE9\x9A\xEB";
    EXPECT_EQ(sys::fromUtf8(hungarianLetters, 1250), in1250);
    EXPECT_EQ(sys::fromUtf8(hungarianLetters, 852), in852);
    EXPECT_EQ(sys::toUtf8(in1250, 1250), hungarianLetters);
    EXPECT_EQ(sys::toUtf8(in852, 852), hungarianLetters);
    EXPECT_EQ(sys::fromUtf8("", 1250), "");
    EXPECT_EQ(sys::toUtf8("", 852), "");
}

TEST(CodePage, LongTextCrossesTheConversionBuffer) {
    std::string text;
    for (int i = 0; i < 1000; ++i)
        text += "árvíztűrő ";
    const std::string bytes = sys::fromUtf8(text, 1250);
    EXPECT_EQ(bytes.size(), 10000u);
    EXPECT_EQ(sys::toUtf8(bytes, 1250), text);
}

TEST(CodePage, EncodingIsTheOneAnIndependentParadoxWriterUses) {
    const std::string name = "ÁRVÍZTŰRŐ TÜKÖRFÚRÓGÉP";
    EXPECT_NE(
        testenv::readFile(testenv::fixture("generated/TESZT.DB")).find(sys::fromUtf8(name, 1250)),
        std::string::npos);
    EXPECT_NE(
        testenv::readFile(testenv::fixture("generated/T852.DB")).find(sys::fromUtf8(name, 852)),
        std::string::npos);
}

TEST(CodePage, FileWrittenIn1250ReadsBack) {
    const std::string text = "Gázolaj 12,5 l € „idézet”\r\n" + hungarianLetters;
    {
        std::ofstream out("adat.imp", std::ios::binary);
        out << sys::fromUtf8(text, 1250);
    }
    const std::string bytes = testenv::readFile("adat.imp");
    EXPECT_EQ(bytes.size(), 45u);
    EXPECT_EQ(sys::toUtf8(bytes, 1250), text);
}

TEST(CodePage, MissingCharactersAreNamed) {
    EXPECT_EQ(sys::fromUtf8("€", 1250), "\x80");
    EXPECT_EQ(errorOf("ár: 5 €", 852),
              "A(z) '€' (U+20AC) karakter nem tárolható a(z) CP852 kódlapon.");
    EXPECT_EQ(errorOf("búza 中", 1250),
              "A(z) '中' (U+4E2D) karakter nem tárolható a(z) CP1250 kódlapon.");
    EXPECT_EQ(errorOf("中", 852), "A(z) '中' (U+4E2D) karakter nem tárolható a(z) CP852 kódlapon.");
    EXPECT_EQ(errorOf("ő", 1252), "A(z) 'ő' (U+0151) karakter nem tárolható a(z) CP1252 kódlapon.");
    EXPECT_EQ(errorOf("ab\xFF", 1250), "Hibás UTF-8 szöveg: 0xFF bájt a(z) 3. helyen.");
    EXPECT_EQ(errorOf("a\xC5", 1250), "Hibás UTF-8 szöveg: 0xC5 bájt a(z) 2. helyen.");
    EXPECT_EQ(errorOf("\xC0\x80", 1250), "Hibás UTF-8 szöveg: 0xC0 bájt a(z) 1. helyen.");
    EXPECT_EQ(errorOf("a", 12345), "Ismeretlen kódlap: 12345.");
    EXPECT_THROW(sys::toUtf8("a", 12345), EncodingError);
}

TEST(CodePage, UndefinedBytesBecomeReplacementCharacters) {
    EXPECT_EQ(sys::toUtf8("a\x81"
                          "b\x98",
                          1250),
              "a\xEF\xBF\xBD"
              "b\xEF\xBF\xBD");
}

TEST(CodePage, KnownCodePages) {
    for (const int codePage : {1250, 852, 437, 850, 1252, 0})
        EXPECT_TRUE(sys::isKnownCodePage(codePage)) << codePage;
    EXPECT_FALSE(sys::isKnownCodePage(12345));
    EXPECT_EQ(sys::toUtf8("\xC5", 0), "é"); // HP-Roman8
}

TEST(CodePage, TruncationKeepsWholeCharacters) {
    EXPECT_EQ(sys::truncateForCodePage("árvíztűrő", 1250, 4), "árví");
    EXPECT_EQ(sys::truncateForCodePage("árvíztűrő", 852, 9), "árvíztűrő");
    EXPECT_EQ(sys::truncateForCodePage("árvíztűrő", 852, 100), "árvíztűrő");
    EXPECT_EQ(sys::truncateForCodePage("őő", 1250, 1), "ő");
    EXPECT_EQ(sys::truncateForCodePage("ő", 1250, 0), "");
    EXPECT_EQ(sys::truncateForCodePage("", 1250, 5), "");
    EXPECT_EQ(sys::truncateForCodePage("a€b", 1250, 2), "a€");
    EXPECT_EQ(sys::truncateForCodePage("ab\xC5", 1250, 5), "ab\xC5"); // cut short already
    if (sys::isKnownCodePage(932)) {
        EXPECT_EQ(sys::truncateForCodePage("日本語", 932, 5), "日本");
        EXPECT_EQ(sys::truncateForCodePage("a日本", 932, 2), "a");
    }
}

} // namespace
