// Report list documents (XML), their recognition, and the HTML table export.
//
// Document layout, version 1 (UTF-8, one element per line, rows in the
// order they are shown):
//
//   <?xml version="1.0" encoding="UTF-8"?>          (when asked for)
//   <replist format="tarvenix" version="1" id="Sales">
//     <numcols>2</numcols>
//     <numrows>2</numrows>
//     <commonheader>Monthly sales</commonheader>
//     <comment>free text</comment>
//     <colname col="1">Name</colname>
//     <columnformat col="1">[s][120]</columnformat>
//     <checkedcolumn col="1">none</checkedcolumn>
//     <colname col="2">Paid</colname>
//     <columnformat col="2"></columnformat>
//     <checkedcolumn col="2">box</checkedcolumn>
//     <row><cell col="0">hidden value</cell><cell>Smith</cell><cell>X120.50</cell></row>
//     <row><cell>Jones</cell><cell/></row>
//   </replist>
//
// - The opening line holds the word tarvenix and, for a named data set,
//   id="<DataID>"; version is the layout's major version (a reader refuses
//   any other). Documents without a data set have no id attribute.
// - numcols (at least 1) and numrows (0 or more) come before the elements
//   that depend on them. colname, columnformat and checkedcolumn carry the
//   column number in col; a column without them gets the name C-<n>, an
//   empty format and no check mode. checkedcolumn holds none, box or radio
//   (0, 1, 2, false and true are read too).
// - One row element per row, numrows of them. A row holds exactly one cell
//   per column 1..numcols, in order, optionally preceded by the hidden
//   column's cell marked col="0" (written only when not empty). Cells hold
//   the stored strings: in check columns the first character is the check
//   mark ('X' checked, a blank unchecked).
// - Elements a reader does not know are skipped (xmlInvalid); comments and
//   processing instructions are allowed anywhere; a DOCTYPE is refused.
//
// Text encoding. Element text and attribute values are XML-escaped
// (&amp; &lt; &gt;, in attributes also &quot;); carriage returns are
// written as &#13;, and in attributes tabs, line feeds and leading or
// trailing blanks as &#9; &#10; &#32;, so that every byte survives a
// conforming parser unchanged. A value that XML 1.0 cannot carry at all
// (control characters other than tab, line feed and carriage return,
// U+FFFE, U+FFFF, or bytes that are not valid UTF-8) gets the attribute
// enc="pct" (for the identifier: idenc="pct" on the replist element) and,
// after XML unescaping, each such byte and every '%' of the value stand as
// %HH (two upper-case hexadecimal digits). A consumer therefore unescapes
// XML as usual and then, where enc="pct" is present, replaces every %HH by
// the byte HH. Names, formats and cells longer than their limits (50, 80,
// 255 bytes) are cut when read. Declared encodings are not converted: the
// bytes are taken as they are.
//
// Reading is all or nothing and stops at the end element of the document,
// so that several documents can follow each other in one stream; bytes
// after the end element are never looked at. A start or end tag longer
// than 64 KiB refuses the document. The data set of a document is its
// parsed id attribute (with idenc); a reader asked for a non-empty DataID
// refuses a document whose identifier differs from it without regard to
// case or to blanks around either.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "vorn/replist/rldata.h"

namespace vorn {

// The elements of a report list document.
enum TRepListXmlTag : std::uint8_t {
  xmlNumCols,
  xmlNumRows,
  xmlColName,
  xmlCheckedColumn,
  xmlCommonHd,
  xmlColumnFormat,
  xmlCell,
  xmlComment,
  xmlEndReplist,
  xmlInvalid
};

// The element name of a tag ("numcols", ..., "/replist", "invalidtag").
const char* RepListXmlTagName(TRepListXmlTag Tag);
// The tag of an element name; xmlInvalid for any name not in the list.
TRepListXmlTag RepListXmlTagOf(std::string_view ElementName);

// ---- documents -------------------------------------------------------------------

// Replaces Target's table by the document in Text (or the next document
// of In, read up to its end element); see TRLData::ReadFromXMLString. A
// stream whose next document is not well-formed (or is cut short) is left
// failed, since where it stands is then unknown; a well-formed document
// that is refused (another data set, sizes that do not match) leaves the
// stream after its end element, ready for the next one.
bool ReadRepListDocument(std::string_view Text, std::string_view DataID, TRLData& Target);
bool ReadRepListDocument(std::istream& In, std::string_view DataID, TRLData& Target);

// Writes Source as a document for DataID; raises EVORNRLDataError when the
// stream fails or when DataID is too long for the opening tag (whose
// escaped form readers accept up to 64 KiB).
void WriteRepListDocument(std::ostream& Out, const TRLData& Source, bool CreateHeader,
                          std::string_view DataID);
// Writes the document (with the XML declaration) through a temporary file;
// raises EVORNRLDataError naming the file.
void SaveRepListDocument(const std::string& FileName, const TRLData& Source, std::string_view DataID);

// True when a line of the file (stream) opens a report list document: it
// holds "<replist" and "tarvenix" (any case) and, for a non-empty DataID,
// the start tag that begins at "<replist" has an attribute id (quoted with
// ' or ", blanks allowed around '=') whose value, read as XML reads it and
// percent-decoded where idenc="pct" says so, equals DataID without regard
// to case or to blanks around either. The readers decide on the same
// attributes. A file that cannot be opened or read gives false.
bool CheckIfValidReplist(const std::string& FileName, std::string_view DataID);
bool CheckIfValidReplist(std::istream& InStream, std::string_view DataID);

// ---- HTML --------------------------------------------------------------------------

struct THTMLTableOptions {
  int LoC = 1;
  int LoR = 1;
  int HiC = 1;
  int HiR = 1;
  std::vector<int> ColumnSelection;  // columns in export order; empty: LoC..HiC
  int Border = 1;
  int CellSpacing = 0;
  int CellPadding = 2;
  bool IncludeHeader = true;
  std::string HeadClass;  // class of the header cells (none when empty)
  std::string CellClass;  // class of the data cells
  std::string TableClass;
};

// A complete UTF-8 HTML5 document with the common header as its title and
// the cells as a table. Cell texts (after OnBeforeHTMLExport) are escaped;
// line ends become <br>, bytes that are not valid text become U+FFFD.
// Cells of check columns start with a ballot box, checked or not.
std::string HTMLTable(const TRLData& Source, const THTMLTableOptions& Options);
// Writes HTMLTable to a file through a temporary file; raises
// EVORNRLDataError naming the file.
void SaveHTMLTable(const std::string& FileName, const TRLData& Source, const THTMLTableOptions& Options);

}  // namespace vorn
