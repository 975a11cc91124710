#include "vorn/foundation/strutils.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cmath>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "vorn/foundation/basics.h"
#include "vorn/foundation/bitfield.h"

namespace vorn {
namespace {

std::vector<std::string> Split(std::string_view s, std::string_view delims) {
  std::vector<std::string> items{"stale"};
  const int n = Tokenize(s, delims, items);
  EXPECT_EQ(n, static_cast<int>(items.size()));
  return items;
}

TEST(Tokenize, KeepsInnerEmptyItemsButNotATrailingOne) {
  using V = std::vector<std::string>;
  EXPECT_EQ(Split("a;b,c", ";,"), (V{"a", "b", "c"}));
  EXPECT_EQ(Split("a;;b", ";"), (V{"a", "", "b"}));
  EXPECT_EQ(Split(";a", ";"), (V{"", "a"}));
  EXPECT_EQ(Split("c:\\users\\", "\\"), (V{"c:", "users"}));
  EXPECT_EQ(Split("c:\\users", "\\"), (V{"c:", "users"}));
  EXPECT_EQ(Split("", ";"), V{});
  EXPECT_EQ(Split("abc", ""), (V{"abc"}));
}

TEST(ReadLnStream, AllLineEndsAndALastLineWithoutEnd) {
  std::istringstream in("one\r\ntwo\rthree\n\nfour");
  std::vector<std::string> lines;
  bool atEnd = false;
  while (!atEnd) lines.push_back(ReadLnStream(in, atEnd));
  EXPECT_EQ(lines, (std::vector<std::string>{"one", "two", "three", "", "four"}));

  std::istringstream trailing("a\r\n");
  EXPECT_EQ(ReadLnStream(trailing, atEnd), "a");
  EXPECT_TRUE(atEnd);

  std::istringstream empty("");
  EXPECT_EQ(ReadLnStream(empty, atEnd), "");
  EXPECT_TRUE(atEnd);

  std::istringstream longLine(std::string(20, 'x') + "\nnext");
  EXPECT_EQ(ReadLnStream(longLine, atEnd, 5), "xxxxx");
  EXPECT_EQ(ReadLnStream(longLine, atEnd, 5), "next");
}

TEST(ParentDir, PosixPathsUpToTheRoot) {
  EXPECT_EQ(ParentDir("/home/user/data"), "/home/user");
  EXPECT_EQ(ParentDir("/home/user/data/"), "/home/user");
  EXPECT_EQ(ParentDir("/home"), "/");
  EXPECT_EQ(ParentDir("/"), "/");
  EXPECT_EQ(ParentDir("//"), "/");
  EXPECT_EQ(ParentDir("a//b"), "a");
  EXPECT_EQ(ParentDir("name"), "");
  EXPECT_EQ(ParentDir(""), "");
}

TEST(DirExists, FoldersOnly) {
  const auto dir = std::filesystem::temp_directory_path();
  EXPECT_TRUE(DirExists(dir.string()));
  EXPECT_FALSE(DirExists((dir / "vorn-no-such-folder-42").string()));
  EXPECT_FALSE(DirExists(""));
}

TEST(StringHelpers, PaddingSearchingAndTrimming) {
  EXPECT_EQ(LeftString("ab", 4), "ab  ");
  EXPECT_EQ(LeftString("abcdef", 3), "abc");
  EXPECT_EQ(LeftString("äöü", 2), "äö");  // characters, not bytes
  EXPECT_EQ(LeftString("x", 0), "");

  EXPECT_EQ(NumberedPos("\"", "id=\"abc\" x", 1, 2), 8);
  EXPECT_EQ(NumberedPos("aa", "aaaa", 1, 2), 3);  // no overlap
  EXPECT_EQ(NumberedPos("a", "abca", 2, 1), 4);
  EXPECT_EQ(NumberedPos("X", "abx", 1, 1, true), 3);
  EXPECT_EQ(NumberedPos("a", "abc", 1, 2), 0);
  EXPECT_EQ(NumberedPos("a", "abc", 9, 1), 0);

  EXPECT_EQ(EnsureTrailingBkSlash("c:\\dir"), "c:\\dir\\");
  EXPECT_EQ(EnsureTrailingChar("a/", '/'), "a/");
  EXPECT_EQ(EnsureTrailingChar("", '/'), "/");
  EXPECT_EQ(StripLeadingChars("\\\\a\\b\\", "\\"), "a\\b\\");
  EXPECT_EQ(StripTrailingChars("\\a\\b\\\\", "\\"), "\\a\\b");
  EXPECT_EQ(StripTrailingChars("   ", " "), "");
  EXPECT_EQ(ReplaceCharInString("a/b/c", '/', '\\'), "a\\b\\c");
  EXPECT_EQ(RemoveControlChars("a\tb\r\nc\x7f" "ä"), "abcä");
  EXPECT_EQ(Utf8Prefix("aé", 2), "a");
  EXPECT_EQ(Utf8Length("aéz"), 3u);
  EXPECT_EQ(FoldCase("ÄÖÜ ABC Ωmega Жук"), "äöü abc ωmega жук");
}

TEST(Numbers, StrffAndParse) {
  EXPECT_EQ(strff(3.14159, 1, 2), "3.14");
  EXPECT_EQ(strff(7, 1, 0), "7");
  EXPECT_EQ(strff(-2.5, 8, 3), "  -2.500");
  EXPECT_EQ(strff(1234.5, 1, -1), "1.23450000000000E+03");
  EXPECT_EQ(strff(std::nan(""), 5, 2), "  NaN");

  double v = -1;
  EXPECT_TRUE(ParseDecimalNumber("  +1.5e2 ", v));
  EXPECT_EQ(v, 150);
  EXPECT_TRUE(ParseDecimalNumber(".5", v));
  EXPECT_EQ(v, 0.5);
  EXPECT_TRUE(ParseDecimalNumber("7.", v));
  EXPECT_EQ(v, 7);
  EXPECT_TRUE(ParseDecimalNumber("-1e999", v));
  EXPECT_EQ(v, -uc_MaxDouble);
  EXPECT_TRUE(ParseDecimalNumber("1e-999", v));
  EXPECT_EQ(v, 0);
  EXPECT_TRUE(ParseDecimalNumber("0.000000000000000000000001e-300", v));
  EXPECT_EQ(v, 0);
  v = 9;
  for (const char* bad : {"", ".", "1 2", "1,2,3", "e5", "1e+", "--1", "١"}) {
    EXPECT_FALSE(ParseDecimalNumber(bad, v)) << bad;
    EXPECT_EQ(v, 9);
  }
}

TEST(InventPassword, LettersAndDigitsOfTheAskedLength) {
  const std::string a = InventPassword(32);
  ASSERT_EQ(a.size(), 32u);
  for (char c : a) EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(c)));
  EXPECT_NE(a, InventPassword(32));
  EXPECT_EQ(InventPassword(0), "");
}

TEST(BitFld, OutsideReadsFalseAndIsNotWritten) {
  TBitFld bits(70);
  EXPECT_EQ(bits.FirstTrueBit(), -1);
  bits.SetBit(69, true);
  bits.SetBit(3, true);
  bits.SetBit(70, true);
  bits.SetBit(-1, true);
  EXPECT_FALSE(bits.GetBit(70));
  EXPECT_EQ(bits.CountTrueBits(), 2);
  EXPECT_EQ(bits.FirstTrueBit(), 3);
  bits.SetSize(65);  // bit 69 goes and must not come back
  bits.SetSize(80);
  EXPECT_FALSE(bits.GetBit(69));
  EXPECT_EQ(bits.CountTrueBits(), 1);
  bits.Clear();
  EXPECT_EQ(bits.FirstTrueBit(), -1);
}

TEST(Basics, TablesAndLogic) {
  EXPECT_STREQ(WeekDayShort[lgGerman][6], "So");
  EXPECT_STREQ(MonthShort[lgFrench][8], "août");
  EXPECT_STREQ(MonthLong[lgSpanish][9], "septiembre");
  EXPECT_STREQ(MonthLong[lgUndefined][1], "January");
  for (int lang = 0; lang < LanguageCount; ++lang)
    for (int m = 1; m <= 12; ++m) {
      EXPECT_LE(Utf8Length(MonthShort[static_cast<std::size_t>(lang)][static_cast<std::size_t>(m)]), 4u);
      EXPECT_LE(Utf8Length(MonthLong[static_cast<std::size_t>(lang)][static_cast<std::size_t>(m)]), 10u);
    }
  EXPECT_EQ(PredefinedColors[15].Color, clWhite);
  EXPECT_EQ(PredefinedColors[16].Color, clMoneyGreen);
  EXPECT_EQ(PredefinedColors[20].Color, clScrollBar);
  for (std::size_t i = 20; i < PredefinedColors.size(); ++i)
    EXPECT_EQ(PredefinedColors[i].Color & clSystemColor, clSystemColor) << i;

  EXPECT_TRUE(CombineLogic(loXOR, true, false));
  EXPECT_FALSE(CombineLogic(loANDNOT, true, true));
  EXPECT_TRUE(CombineLogic(loORNOT, false, false));
  EXPECT_TRUE(CombineLogic(loNone, true, false));
}

}  // namespace
}  // namespace vorn
