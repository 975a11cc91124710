#include "vorn/replist/rlxml.h"

#include <pugixml.hpp>

#include <algorithm>
#include <array>
#include <charconv>
#include <cstring>
#include <fstream>
#include <istream>
#include <limits>
#include <memory>
#include <new>
#include <ostream>
#include <sstream>

#include "vorn/foundation/strutils.h"
#include "vorn/platform/runtime/files.h"
#include "vorn/replist/xmlscan.h"

namespace vorn {

namespace {

constexpr int kLayoutVersion = 1;
constexpr std::string_view kXmlDeclaration = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
constexpr std::string_view kHex = "0123456789ABCDEF";

constexpr std::array<const char*, 10> kTagNames{"numcols",   "numrows", "colname", "checkedcolumn",
                                                "commonheader", "columnformat", "cell", "comment",
                                                "/replist",  "invalidtag"};
constexpr std::array<const char*, 3> kCheckModeNames{"none", "box", "radio"};

// ---- characters XML can carry ----------------------------------------------------------

bool IsContinuation(unsigned char B) { return (B & 0xC0) == 0x80; }

// The length of the character at the start of S when it is valid UTF-8 and
// allowed in XML 1.0 (tab, line feed, carriage return, U+0020..U+D7FF,
// U+E000..U+FFFD, U+10000..U+10FFFF); 0 otherwise.
std::size_t XmlCharLength(std::string_view S) {
  const auto b0 = static_cast<unsigned char>(S[0]);
  if (b0 < 0x80) return b0 >= 0x20 || b0 == '\t' || b0 == '\n' || b0 == '\r' ? 1 : 0;
  std::size_t len = 0;
  std::uint32_t cp = 0;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    len = 2;
    cp = b0 & 0x1Fu;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    len = 3;
    cp = b0 & 0x0Fu;
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    len = 4;
    cp = b0 & 0x07u;
  } else {
    return 0;
  }
  if (S.size() < len) return 0;
  for (std::size_t i = 1; i < len; ++i) {
    const auto b = static_cast<unsigned char>(S[i]);
    if (!IsContinuation(b)) return 0;
    cp = (cp << 6) | (b & 0x3Fu);
  }
  const bool shortest = (len == 2) || (len == 3 && cp >= 0x800) || (len == 4 && cp >= 0x10000);
  const bool allowed = (cp < 0xD800) || (cp >= 0xE000 && cp <= 0xFFFD) || (cp >= 0x10000 && cp <= 0x10FFFF);
  return shortest && allowed ? len : 0;
}

bool IsPlainAscii(char C) {
  const auto b = static_cast<unsigned char>(C);
  return b >= 0x20 && b < 0x7F;
}

// True when XML can carry every byte of Value (escaped as needed).
bool XmlCarriable(std::string_view Value) {
  for (std::size_t i = 0; i < Value.size();) {
    if (IsPlainAscii(Value[i])) {
      ++i;
      continue;
    }
    const std::size_t len = XmlCharLength(Value.substr(i));
    if (len == 0) return false;
    i += len;
  }
  return true;
}

void AppendPercent(std::string& Out, unsigned char B) {
  Out += '%';
  Out += kHex[B >> 4];
  Out += kHex[B & 0x0F];
}

// Appends Value escaped for element text (InAttribute false) or for a
// double-quoted attribute value. Percent marks the value as percent-encoded:
// then '%' and every byte XML cannot carry become %HH.
void AppendEscaped(std::string& Out, std::string_view Value, bool InAttribute, bool Percent) {
  std::size_t leadingBlanks = 0, trailingFrom = Value.size();
  if (InAttribute) {
    while (leadingBlanks < Value.size() && Value[leadingBlanks] == ' ') ++leadingBlanks;
    while (trailingFrom > leadingBlanks && Value[trailingFrom - 1] == ' ') --trailingFrom;
  }
  // Bytes that stand for themselves go out in runs.
  const auto plain = [&](std::size_t I) {
    const char c = Value[I];
    if (c == ' ') return I >= leadingBlanks && I < trailingFrom;
    return IsPlainAscii(c) && c != '&' && c != '<' && c != '>' && c != '"' && c != '%';
  };
  for (std::size_t i = 0; i < Value.size();) {
    std::size_t end = i;
    while (end < Value.size() && plain(end)) ++end;
    if (end > i) {
      Out.append(Value.substr(i, end - i));
      i = end;
      continue;
    }
    const char c = Value[i];
    switch (c) {
      case '&': Out += "&amp;"; break;
      case '<': Out += "&lt;"; break;
      case '>': Out += "&gt;"; break;
      case '\r': Out += "&#13;"; break;
      case '"': Out += InAttribute ? "&quot;" : "\""; break;
      case '\t': Out += InAttribute ? "&#9;" : "\t"; break;
      case '\n': Out += InAttribute ? "&#10;" : "\n"; break;
      case ' ': Out += i < leadingBlanks || i >= trailingFrom ? "&#32;" : " "; break;
      case '%':
        if (Percent)
          AppendPercent(Out, '%');
        else
          Out += '%';
        break;
      default: {
        if (IsPlainAscii(c)) {
          Out += c;
          break;
        }
        const std::size_t len = XmlCharLength(Value.substr(i));
        if (len == 0) {
          AppendPercent(Out, static_cast<unsigned char>(c));  // only reached when Percent
          break;
        }
        Out.append(Value.substr(i, len));
        i += len;
        continue;
      }
    }
    ++i;
  }
}

// ---- decoding -------------------------------------------------------------------------------

int HexValue(char C) {
  if (C >= '0' && C <= '9') return C - '0';
  if (C >= 'A' && C <= 'F') return C - 'A' + 10;
  if (C >= 'a' && C <= 'f') return C - 'a' + 10;
  return -1;
}

// Replaces every %HH of Value by the byte HH; false for a '%' without two
// hexadecimal digits.
bool PercentDecode(std::string_view Value, std::string& Out) {
  Out.clear();
  Out.reserve(Value.size());
  for (std::size_t i = 0; i < Value.size(); ++i) {
    if (Value[i] != '%') {
      Out += Value[i];
      continue;
    }
    if (i + 2 >= Value.size()) return false;
    const int hi = HexValue(Value[i + 1]);
    const int lo = HexValue(Value[i + 2]);
    if (hi < 0 || lo < 0) return false;
    Out += static_cast<char>(hi * 16 + lo);
    i += 2;
  }
  return true;
}

void AppendUtf8(std::string& Out, std::uint32_t Cp) {
  if (Cp < 0x80) {
    Out += static_cast<char>(Cp);
  } else if (Cp < 0x800) {
    Out += static_cast<char>(0xC0 | (Cp >> 6));
    Out += static_cast<char>(0x80 | (Cp & 0x3F));
  } else if (Cp < 0x10000) {
    Out += static_cast<char>(0xE0 | (Cp >> 12));
    Out += static_cast<char>(0x80 | ((Cp >> 6) & 0x3F));
    Out += static_cast<char>(0x80 | (Cp & 0x3F));
  } else {
    Out += static_cast<char>(0xF0 | (Cp >> 18));
    Out += static_cast<char>(0x80 | ((Cp >> 12) & 0x3F));
    Out += static_cast<char>(0x80 | ((Cp >> 6) & 0x3F));
    Out += static_cast<char>(0x80 | (Cp & 0x3F));
  }
}

// The character that an entity or character reference (the text between
// '&' and ';') stands for; false when it is none of the XML ones.
bool DecodeReference(std::string_view Ref, std::string& Out) {
  static constexpr std::array<std::pair<std::string_view, char>, 5> kNamed{
      {{"amp", '&'}, {"lt", '<'}, {"gt", '>'}, {"quot", '"'}, {"apos", '\''}}};
  for (const auto& [name, ch] : kNamed) {
    if (Ref == name) {
      Out += ch;
      return true;
    }
  }
  if (Ref.size() < 2 || Ref[0] != '#') return false;
  const bool hex = Ref[1] == 'x' || Ref[1] == 'X';
  const std::string_view digits = Ref.substr(hex ? 2 : 1);
  std::uint32_t cp = 0;
  const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), cp, hex ? 16 : 10);
  if (ec != std::errc() || end != digits.data() + digits.size() || digits.empty() || cp > 0x10FFFF) return false;
  AppendUtf8(Out, cp);
  return true;
}

// Decodes the references of an attribute value; references that are not
// XML's stay as they are. A reference is looked for only in the few bytes
// after each '&', so the time is linear in the value's length.
std::string XmlUnescape(std::string_view Value) {
  constexpr std::size_t kLongestReference = 32;  // "#x10FFFF" with room for leading zeros
  std::string out;
  out.reserve(Value.size());
  for (std::size_t i = 0; i < Value.size(); ++i) {
    if (Value[i] == '&') {
      const std::string_view window = Value.substr(i + 1, kLongestReference);
      const std::size_t semi = window.find(';');
      if (semi != std::string_view::npos && DecodeReference(window.substr(0, semi), out)) {
        i += semi + 1;
        continue;
      }
    }
    out += Value[i];
  }
  return out;
}

bool IsBlank(char C) { return C == ' ' || C == '\t' || C == '\n' || C == '\r'; }

bool IsNameByte(char C) { return !IsBlank(C) && C != '=' && C != '>' && C != '/' && C != '<' && C != '"' && C != '\''; }

// The value of attribute Name in the start tag at the beginning of Tag, as
// an XML parser gives it: the text between the quotes (double or single,
// blanks allowed around '='), line ends and tabs as blanks, references
// decoded. Words without a value (as "tarvenix" in a hand-made opening
// line) are passed over. False when the tag has no such attribute before
// its '>' (or the end of Tag).
bool TagAttribute(std::string_view Tag, std::string_view Name, std::string& Value) {
  std::size_t i = 1;
  while (i < Tag.size() && IsNameByte(Tag[i])) ++i;  // the element name
  while (i < Tag.size() && Tag[i] != '>') {
    if (!IsNameByte(Tag[i])) {
      ++i;
      continue;
    }
    const std::size_t nameBegin = i;
    while (i < Tag.size() && IsNameByte(Tag[i])) ++i;
    const std::string_view name = Tag.substr(nameBegin, i - nameBegin);
    std::size_t j = i;
    while (j < Tag.size() && IsBlank(Tag[j])) ++j;
    if (j >= Tag.size() || Tag[j] != '=') continue;  // a word without a value
    ++j;
    while (j < Tag.size() && IsBlank(Tag[j])) ++j;
    if (j >= Tag.size() || (Tag[j] != '"' && Tag[j] != '\'')) {
      i = j;
      continue;
    }
    const std::size_t close = Tag.find(Tag[j], j + 1);
    const std::string_view raw = Tag.substr(j + 1, close == std::string_view::npos ? std::string_view::npos : close - j - 1);
    if (name == Name) {
      std::string blanked(raw);
      std::replace_if(blanked.begin(), blanked.end(), [](char C) { return C == '\t' || C == '\n' || C == '\r'; }, ' ');
      Value = XmlUnescape(blanked);
      return true;
    }
    if (close == std::string_view::npos) break;
    i = close + 1;
  }
  return false;
}

// The identifier a document stores, from its id attribute as parsed and
// its idenc attribute (Encoding, null when absent). False for an unknown
// encoding or a broken percent escape.
bool StoredIdentifier(std::string_view Value, const char* Encoding, std::string& Out) {
  if (Encoding == nullptr) {
    Out.assign(Value);
    return true;
  }
  return std::strcmp(Encoding, "pct") == 0 && PercentDecode(Value, Out);
}

// Identifiers compare without regard to case or to blanks around them.
std::string ComparableIdentifier(std::string_view Identifier) {
  while (!Identifier.empty() && Identifier.front() == ' ') Identifier.remove_prefix(1);
  while (!Identifier.empty() && Identifier.back() == ' ') Identifier.remove_suffix(1);
  return FoldCase(Identifier);
}

bool IdentifierMatches(std::string_view Stored, std::string_view DataID) {
  return DataID.empty() || ComparableIdentifier(Stored) == ComparableIdentifier(DataID);
}

// True when the start tag that begins at Tag (in an opening line) is for
// DataID, decided on its parsed id and idenc attributes.
bool OpeningTagMatches(std::string_view Tag, std::string_view DataID) {
  if (DataID.empty()) return true;
  std::string value, encoding, stored;
  if (!TagAttribute(Tag, "id", value) || value.size() > TXmlDocumentScanner::MaxTagBytes) return false;
  const bool encoded = TagAttribute(Tag, "idenc", encoding);
  return StoredIdentifier(value, encoded ? encoding.c_str() : nullptr, stored) && IdentifierMatches(stored, DataID);
}

// ---- writing ------------------------------------------------------------------------------------

class TDocumentWriter {
 public:
  TDocumentWriter(std::ostream& Out, const TRLData& Source) : FOut(Out), FSource(Source) {}

  void Write(bool CreateHeader, std::string_view DataID) {
    if (CreateHeader) FBuf += kXmlDeclaration;
    OpeningLine(DataID);
    Number("numcols", FSource.NrOfColumns());
    Number("numrows", FSource.NrOfRows());
    Text("commonheader", 0, FSource.CommonHeader());
    Text("comment", 0, FSource.Comment());
    for (int c = 1; c <= FSource.NrOfColumns(); ++c) {
      Text("colname", c, FSource.Header(c));
      Text("columnformat", c, FSource.ColumnFormat(c));
      Text("checkedcolumn", c, kCheckModeNames[FSource.ColumnCheckMode(c)]);
    }
    Rows();
    FBuf += "</replist>\n";
    Flush();
    FOut.flush();
    if (!FOut) throw EVORNRLDataError("Cannot write the report list document: the stream failed");
  }

 private:
  static constexpr std::size_t kFlushAt = std::size_t{1} << 20;

  void Flush() {
    FOut.write(FBuf.data(), static_cast<std::streamsize>(FBuf.size()));
    FBuf.clear();
    if (!FOut) throw EVORNRLDataError("Cannot write the report list document: the stream failed");
  }

  void OpeningLine(std::string_view DataID) {
    const std::size_t begin = FBuf.size();
    FBuf += "<replist format=\"tarvenix\" version=\"";
    FBuf += std::to_string(kLayoutVersion);
    FBuf += '"';
    if (!DataID.empty()) {
      const bool percent = !XmlCarriable(DataID);
      FBuf += " id=\"";
      AppendEscaped(FBuf, DataID, true, percent);
      FBuf += '"';
      if (percent) FBuf += " idenc=\"pct\"";
    }
    FBuf += '>';
    // Readers refuse longer tags; a document they cannot read is not written.
    if (FBuf.size() - begin > TXmlDocumentScanner::MaxTagBytes)
      throw EVORNRLDataError("Cannot write the report list document: the data set identifier is too long");
    FBuf += '\n';
  }

  void Number(const char* Name, int Value) {
    FBuf += "  <";
    FBuf += Name;
    FBuf += '>';
    FBuf += std::to_string(Value);
    FBuf += "</";
    FBuf += Name;
    FBuf += ">\n";
  }

  // An element on a line of its own; Col > 0 adds the column number.
  void Text(const char* Name, int Col, std::string_view Value) {
    FBuf += "  <";
    FBuf += Name;
    if (Col > 0) {
      FBuf += " col=\"";
      FBuf += std::to_string(Col);
      FBuf += '"';
    }
    FinishElement(Name, Value);
    FBuf += '\n';
  }

  // The rest of an element whose start tag is open: attributes for the
  // encoding, the text and the end tag (or "/>" when empty).
  void FinishElement(const char* Name, std::string_view Value) {
    if (Value.empty()) {
      FBuf += "/>";
      return;
    }
    const bool percent = !XmlCarriable(Value);
    FBuf += percent ? " enc=\"pct\">" : ">";
    AppendEscaped(FBuf, Value, false, percent);
    FBuf += "</";
    FBuf += Name;
    FBuf += '>';
  }

  void Cell(std::string_view Value) {
    FBuf += "<cell";
    FinishElement("cell", Value);
  }

  void Rows() {
    const TStringArray& strings = *FSource.Strings();
    const int cols = FSource.NrOfColumns();
    const int rows = FSource.NrOfRows();
    TPercentReporter progress([this](TObject*, int Percent) { FSource.NotifyPercentDone(Percent); }, nullptr,
                              static_cast<std::int64_t>(rows) * (cols + 1));
    for (int r = 1; r <= rows; ++r) {
      FBuf += "  <row>";
      const std::string_view hidden = strings.StringView(0, r);
      if (!hidden.empty()) {
        FBuf += "<cell col=\"0\"";
        FinishElement("cell", hidden);
      }
      for (int c = 1; c <= cols; ++c) Cell(strings.StringView(c, r));
      FBuf += "</row>\n";
      if (FBuf.size() >= kFlushAt) Flush();
      progress.Step(static_cast<std::int64_t>(r) * (cols + 1));
    }
    progress.Finish();
  }

  std::ostream& FOut;
  const TRLData& FSource;
  std::string FBuf;
};

// ---- reading ------------------------------------------------------------------------------------

constexpr unsigned kParseFlags = pugi::parse_default | pugi::parse_embed_pcdata | pugi::parse_ws_pcdata_single;
// Slices handed to the parser hold whole children and about this many bytes.
constexpr std::size_t kSliceBytes = std::size_t{1} << 20;

bool NameIs(const pugi::xml_node& Node, const char* Name) { return std::strcmp(Node.name(), Name) == 0; }

// A whole decimal integer with optional blanks around it.
bool ParseWholeInt(const char* Text, std::int64_t& Value) {
  std::string_view s(Text);
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t' || s.front() == '\n' || s.front() == '\r')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\n' || s.back() == '\r')) s.remove_suffix(1);
  if (!s.empty() && s.front() == '+') s.remove_prefix(1);
  const auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), Value);
  return ec == std::errc() && end == s.data() + s.size() && !s.empty();
}

bool ParseCheckMode(const char* Text, TCheckMode& Mode) {
  static constexpr std::array<std::pair<std::string_view, TCheckMode>, 8> kNames{
      {{"none", cmNone}, {"box", cmBox}, {"radio", cmRadio}, {"0", cmNone}, {"1", cmBox}, {"2", cmRadio},
       {"false", cmNone}, {"true", cmBox}}};
  const std::string folded = FoldCase(Text);
  for (const auto& [name, mode] : kNames) {
    if (folded == name) {
      Mode = mode;
      return true;
    }
  }
  return false;
}

// The text of an element as stored: percent-decoded when marked so.
// Scratch holds decoded text; the result points into the node or Scratch.
bool NodeValue(const pugi::xml_node& Node, std::string& Scratch, std::string_view& Value) {
  Value = Node.text().get();
  const pugi::xml_attribute enc = Node.attribute("enc");
  if (!enc) return true;
  if (std::strcmp(enc.value(), "pct") != 0 || !PercentDecode(Value, Scratch)) return false;
  Value = Scratch;
  return true;
}

class TDocumentReader {
 public:
  TDocumentReader(std::string_view DataID, TRLData& Target) : FDataID(DataID), FTarget(Target) {}

  bool Read(std::string_view Text, const TXmlDocumentScanner& Scan) {
    FElements = Scan.Elements();
    if (Scan.RootIsEmptyTag() || !ReadRoot(Text.substr(Scan.RootTagBegin(), Scan.RootTagEnd() - Scan.RootTagBegin()),
                                           Scan.RootName()))
      return false;
    FContents.CommonHeader = TRLData::DefaultCommonHeader;
    const std::vector<std::size_t>& cuts = Scan.Cuts();
    for (std::size_t first = 0; first + 1 < cuts.size();) {
      std::size_t last = first + 1;
      while (last + 1 < cuts.size() && cuts[last + 1] - cuts[first] <= kSliceBytes) ++last;
      if (!ReadSlice(Text.substr(cuts[first], cuts[last] - cuts[first]))) return false;
      first = last;
    }
    if (!FHaveCols || !FHaveRows || FRowsRead != FContents.NrOfRows || !Allocate()) return false;
    FProgress->Finish();
    FTarget.ReplaceContents(std::move(FContents));
    return true;
  }

 private:
  bool ReadRoot(std::string_view StartTag, const std::string& RootName) {
    if (FoldCase(RootName) != "replist") return false;
    const std::string closed = std::string(StartTag) + "</" + RootName + ">";
    pugi::xml_document doc;
    if (!doc.load_buffer(closed.data(), closed.size(), kParseFlags, pugi::encoding_utf8)) return false;
    const pugi::xml_node root = doc.first_child();
    const pugi::xml_attribute version = root.attribute("version");
    if (version && std::string_view(version.value()).substr(0, std::string_view(version.value()).find('.')) !=
                       std::to_string(kLayoutVersion))
      return false;
    const pugi::xml_attribute enc = root.attribute("idenc");
    return StoredIdentifier(root.attribute("id").value(), enc ? enc.value() : nullptr, FContents.DataID) &&
           IdentifierMatches(FContents.DataID, FDataID);
  }

  bool ReadSlice(std::string_view Slice) {
    if (!FDoc.load_buffer(Slice.data(), Slice.size(), kParseFlags | pugi::parse_fragment, pugi::encoding_utf8))
      return false;
    for (pugi::xml_node node = FDoc.first_child(); node; node = node.next_sibling())
      if (node.type() == pugi::node_element && !ReadChild(node)) return false;
    return true;
  }

  bool ReadChild(const pugi::xml_node& Node) {
    if (NameIs(Node, "row")) return ReadRow(Node);
    switch (RepListXmlTagOf(Node.name())) {
      case xmlNumCols:
        return ReadSize(Node, FHaveCols, 1, FContents.NrOfColumns) && SizeColumns();
      case xmlNumRows:
        return ReadSize(Node, FHaveRows, 0, FContents.NrOfRows);
      case xmlCommonHd:
        return ReadText(Node, FContents.CommonHeader);
      case xmlComment:
        return ReadText(Node, FContents.Comment);
      case xmlColName:
      case xmlColumnFormat:
      case xmlCheckedColumn:
        return ReadColumn(Node);
      case xmlCell:
      case xmlEndReplist:
        return false;  // a cell outside a row
      case xmlInvalid:
        return true;  // unknown elements are skipped
    }
    return true;
  }

  bool ReadSize(const pugi::xml_node& Node, bool& Have, int Min, int& Value) {
    std::int64_t v = 0;
    if (Have || !ParseWholeInt(Node.text().get(), v) || v < Min || v >= std::numeric_limits<int>::max()) return false;
    Have = true;
    Value = static_cast<int>(v);
    return true;
  }

  bool ReadText(const pugi::xml_node& Node, std::string& Target) {
    std::string_view value;
    if (!NodeValue(Node, FScratch, value)) return false;
    Target.assign(value);
    return true;
  }

  // Per-column arrays with their defaults once numcols is known. Every
  // column of a document has at least one element, so a count beyond the
  // document's elements is a lie, refused before anything is allocated.
  bool SizeColumns() {
    const int cols = FContents.NrOfColumns;
    if (cols > FElements) return false;
    FContents.ColName.resize(static_cast<std::size_t>(cols));
    FContents.ColumnFormat.resize(static_cast<std::size_t>(cols));
    FContents.ColButMode.assign(static_cast<std::size_t>(cols), cmNone);
    for (int c = 1; c <= cols; ++c) FContents.ColName[static_cast<std::size_t>(c - 1)] = DefaultColumnName(c);
    return true;
  }

  bool ReadColumn(const pugi::xml_node& Node) {
    std::int64_t col = 0;
    if (!FHaveCols || !ParseWholeInt(Node.attribute("col").value(), col) || col < 1 || col > FContents.NrOfColumns)
      return false;
    const auto i = static_cast<std::size_t>(col - 1);
    std::string_view value;
    if (!NodeValue(Node, FScratch, value)) return false;
    switch (RepListXmlTagOf(Node.name())) {
      case xmlColName:
        FContents.ColName[i] = CutToBytes(value, RLNameLength);
        return true;
      case xmlColumnFormat:
        FContents.ColumnFormat[i] = CutToBytes(value, RLFormatLength);
        return true;
      default:
        return ParseCheckMode(std::string(value).c_str(), FContents.ColButMode[i]);
    }
  }

  // The cell storage once both sizes are known. Each cell of a document is
  // an element, so sizes beyond the document's elements are refused before
  // anything is allocated.
  bool Allocate() {
    if (FContents.Strings) return true;
    if (!FHaveCols || !FHaveRows) return false;
    const std::int64_t cells = std::int64_t{FContents.NrOfColumns} * std::max(FContents.NrOfRows, 1);
    if (cells > FElements) return false;
    try {
      FContents.Strings = std::make_unique<TStringArray>(FContents.NrOfColumns, std::max(FContents.NrOfRows, 1));
      FContents.Strings->SetAllocRowsBy(10);
    } catch (const EVORNError&) {
      return false;
    } catch (const std::bad_alloc&) {
      return false;
    }
    FProgress = std::make_unique<TPercentReporter>(
        [this](TObject*, int Percent) { FTarget.NotifyPercentDone(Percent); }, nullptr,
        cells + std::int64_t{FContents.NrOfRows});
    return true;
  }

  bool ReadRow(const pugi::xml_node& Row) {
    if (!Allocate() || FRowsRead >= FContents.NrOfRows) return false;
    const int r = ++FRowsRead;
    const int cols = FContents.NrOfColumns;
    TStringArray& strings = *FContents.Strings;
    int expect = 1;
    bool first = true;
    for (pugi::xml_node cell = Row.first_child(); cell; cell = cell.next_sibling()) {
      if (cell.type() != pugi::node_element || !NameIs(cell, "cell")) continue;
      int col = expect;
      if (const pugi::xml_attribute attr = cell.attribute("col")) {
        std::int64_t given = 0;
        if (!ParseWholeInt(attr.value(), given) || (given != expect && !(given == 0 && first))) return false;
        col = static_cast<int>(given);
      }
      if (col > cols) return false;
      std::string_view value;
      if (!NodeValue(cell, FScratch, value)) return false;
      strings.SetString(col, r, value);
      if (col > 0) expect = col + 1;
      first = false;
    }
    FProgress->Step(std::int64_t{r} * (cols + 1));
    return expect == cols + 1;
  }

  std::string_view FDataID;
  TRLData& FTarget;
  TRLContents FContents;
  pugi::xml_document FDoc;
  std::string FScratch;
  std::unique_ptr<TPercentReporter> FProgress;
  std::int64_t FElements = 0;
  bool FHaveCols = false;
  bool FHaveRows = false;
  int FRowsRead = 0;
};

bool ReadScanned(std::string_view Text, const TXmlDocumentScanner& Scan, std::string_view DataID, TRLData& Target) {
  try {
    TDocumentReader reader(DataID, Target);
    return reader.Read(Text, Scan);
  } catch (const std::bad_alloc&) {
    return false;
  }
}

// Reads one document's bytes from In into Text, leaving In right after the
// document's end element. Seekable streams are read in blocks and set back
// to that point; others are read up to each '>'.
TXmlDocumentScanner::TStatus ReadDocumentText(std::istream& In, TXmlDocumentScanner& Scan, std::string& Text) {
  std::streambuf* buf = In.rdbuf();
  if (!In || buf == nullptr) return TXmlDocumentScanner::dsFailed;
  const bool seekable = buf->pubseekoff(0, std::ios::cur, std::ios::in) != std::streampos(std::streamoff(-1));
  TXmlDocumentScanner::TStatus status = TXmlDocumentScanner::dsMore;
  if (seekable) {
    // Blocks grow from 4 KiB to 64 KiB, so that a small document costs
    // little and a large one few reads.
    constexpr std::size_t kLargestBlock = std::size_t{1} << 16;
    std::size_t block = std::size_t{1} << 12;
    while (status == TXmlDocumentScanner::dsMore) {
      const std::size_t old = Text.size();
      Text.resize(old + block);
      const auto got = static_cast<std::size_t>(buf->sgetn(Text.data() + old, static_cast<std::streamsize>(block)));
      Text.resize(old + got);
      status = Scan.Scan(Text, got < block);
      block = std::min(block * 2, kLargestBlock);
    }
    if (status == TXmlDocumentScanner::dsDone && Text.size() > Scan.End()) {
      buf->pubseekoff(-static_cast<std::streamoff>(Text.size() - Scan.End()), std::ios::cur, std::ios::in);
      Text.resize(Scan.End());
    }
    if (status != TXmlDocumentScanner::dsDone) In.setstate(std::ios::eofbit | std::ios::failbit);
    return status;
  }
  // A stream that cannot seek is read up to each '>', and in pieces of
  // bounded size, so that nothing after the document is taken from it.
  constexpr std::size_t kPiece = std::size_t{1} << 16;
  using Traits = std::streambuf::traits_type;
  bool atEnd = false;
  while (status == TXmlDocumentScanner::dsMore) {
    for (std::size_t n = 0; n < kPiece; ++n) {
      const Traits::int_type c = buf->sbumpc();
      if (Traits::eq_int_type(c, Traits::eof())) {
        atEnd = true;
        break;
      }
      Text += Traits::to_char_type(c);
      if (c == '>') break;
    }
    status = Scan.Scan(Text, atEnd);
  }
  if (atEnd) In.setstate(std::ios::eofbit);
  if (status != TXmlDocumentScanner::dsDone) In.setstate(std::ios::failbit);
  return status;
}

// ---- HTML -----------------------------------------------------------------------------------------

// Appends Text for HTML: markup characters escaped, line ends as <br>,
// bytes that are not valid text as U+FFFD.
void AppendHtml(std::string& Out, std::string_view Text) {
  for (std::size_t i = 0; i < Text.size();) {
    const char c = Text[i];
    std::size_t len = 1;
    switch (c) {
      case '&': Out += "&amp;"; break;
      case '<': Out += "&lt;"; break;
      case '>': Out += "&gt;"; break;
      case '"': Out += "&quot;"; break;
      case '\'': Out += "&#39;"; break;
      case '\n': Out += "<br>"; break;
      case '\r':
        Out += "<br>";
        if (i + 1 < Text.size() && Text[i + 1] == '\n') len = 2;
        break;
      default:
        len = XmlCharLength(Text.substr(i));
        if (len == 0) {
          Out += "\xEF\xBF\xBD";
          len = 1;
        } else {
          Out.append(Text.substr(i, len));
        }
    }
    i += len;
  }
}

void AppendClass(std::string& Out, const std::string& Class) {
  if (Class.empty()) return;
  Out += " class=\"";
  AppendHtml(Out, Class);
  Out += '"';
}

std::vector<int> ExportedColumns(const TRLData& Source, const THTMLTableOptions& Options) {
  const int lo = std::max(Options.LoC, 0);
  const int hi = std::min(Options.HiC, Source.NrOfColumns());
  std::vector<int> cols;
  if (Options.ColumnSelection.empty()) {
    for (int c = lo; c <= hi; ++c) cols.push_back(c);
  } else {
    std::copy_if(Options.ColumnSelection.begin(), Options.ColumnSelection.end(), std::back_inserter(cols),
                 [&](int c) { return c >= lo && c <= hi; });
  }
  return cols;
}

}  // namespace

// ---- tags ---------------------------------------------------------------------------------------------

const char* RepListXmlTagName(TRepListXmlTag Tag) { return kTagNames[std::min<std::size_t>(Tag, xmlInvalid)]; }

TRepListXmlTag RepListXmlTagOf(std::string_view ElementName) {
  for (std::size_t i = 0; i < xmlInvalid; ++i)
    if (ElementName == kTagNames[i]) return static_cast<TRepListXmlTag>(i);
  return xmlInvalid;
}

// ---- documents ----------------------------------------------------------------------------------------

bool ReadRepListDocument(std::string_view Text, std::string_view DataID, TRLData& Target) {
  TXmlDocumentScanner scan;
  if (scan.Scan(Text, true) != TXmlDocumentScanner::dsDone) return false;
  return ReadScanned(Text, scan, DataID, Target);
}

bool ReadRepListDocument(std::istream& In, std::string_view DataID, TRLData& Target) {
  TXmlDocumentScanner scan;
  std::string text;
  try {
    if (ReadDocumentText(In, scan, text) != TXmlDocumentScanner::dsDone) return false;
  } catch (const std::bad_alloc&) {
    return false;
  } catch (const std::ios_base::failure&) {
    return false;  // a read error (a folder opened as a file, a failing device)
  }
  return ReadScanned(text, scan, DataID, Target);
}

void WriteRepListDocument(std::ostream& Out, const TRLData& Source, bool CreateHeader, std::string_view DataID) {
  TDocumentWriter(Out, Source).Write(CreateHeader, DataID);
}

void SaveRepListDocument(const std::string& FileName, const TRLData& Source, std::string_view DataID) {
  try {
    SaveFileAtomically(FileName, [&](std::ostream& Out) { WriteRepListDocument(Out, Source, true, DataID); });
  } catch (const EFileError& e) {
    throw EVORNRLDataError(e.what());
  } catch (const EVORNRLDataError&) {
    throw EVORNRLDataError("Cannot write file \"" + FileName + "\"");
  }
}

bool CheckIfValidReplist(std::istream& InStream, std::string_view DataID) {
  constexpr std::size_t kMaxLine = std::size_t{1} << 20;
  using Traits = std::istream::traits_type;
  try {
    bool atEnd = !InStream || Traits::eq_int_type(InStream.peek(), Traits::eof());
    while (!atEnd) {
      const std::string line = ReadLnStream(InStream, atEnd, kMaxLine);
      const std::string folded = FoldCase(line);
      const std::size_t at = folded.find("<replist");
      if (at != std::string::npos && folded.find("tarvenix") != std::string::npos &&
          OpeningTagMatches(std::string_view(line).substr(at), DataID))
        return true;
    }
  } catch (const std::ios_base::failure&) {
    // a read error (a folder opened as a file, a failing device)
  }
  return false;
}

bool CheckIfValidReplist(const std::string& FileName, std::string_view DataID) {
  std::ifstream in(FileName, std::ios::binary);
  return in && CheckIfValidReplist(in, DataID);
}

// ---- HTML ---------------------------------------------------------------------------------------------

std::string HTMLTable(const TRLData& Source, const THTMLTableOptions& Options) {
  const std::vector<int> cols = ExportedColumns(Source, Options);
  const int loRow = std::max(Options.LoR, 1);
  const int hiRow = std::min(Options.HiR, Source.NrOfRows());
  std::string out = "<!DOCTYPE html>\n<html>\n<head>\n<meta charset=\"utf-8\">\n<title>";
  AppendHtml(out, Source.CommonHeader());
  out += "</title>\n</head>\n<body>\n<table border=\"" + std::to_string(Options.Border) + "\" cellspacing=\"" +
         std::to_string(Options.CellSpacing) + "\" cellpadding=\"" + std::to_string(Options.CellPadding) + '"';
  AppendClass(out, Options.TableClass);
  out += ">\n";
  if (Options.IncludeHeader) {
    out += "<thead>\n<tr>";
    for (const int c : cols) {
      out += "<th";
      AppendClass(out, Options.HeadClass);
      out += '>';
      AppendHtml(out, Source.Header(c));
      out += "</th>";
    }
    out += "</tr>\n</thead>\n";
  }
  out += "<tbody>\n";
  std::string text;
  for (int r = loRow; r <= hiRow; ++r) {
    out += "<tr>";
    for (const int c : cols) {
      text = Source.Elem(c, r);
      // The event's Sender is not const; the handler gets the model itself.
      // Looked up per cell: a handler may replace or clear the event.
      RaiseEvent(Source.OnBeforeHTMLExport(), const_cast<TRLData*>(&Source), text, c, r);
      out += "<td";
      AppendClass(out, Options.CellClass);
      out += '>';
      if (Source.ColumnCheckMode(c) != cmNone) out += Source.ElemChecked(c, r) ? "&#9745; " : "&#9744; ";
      AppendHtml(out, text);
      out += "</td>";
    }
    out += "</tr>\n";
  }
  out += "</tbody>\n</table>\n</body>\n</html>\n";
  return out;
}

void SaveHTMLTable(const std::string& FileName, const TRLData& Source, const THTMLTableOptions& Options) {
  const std::string html = HTMLTable(Source, Options);
  try {
    SaveFileAtomically(FileName, [&](std::ostream& Out) { Out.write(html.data(), static_cast<std::streamsize>(html.size())); });
  } catch (const EFileError& e) {
    throw EVORNRLDataError(e.what());
  }
}

}  // namespace vorn
