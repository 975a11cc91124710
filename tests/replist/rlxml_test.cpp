#include "vorn/replist/rlxml.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <limits>
#include <new>
#include <random>
#include <sstream>
#include <streambuf>
#include <string>
#include <vector>

namespace vorn {
namespace {

namespace fs = std::filesystem;

std::string Document(const TRLData& d, std::string_view DataID, bool Header = true) {
  std::ostringstream out;
  d.WriteToXMLStream(out, Header, DataID);
  return out.str();
}

// Everything a document carries, for comparing two tables.
std::string Snapshot(const TRLData& d) { return Document(d, d.DataID()); }

void ExpectSameTable(const TRLData& a, const TRLData& b) {
  ASSERT_EQ(a.NrOfColumns(), b.NrOfColumns());
  ASSERT_EQ(a.NrOfRows(), b.NrOfRows());
  EXPECT_EQ(a.Comment(), b.Comment());
  EXPECT_EQ(a.CommonHeader(), b.CommonHeader());
  EXPECT_EQ(a.DataID(), b.DataID());
  for (int c = 1; c <= a.NrOfColumns(); ++c) {
    EXPECT_EQ(a.Header(c), b.Header(c));
    EXPECT_EQ(a.ColumnFormat(c), b.ColumnFormat(c));
    EXPECT_EQ(a.ColumnCheckMode(c), b.ColumnCheckMode(c));
  }
  for (int r = 1; r <= a.NrOfRows(); ++r)
    for (int c = 0; c <= a.NrOfColumns(); ++c)
      ASSERT_EQ(a.Strings()->GetString(c, r), b.Strings()->GetString(c, r)) << "cell " << c << "," << r;
}

// A small table with the awkward texts a document must carry unchanged.
void MakeAwkward(TRLData& d) {
  d.SetNrOfColumns(3);
  d.SetNrOfRows(3);
  d.SetHeader(1, " name\twith tab ");
  d.SetHeader(2, "a<b>&\"c\"");
  d.SetColumnFormat(1, "[i][60]rix3");
  d.SetColumnFormat(3, "[l]red|green");
  d.SetColumnCheckMode(2, cmBox);
  d.SetColumnCheckMode(3, cmRadio);
  d.SetComment("line one\r\nline two\rthree\n  ");
  d.SetCommonHeader("   ");
  d.SetDataID(" Sales & \"Costs\" 50% ");
  const std::vector<std::string> cells{"CR\rLF\nCRLF\r\n", "   ", "\t", "]]> <!-- -->", std::string("nul\0x", 5),
                                       "\x01\x1F\x7F", "\xFF\xFE bad", "\xC3", "é€😀", "\xEF\xBF\xBE", "%41",
                                       "\xED\xA0\x80"};
  for (int r = 1; r <= 3; ++r)
    for (int c = 0; c <= 3; ++c) d.Strings()->SetString(c, r, cells[static_cast<std::size_t>((r - 1) * 4 + c)]);
  d.SetElemChecked(3, 2, true);
}

TEST(RLXml, AwkwardTextsRoundTripExactly) {
  TRLData a(nullptr);
  MakeAwkward(a);
  const std::string doc = Document(a, a.DataID());
  TRLData b(nullptr);
  ASSERT_TRUE(b.ReadFromXMLString(doc, " SALES & \"costs\" 50% "));
  ExpectSameTable(a, b);
  // A document names its data set on the opening line, which the check
  // recognises by the same identifier.
  std::istringstream in(doc);
  EXPECT_TRUE(CheckIfValidReplist(in, " Sales & \"Costs\" 50% "));
  std::istringstream in2(doc);
  EXPECT_FALSE(CheckIfValidReplist(in2, "costs"));
}

TEST(RLXml, ReadReplacesSortedTablesAndShowsRowsInShownOrder) {
  TRLData a(nullptr);
  a.SetNrOfRows(3);
  a.SetElem(1, 1, "b");
  a.SetElem(1, 2, "c");
  a.SetElem(1, 3, "a");
  a.Sort(1, -1, true);
  TRLData b(nullptr);
  b.SetNrOfColumns(5);
  b.SetNrOfRows(10);
  b.Sort(1, -1, false);
  ASSERT_TRUE(b.ReadFromXMLString(Document(a, ""), ""));
  EXPECT_EQ(b.NrOfColumns(), 1);
  EXPECT_EQ(b.LastSortColumn(), -1);
  b.UnSort();
  EXPECT_EQ(b.Elem(1, 1) + b.Elem(1, 2) + b.Elem(1, 3), "abc");
}

// Random tables with every byte value in every text.
std::string RandomText(std::mt19937& rng, std::size_t MaxLen) {
  std::uniform_int_distribution<std::size_t> len(0, MaxLen);
  std::uniform_int_distribution<int> byte(0, 255), kind(0, 3);
  std::string s(len(rng), ' ');
  for (char& c : s) {
    const int k = kind(rng);  // some plain text, some blanks and line ends, some anything
    c = k == 0 ? static_cast<char>('a' + byte(rng) % 26) : k == 1 ? " \t\r\n%&<"[byte(rng) % 7] : static_cast<char>(byte(rng));
  }
  return s;
}

void MakeRandom(TRLData& d, std::mt19937& rng) {
  std::uniform_int_distribution<int> cols(1, 6), rows(0, 6), mode(0, 2), coin(0, 1);
  d.SetNrOfColumns(cols(rng));
  d.SetNrOfRows(rows(rng));
  d.SetComment(RandomText(rng, 300));
  d.SetCommonHeader(RandomText(rng, 40));
  d.SetDataID(coin(rng) ? RandomText(rng, 20) : "");
  for (int c = 1; c <= d.NrOfColumns(); ++c) {
    d.SetHeader(c, RandomText(rng, 60));
    d.SetColumnFormat(c, RandomText(rng, 90));
    d.SetColumnCheckMode(c, static_cast<TCheckMode>(mode(rng)));
  }
  for (int r = 1; r <= d.NrOfRows(); ++r)
    for (int c = 0; c <= d.NrOfColumns(); ++c) d.Strings()->SetString(c, r, RandomText(rng, coin(rng) ? 8 : 300));
}

TEST(RLXml, ThousandRandomTablesRoundTripAndAreWellFormed) {
  std::mt19937 rng(20240611);
  const fs::path dir = fs::temp_directory_path() / ("vorn-rl-random-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  std::string files;
  for (int i = 0; i < 1000; ++i) {
    TRLData a(nullptr);
    MakeRandom(a, rng);
    const std::string doc = Document(a, a.DataID(), i % 2 == 0);
    TRLData b(nullptr);
    ASSERT_TRUE(b.ReadFromXMLString(doc, a.DataID())) << "table " << i;
    ExpectSameTable(a, b);
    if (a.DataID().find_first_not_of(' ') != std::string::npos) {
      std::istringstream in(doc);
      ASSERT_TRUE(CheckIfValidReplist(in, a.DataID())) << "table " << i;
    }
    const fs::path file = dir / (std::to_string(i) + ".xml");
    std::ofstream(file, std::ios::binary) << doc;
    files += " " + file.string();
  }
  if (fs::exists("/usr/bin/xmllint")) {
    EXPECT_EQ(std::system(("/usr/bin/xmllint --noout" + files).c_str()), 0);
  }
  fs::remove_all(dir);
}

// Every read that fails leaves the table exactly as it was.
class RLXmlBadInput : public ::testing::Test {
 protected:
  void SetUp() override {
    MakeAwkward(FTable);
    FBefore = Snapshot(FTable);
  }
  void ExpectRefused(const std::string& Doc, std::string_view DataID = "") {
    EXPECT_FALSE(FTable.ReadFromXMLString(Doc, DataID)) << Doc;
    EXPECT_EQ(Snapshot(FTable), FBefore);
  }
  TRLData FTable{nullptr};
  std::string FBefore;
};

constexpr const char* kHead = "<replist format=\"tarvenix\" version=\"1\">";

std::string Doc(const std::string& Body) { return std::string(kHead) + Body + "</replist>"; }

TEST_F(RLXmlBadInput, MalformedAndLyingDocumentsAreRefused) {
  const std::string sizes = "<numcols>2</numcols><numrows>1</numrows>";
  ExpectRefused("");
  ExpectRefused("not xml");
  ExpectRefused("<other/>");
  ExpectRefused("<replist format=\"tarvenix\"/>");
  ExpectRefused(Doc(sizes + "<row><cell>a</cell><cell>b</cell></row>").substr(0, 60));
  ExpectRefused(Doc(sizes + "<row><cell>a</cell><cell>b</row>"));            // tags do not match
  ExpectRefused(Doc(sizes));                                                 // fewer rows
  ExpectRefused(Doc(sizes + "<row><cell/><cell/></row><row><cell/><cell/></row>"));  // more rows
  ExpectRefused(Doc(sizes + "<row><cell>a</cell></row>"));                   // a missing cell
  ExpectRefused(Doc(sizes + "<row><cell/><cell/><cell/></row>"));            // one cell too many
  ExpectRefused(Doc(sizes + "<row><cell/><cell col=\"0\"/><cell/></row>"));  // hidden cell not first
  ExpectRefused(Doc("<numcols>2000000</numcols><numrows>2000000</numrows>"));  // sizes beyond the content
  ExpectRefused(Doc("<numcols>0</numcols><numrows>0</numrows>"));
  ExpectRefused(Doc("<numcols>x</numcols><numrows>0</numrows>"));
  ExpectRefused(Doc("<numrows>0</numrows><colname col=\"1\">a</colname><numcols>1</numcols>"));
  ExpectRefused(Doc("<numcols>1</numcols><numrows>0</numrows><colname col=\"2\">a</colname>"));
  ExpectRefused(Doc("<numcols>1</numcols><numrows>0</numrows><checkedcolumn col=\"1\">maybe</checkedcolumn>"));
  ExpectRefused(Doc("<numcols>1</numcols><numrows>0</numrows><comment enc=\"pct\">%4</comment>"));
  ExpectRefused(Doc("<numcols>1</numcols><numrows>0</numrows><cell/>"));
  ExpectRefused("<replist version=\"2\"><numcols>1</numcols><numrows>0</numrows></replist>");
  ExpectRefused("<!DOCTYPE replist><replist><numcols>1</numcols><numrows>0</numrows></replist>");
  ExpectRefused(std::string("<replist><numcols>1</numcols>\0<numrows>0</numrows></replist>", 61));
  ExpectRefused(Doc("<numcols>1</numcols><numrows>0</numrows>") + "x", "other");
}

TEST_F(RLXmlBadInput, EveryTruncationOfADocumentIsRefused) {
  TRLData source(nullptr);
  MakeAwkward(source);
  const std::string doc = Document(source, "");
  const std::size_t end = doc.rfind('>');  // what follows the end element does not matter
  for (std::size_t n = 0; n < end; ++n) {
    ASSERT_FALSE(FTable.ReadFromXMLString(std::string_view(doc).substr(0, n), "")) << n;
  }
  EXPECT_EQ(Snapshot(FTable), FBefore);
}

TEST(RLXml, ForeignButValidDocumentsAreRead) {
  TRLData d(nullptr);
  const std::string doc =
      "\xEF\xBB\xBF<?xml version=\"1.0\"?>\n<!-- made by hand -->\n"
      "<Replist id=\" Sales \" extra=\"x\"><numrows>1</numrows><future/><numcols> 2 </numcols>"
      "<checkedcolumn col=\"2\">TRUE</checkedcolumn><row><cell col=\"1\"><![CDATA[<a>]]></cell><?pi?>"
      "<cell col=\"2\">Xy</cell><note/></row></Replist>";
  ASSERT_TRUE(d.ReadFromXMLString(doc, "SALES"));
  EXPECT_EQ(d.DataID(), " Sales ");
  EXPECT_EQ(d.Elem(1, 1), "<a>");
  EXPECT_TRUE(d.ElemChecked(2, 1));
  EXPECT_EQ(d.Header(2), "C-2");
  EXPECT_EQ(d.CommonHeader(), "Vorn Report Listview");
}

// A stream that cannot seek, as a pipe.
class TPipeBuf : public std::streambuf {
 public:
  explicit TPipeBuf(std::string Data) : FData(std::move(Data)) {}

 protected:
  int_type underflow() override {
    if (FPos >= FData.size()) return traits_type::eof();
    FChunk = FData.substr(FPos, 7);  // small pieces, to cross every boundary
    FPos += FChunk.size();
    setg(FChunk.data(), FChunk.data(), FChunk.data() + FChunk.size());
    return traits_type::to_int_type(FChunk[0]);
  }

 private:
  std::string FData;
  std::string FChunk;
  std::size_t FPos = 0;
};

void ExpectDocumentsFollowEachOther(std::istream& in, const TRLData& first, const TRLData& second) {
  TRLData d(nullptr);
  EXPECT_FALSE(d.ReadFromOpenXMLFile(in, "no such set"));  // the stream still moves past the document
  ASSERT_TRUE(d.ReadFromOpenXMLFile(in, "two"));
  ExpectSameTable(d, second);
  ASSERT_TRUE(d.ReadFromXMLStream(in, ""));
  ExpectSameTable(d, first);
  std::string rest;
  std::getline(in, rest, '\0');
  EXPECT_EQ(rest, "\ntrailer");
  in.clear();
  EXPECT_FALSE(d.ReadFromXMLStream(in, ""));
  EXPECT_TRUE(in.fail());  // not a document: where the stream stands is unknown
}

TEST(RLXml, SeveralDocumentsInOneStream) {
  TRLData first(nullptr), second(nullptr);
  MakeAwkward(first);
  first.SetDataID("one");
  second.SetNrOfRows(2);
  second.SetElem(1, 2, "second");
  second.SetDataID("two");
  const std::string all = Document(first, "one") + Document(second, "two") + Document(first, "one", false) + "trailer";
  std::istringstream seekable(all);
  ExpectDocumentsFollowEachOther(seekable, first, second);
  TPipeBuf pipe(all);
  std::istream piped(&pipe);
  ExpectDocumentsFollowEachOther(piped, first, second);
}

TEST(RLXml, FilesSaveAtomicallyAndLoad) {
  const fs::path dir = fs::temp_directory_path() / ("vorn-rl-files-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  const std::string file = (dir / "table.xml").string();
  TRLData a(nullptr);
  MakeAwkward(a);
  a.SaveAsXMLFile(file, "set");
  EXPECT_TRUE(CheckIfValidReplist(file, "SET"));
  EXPECT_FALSE(CheckIfValidReplist(file, "other"));
  EXPECT_FALSE(CheckIfValidReplist((dir / "missing.xml").string(), ""));
  TRLData b(nullptr);
  ASSERT_TRUE(b.LoadFromXMLFile(file, "set"));
  EXPECT_EQ(b.Elem(1, 1), a.Elem(1, 1));
  EXPECT_FALSE(b.LoadFromXMLFile((dir / "missing.xml").string(), ""));

  // A save that fails half-way keeps the earlier file and leaves no
  // temporary file behind.
  std::ifstream before(file, std::ios::binary);
  const std::string old((std::istreambuf_iterator<char>(before)), {});
  b.SetNrOfRows(5000);
  b.SetOnPercentDone([](TObject*, int Percent) {
    if (Percent > 50) throw std::runtime_error("cancelled");
  });
  EXPECT_THROW(b.SaveAsXMLFile(file, "set"), std::runtime_error);
  std::ifstream after(file, std::ios::binary);
  EXPECT_EQ(std::string((std::istreambuf_iterator<char>(after)), {}), old);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);

  try {
    a.SaveAsXMLFile((dir / "no/such/dir.xml").string(), "");
    ADD_FAILURE() << "no exception";
  } catch (const EVORNRLDataError& e) {
    EXPECT_NE(std::string(e.what()).find("dir.xml"), std::string::npos);
  }
  std::ostringstream failed;
  failed.setstate(std::ios::badbit);
  EXPECT_THROW(a.WriteToXMLStream(failed, true, ""), EVORNRLDataError);
  fs::remove_all(dir);
}

TEST(RLXml, CheckFindsTheOpeningLine) {
  const auto check = [](const std::string& Text, std::string_view DataID) {
    std::istringstream in(Text);
    return CheckIfValidReplist(in, DataID);
  };
  const std::string file = "<?xml version=\"1.0\"?>\n<Replist TARVENIX id=\" Sales \">\n</replist>\n";
  EXPECT_TRUE(check(file, "sales"));
  EXPECT_TRUE(check(file, ""));
  EXPECT_FALSE(check(file, "costs"));
  EXPECT_FALSE(check("<replist id=\"sales\">\n", ""));  // no tarvenix
  EXPECT_TRUE(check("x\r\n<replist tarvenix>\r\n", ""));
  EXPECT_FALSE(check("<replist tarvenix>\n", "sales"));  // no identifier
  EXPECT_FALSE(check("", ""));
}

TEST(RLXml, ProgressOfReadsAndWrites) {
  TRLData a(nullptr);
  a.SetNrOfColumns(3);
  a.SetNrOfRows(1000);
  std::vector<int> percents;
  a.SetOnPercentDone([&](TObject* Sender, int Percent) {
    EXPECT_EQ(Sender, &a);
    percents.push_back(Percent);
  });
  const std::string doc = Document(a, "");
  ASSERT_GE(percents.size(), 50u);
  EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
  EXPECT_EQ(percents.back(), 100);
  percents.clear();
  ASSERT_TRUE(a.ReadFromXMLString(doc, ""));
  ASSERT_GE(percents.size(), 50u);
  EXPECT_EQ(percents.back(), 100);
}

TEST(RLXml, HtmlExport) {
  TRLData d(nullptr);
  d.SetNrOfColumns(3);
  d.SetNrOfRows(3);
  d.SetCommonHeader("Report <1>");
  d.SetHeader(1, "A&B");
  d.SetHeader(3, "C");
  d.SetColumnCheckMode(3, cmBox);
  d.SetElem(1, 1, "<b>\"x\"</b>");
  d.SetElem(1, 2, "two\nlines");
  d.SetElem(3, 1, "\xFF");
  d.SetElemChecked(3, 1, true);
  d.SetOnBeforeHTMLExport([](TObject*, std::string& Text, int Col, int Row) {
    if (Col == 1 && Row == 3) Text = "changed";
  });
  THTMLTableOptions o;
  o.LoC = 1;
  o.HiC = 3;
  o.LoR = 1;
  o.HiR = 99;
  o.ColumnSelection = {3, 1, 7};
  o.HeadClass = "h";
  o.CellClass = "c";
  o.TableClass = "t";
  const std::string html = HTMLTable(d, o);
  EXPECT_EQ(html.rfind("<!DOCTYPE html>\n", 0), 0u);
  EXPECT_NE(html.find("<meta charset=\"utf-8\">"), std::string::npos);
  EXPECT_NE(html.find("<title>Report &lt;1&gt;</title>"), std::string::npos);
  EXPECT_NE(html.find("<table border=\"1\" cellspacing=\"0\" cellpadding=\"2\" class=\"t\">"), std::string::npos);
  EXPECT_NE(html.find("<tr><th class=\"h\">C</th><th class=\"h\">A&amp;B</th></tr>"), std::string::npos);
  EXPECT_NE(html.find("<tr><td class=\"c\">&#9745; \xEF\xBF\xBD</td><td class=\"c\">&lt;b&gt;&quot;x&quot;&lt;/b&gt;</td></tr>"),
            std::string::npos);
  EXPECT_NE(html.find("two<br>lines"), std::string::npos);
  EXPECT_NE(html.find("changed"), std::string::npos);
  EXPECT_EQ(html.find("<tr>", html.find("changed")), std::string::npos);  // three rows only
  EXPECT_TRUE(html.ends_with("</html>\n"));
  EXPECT_THROW(d.ExportHTMLTable("/no/such/dir/x.html", 1, 1, 3, 3, {}, 1, 0, 2, true, "", "", ""),
               EVORNRLDataError);
}

TEST(RLXml, LoadLinesGrowsTheTableAndKeepsMarks) {
  const fs::path file = fs::temp_directory_path() / ("vorn-rl-lines-" + std::to_string(::getpid()) + ".txt");
  std::ofstream(file, std::ios::binary) << "one\r\ntwo\nthree";
  TRLData d(nullptr);
  d.SetNrOfColumns(2);
  d.SetNrOfRows(2);
  d.SetColumnCheckMode(2, cmBox);
  d.SetElemChecked(2, 2, true);
  EXPECT_EQ(d.LoadLinesFromFile(2, 2, file.string()), 3);
  EXPECT_EQ(d.NrOfRows(), 4);
  EXPECT_EQ(d.Strings()->GetString(2, 2), "Xone");
  EXPECT_EQ(d.Strings()->GetString(2, 3), " two");
  EXPECT_EQ(d.Elem(2, 4), "three");
  EXPECT_EQ(d.LoadLinesFromFile(0, 0, file.string()), 3);
  EXPECT_EQ(d.Elem(0, 1), "one");
  EXPECT_THROW(d.LoadLinesFromFile(1, 1, file.string() + ".missing"), EVORNRLDataError);
  fs::remove(file);
}

// ---- hostile and unusual input -------------------------------------------------------------

TEST(RLXmlHostile, WhatFollowsTheDocumentIsNotLookedAt) {
  TRLData source(nullptr);
  MakeAwkward(source);
  source.SetDataID("set");
  // A file padded with zero bytes after a crash, longer than one read block.
  const std::string padded = Document(source, "set") + std::string(200000, '\0');
  TRLData fromString(nullptr), fromStream(nullptr), fromPipe(nullptr), fromFile(nullptr);
  ASSERT_TRUE(fromString.ReadFromXMLString(padded, "set"));
  ExpectSameTable(fromString, source);
  std::istringstream seekable(padded);
  ASSERT_TRUE(fromStream.ReadFromXMLStream(seekable, "set"));
  ExpectSameTable(fromStream, source);
  EXPECT_EQ(seekable.get(), '\n');  // the stream stands right after the end element
  TPipeBuf pipe(padded);
  std::istream piped(&pipe);
  ASSERT_TRUE(fromPipe.ReadFromXMLStream(piped, "set"));
  ExpectSameTable(fromPipe, source);
  const fs::path file = fs::temp_directory_path() / ("vorn-rl-padded-" + std::to_string(::getpid()) + ".xml");
  std::ofstream(file, std::ios::binary) << padded;
  ASSERT_TRUE(fromFile.LoadFromXMLFile(file.string(), "set"));
  ExpectSameTable(fromFile, source);
  fs::remove(file);
}

// Opening tags and whether they are for the data set "Sales"; the readers
// and CheckIfValidReplist must agree on every one.
TEST(RLXmlHostile, TheDataSetIsTheParsedIdAttribute) {
  const std::vector<std::pair<std::string, bool>> cases{
      {R"(<replist format="tarvenix" xid="Sales" id="Other">)", false},
      {R"(<replist format="tarvenix" id="Other" xid="Sales">)", false},
      {R"(<replist format="tarvenix" note='id="Sales"'>)", false},
      {R"(<replist format="tarvenix" id='Sales'>)", true},
      {R"(<replist format="tarvenix" id = "Sales">)", true},
      {"<replist format=\"tarvenix\" id\t=\n' SALES '>", true},
      {R"(<replist format="tarvenix" id="&#83;ales">)", true},
      {R"(<replist format="tarvenix" id="S%61les" idenc="pct">)", true},
      {R"(<replist format="tarvenix" id="S%61les">)", false},
      {R"(<replist format="tarvenix" id="Sales" idenc="other">)", false},
      {R"(<replist format="tarvenix" ID="Sales">)", false},
      {R"(<replist format="tarvenix">)", false},
  };
  const std::string body = "<numcols>1</numcols><numrows>0</numrows></replist>";
  for (const auto& [tag, forSales] : cases) {
    TRLData d(nullptr);
    EXPECT_EQ(d.ReadFromXMLString(tag + body, "sales"), forSales) << tag;
    if (tag.find('\n') == std::string::npos) {  // the check reads one line at a time
      std::istringstream line(tag + "\n" + body);
      EXPECT_EQ(CheckIfValidReplist(line, "sales"), forSales) << tag;
    }
    EXPECT_TRUE(d.ReadFromXMLString(tag + body, "") || tag.find("idenc") != std::string::npos) << tag;
  }
  TRLData d(nullptr);
  ASSERT_TRUE(d.ReadFromXMLString(cases[0].first + body, "OTHER"));
  EXPECT_EQ(d.DataID(), "Other");
  // A hand-made opening line with a bare word before the identifier.
  std::istringstream handMade("<Replist TARVENIX id=\" Sales \">\n");
  EXPECT_TRUE(CheckIfValidReplist(handMade, "sales"));
}

TEST(RLXmlHostile, LongTagsAndEscapeRunsAreRefusedOrReadInLinearTime) {
  const std::string body = "<numcols>1</numcols><numrows>0</numrows></replist>";
  // A megabyte of '&' (no reference ends) in the opening line: decoding it
  // used to take time quadratic in its length.
  std::istringstream line("<replist tarvenix id=\"" + std::string(1000000, '&') + "\">\n");
  EXPECT_FALSE(CheckIfValidReplist(line, "sales"));
  TRLData d(nullptr);
  EXPECT_FALSE(d.ReadFromXMLString("<replist id=\"" + std::string(1000000, '&') + "\">" + body, ""));
  // Start and end tags are accepted up to 64 KiB.
  const auto withNote = [&](std::size_t Bytes) {
    return "<replist><numcols>1</numcols><numrows>0</numrows><note a=\"" + std::string(Bytes, 'x') + "\"/></replist>";
  };
  EXPECT_TRUE(d.ReadFromXMLString(withNote(60000), ""));
  EXPECT_FALSE(d.ReadFromXMLString(withNote(70000), ""));
  EXPECT_FALSE(d.ReadFromXMLString("<replist><numcols>1</numcols><numrows>0</numrows></replist" +
                                       std::string(70000, ' ') + ">", ""));
  // The writer refuses an identifier whose tag readers would refuse.
  TRLData source(nullptr);
  const std::string fine(10000, '"');  // 60000 bytes once escaped
  std::ostringstream out;
  source.WriteToXMLStream(out, true, fine);
  ASSERT_TRUE(d.ReadFromXMLString(out.str(), fine));
  EXPECT_EQ(d.DataID(), fine);
  std::ostringstream refused;
  EXPECT_THROW(source.WriteToXMLStream(refused, true, std::string(12000, '"')), EVORNRLDataError);
}

TEST(RLXmlHostile, DocumentAndHtmlSavesKeepModesFollowLinksAndRefuseReadOnlyFiles) {
  const fs::path dir = fs::temp_directory_path() / ("vorn-rl-saves-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  TRLData d(nullptr);
  d.SetNrOfRows(1);
  d.SetElem(1, 1, "cell");
  const fs::path xml = dir / "private.xml";
  d.SaveAsXMLFile(xml.string(), "");
  fs::permissions(xml, fs::perms::owner_read | fs::perms::owner_write);
  d.SaveAsXMLFile(xml.string(), "again");
  EXPECT_EQ(fs::status(xml).permissions(), fs::perms::owner_read | fs::perms::owner_write);
  EXPECT_TRUE(CheckIfValidReplist(xml.string(), "again"));

  fs::create_symlink("private.xml", dir / "link.xml");
  d.SaveAsXMLFile((dir / "link.xml").string(), "linked");
  EXPECT_TRUE(fs::is_symlink(dir / "link.xml"));
  EXPECT_TRUE(CheckIfValidReplist(xml.string(), "linked"));

  const fs::path html = dir / "table.html";
  d.ExportHTMLTable(html.string(), 1, 1, 1, 1, {}, 1, 0, 2, true, "", "", "");
  fs::permissions(html, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  EXPECT_THROW(d.ExportHTMLTable(html.string(), 1, 1, 1, 1, {}, 1, 0, 2, false, "", "", ""), EVORNRLDataError);
  fs::permissions(xml, fs::perms::owner_read);
  EXPECT_THROW(d.SaveAsXMLFile(xml.string(), "lost"), EVORNRLDataError);
  EXPECT_TRUE(CheckIfValidReplist(xml.string(), "linked"));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 3);
  fs::remove_all(dir);
}

TEST(RLXmlHostile, FoldersAndReadErrorsGiveFalseOrTheUnitsError) {
  const fs::path dir = fs::temp_directory_path() / ("vorn-rl-folder-" + std::to_string(::getpid()));
  fs::create_directories(dir);
  TRLData d(nullptr);
  d.SetNrOfRows(1);
  d.SetElem(1, 1, "kept");
  EXPECT_FALSE(d.LoadFromXMLFile(dir.string(), ""));
  EXPECT_FALSE(CheckIfValidReplist(dir.string(), ""));
  EXPECT_THROW(d.LoadLinesFromFile(1, 1, dir.string()), EVORNRLDataError);
  EXPECT_EQ(d.Elem(1, 1), "kept");
  fs::remove_all(dir);
}

// Lines, then an allocation failure in the middle of the stream.
class TFailingBuf : public std::streambuf {
 public:
  explicit TFailingBuf(std::string Lines) : FData(std::move(Lines)) {
    setg(FData.data(), FData.data(), FData.data() + FData.size());
  }

 protected:
  int_type underflow() override { throw std::bad_alloc(); }

 private:
  std::string FData;
};

TEST(RLXmlHostile, LoadingLinesIsAllOrNothing) {
  TRLData d(nullptr);
  d.SetNrOfColumns(2);
  d.SetNrOfRows(3);
  d.SetColumnCheckMode(2, cmBox);
  d.SetElemChecked(2, 3, true);
  d.SetElem(2, 3, "three");
  const std::string before = Snapshot(d);

  std::string many;
  for (int i = 0; i < 1000; ++i) many += "line " + std::to_string(i) + "\n";
  TFailingBuf failing(many);
  std::istream in(&failing);
  in.exceptions(std::ios::badbit);  // lets the failure through as it is
  EXPECT_THROW(d.LoadLinesFromStream(2, 2, in), EVORNRLDataError);
  EXPECT_EQ(Snapshot(d), before);

  // From a stream that cannot seek, growing the table.
  TPipeBuf pipe(many);
  std::istream piped(&pipe);
  EXPECT_EQ(d.LoadLinesFromStream(2, 2, piped), 1000);
  EXPECT_EQ(d.NrOfRows(), 1001);
  EXPECT_EQ(d.Strings()->GetString(2, 3), "Xline 1");
  EXPECT_EQ(d.Elem(2, 1001), "line 999");
  std::istringstream empty;
  EXPECT_EQ(d.LoadLinesFromStream(2, 5000, empty), 0);
  EXPECT_EQ(d.NrOfRows(), 1001);
}

// A first row near the top of the row numbers must be refused before the
// table grows (it would ask for billions of rows).
TEST(RLXmlHostile, LoadingLinesFarBeyondTheEndIsRefusedUnchanged) {
  TRLData d(nullptr);
  d.SetNrOfColumns(2);
  d.SetNrOfRows(3);
  d.SetElem(1, 2, "kept");
  const std::string before = Snapshot(d);
  for (const int first : {std::numeric_limits<int>::max() - 1, std::numeric_limits<int>::max(),
                          TRLData::LoadLinesRowLimit + 1}) {
    std::istringstream in("one\ntwo\n");
    try {
      d.LoadLinesFromStream(1, first, in);
      ADD_FAILURE() << "first row " << first << " was accepted";
    } catch (const EVORNRLDataError& e) {
      EXPECT_NE(std::string(e.what()).find("beyond the last row"), std::string::npos) << e.what();
    }
    EXPECT_EQ(Snapshot(d), before);
  }
  // Outside every column nothing is stored, so any first row only counts.
  std::istringstream counted("one\ntwo\n");
  EXPECT_EQ(d.LoadLinesFromStream(7, std::numeric_limits<int>::max(), counted), 2);
}

}  // namespace
}  // namespace vorn
