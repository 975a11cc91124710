// TXmlDocumentScanner: finds where one XML document ends and where the
// children of its document element begin and end, without building a tree.
//
// The report list reader uses it to read exactly one document from a
// stream (leaving whatever follows unread) and to hand the document to the
// XML parser in slices of whole top-level children, so that the parser's
// tree never holds more than one slice at a time.
//
// The scanner knows comments, CDATA sections, processing instructions,
// quoted attribute values, end tags and empty-element tags; everything
// else (attribute syntax, matching of inner tag names, entities) is left
// to the parser that reads the slices. It refuses NUL bytes in the
// document, a DOCTYPE, text other than blanks before the document element,
// a start or end tag longer than MaxTagBytes and an end tag of the
// document element whose name differs from its start tag. Bytes after the
// document's end are never looked at.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace vorn {

class TXmlDocumentScanner {
 public:
  enum TStatus : std::uint8_t { dsMore, dsDone, dsFailed };

  // The longest start or end tag accepted, '<' and '>' included.
  static constexpr std::size_t MaxTagBytes = std::size_t{1} << 16;

  // Scans Text from where the last call stopped; Text must start with the
  // bytes given before (it may have grown). AtEnd says that no more bytes
  // will follow. dsMore asks for more bytes.
  TStatus Scan(std::string_view Text, bool AtEnd);

  // Valid after dsDone. Offsets into Text.
  [[nodiscard]] std::size_t End() const { return FEnd; }  // after the final '>'
  [[nodiscard]] std::size_t RootTagBegin() const { return FRootTagBegin; }
  [[nodiscard]] std::size_t RootTagEnd() const { return FRootTagEnd; }  // after its '>'
  [[nodiscard]] const std::string& RootName() const { return FRootName; }
  [[nodiscard]] bool RootIsEmptyTag() const { return FRootEmpty; }
  // Cut points of the document element's content: the first is the end of
  // its start tag, the last the start of its end tag, and between them lie
  // the ends of its top-level children. The content between two cut points
  // is a sequence of whole children, text, comments and instructions.
  [[nodiscard]] const std::vector<std::size_t>& Cuts() const { return FCuts; }
  // Number of elements inside the document element (at any depth).
  [[nodiscard]] std::int64_t Elements() const { return FElements; }

 private:
  enum TPlace : std::uint8_t { plProlog, plContent, plDone, plFailed };
  enum TMarkup : std::uint8_t { mkUnknown, mkInstruction, mkComment, mkCData, mkEndTag, mkStartTag };
  enum TStep : std::uint8_t { stMore, stDone, stFailed };

  TStatus Fail();
  TStatus Step(std::string_view Text, bool AtEnd);
  bool TagTooLong(std::size_t Scanned) const { return Scanned - FPos > MaxTagBytes; }
  bool SkipText(std::string_view Text);
  TStep ScanMarkup(std::string_view Text);
  TStep Classify(std::string_view Text);
  TStep FindTerminator(std::string_view Text, std::string_view Terminator);
  TStep ScanStartTag(std::string_view Text);
  TStep ScanEndTag(std::string_view Text);
  bool StartTag(std::string_view Name, bool Empty, std::size_t Begin, std::size_t End);
  bool EndTag(std::string_view Name, std::size_t Begin, std::size_t End);

  TPlace FPlace = plProlog;
  bool FInMarkup = false;
  TMarkup FMarkup = mkUnknown;
  std::size_t FPos = 0;       // next byte to look at (the '<' while in markup)
  std::size_t FResume = 0;    // where the search for the markup's end goes on
  char FQuote = 0;            // open quote inside a start tag
  std::size_t FNulChecked = 0;  // the document's bytes before this hold no NUL
  int FDepth = 0;
  std::size_t FEnd = 0;
  std::size_t FRootTagBegin = 0;
  std::size_t FRootTagEnd = 0;
  std::string FRootName;
  bool FRootEmpty = false;
  std::vector<std::size_t> FCuts;
  std::int64_t FElements = 0;
};

}  // namespace vorn
