#include "vorn/replist/xmlscan.h"

#include <algorithm>
#include <cstring>

namespace vorn {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";

bool IsBlank(char C) { return C == ' ' || C == '\t' || C == '\r' || C == '\n'; }

bool AllBlank(std::string_view S) { return std::all_of(S.begin(), S.end(), IsBlank); }

// The element name at the start of a tag body: up to a blank, '/' or '>'.
std::string_view TagName(std::string_view Body) {
  std::size_t n = 0;
  while (n < Body.size() && !IsBlank(Body[n]) && Body[n] != '/' && Body[n] != '>') ++n;
  return Body.substr(0, n);
}

}  // namespace

TXmlDocumentScanner::TStatus TXmlDocumentScanner::Fail() {
  FPlace = plFailed;
  return dsFailed;
}

TXmlDocumentScanner::TStatus TXmlDocumentScanner::Scan(std::string_view Text, bool AtEnd) {
  if (FPlace == plFailed) return dsFailed;
  if (FPlace == plDone) return dsDone;
  const TStatus status = Step(Text, AtEnd);
  if (status == dsFailed) return status;
  // Until the end is found every byte given belongs to the document; after
  // it only those up to the end element do.
  const std::size_t own = status == dsDone ? FEnd : Text.size();
  if (FNulChecked < own) {
    if (std::memchr(Text.data() + FNulChecked, 0, own - FNulChecked) != nullptr) return Fail();
    FNulChecked = own;
  }
  return status;
}

TXmlDocumentScanner::TStatus TXmlDocumentScanner::Step(std::string_view Text, bool AtEnd) {
  while (FPlace == plProlog || FPlace == plContent) {
    if (!FInMarkup && !SkipText(Text)) return Fail();
    if (!FInMarkup) return AtEnd ? Fail() : dsMore;
    const TStep step = ScanMarkup(Text);
    if (step == stFailed) return Fail();
    if (step == stMore) return AtEnd ? Fail() : dsMore;
    FInMarkup = false;
  }
  return FPlace == plDone ? dsDone : dsFailed;
}

// Moves over character data up to the next '<' (entering markup there).
// Before the document element only blanks (and a byte order mark at the
// very start) may stand.
bool TXmlDocumentScanner::SkipText(std::string_view Text) {
  const void* lt = std::memchr(Text.data() + FPos, '<', Text.size() - FPos);
  const std::size_t stop = lt ? static_cast<std::size_t>(static_cast<const char*>(lt) - Text.data()) : Text.size();
  if (FPlace == plProlog) {
    std::string_view gap = Text.substr(FPos, stop - FPos);
    if (FPos == 0 && gap.starts_with(kBom)) gap.remove_prefix(kBom.size());
    // A byte order mark may still be arriving.
    const bool partialBom = FPos == 0 && !lt && kBom.starts_with(gap) && !gap.empty();
    if (!AllBlank(gap) && !partialBom) return false;
    if (partialBom) return true;
  }
  FPos = stop;
  if (lt) {
    FInMarkup = true;
    FMarkup = mkUnknown;
    FResume = FPos + 1;
    FQuote = 0;
  }
  return true;
}

TXmlDocumentScanner::TStep TXmlDocumentScanner::ScanMarkup(std::string_view Text) {
  if (FMarkup == mkUnknown) {
    const TStep step = Classify(Text);
    if (step != stDone) return step;
  }
  switch (FMarkup) {
    case mkInstruction:
      return FindTerminator(Text, "?>");
    case mkComment:
      return FindTerminator(Text, "-->");
    case mkCData:
      return FindTerminator(Text, "]]>");
    case mkEndTag:
      return ScanEndTag(Text);
    case mkStartTag:
      return ScanStartTag(Text);
    case mkUnknown:
      break;
  }
  return stFailed;
}

// Decides what kind of markup starts at FPos once enough bytes are there.
TXmlDocumentScanner::TStep TXmlDocumentScanner::Classify(std::string_view Text) {
  const std::string_view rest = Text.substr(FPos);
  const auto starts = [&](std::string_view Prefix) -> int {  // 1 yes, 0 no, -1 undecided
    if (rest.size() >= Prefix.size()) return rest.starts_with(Prefix) ? 1 : 0;
    return Prefix.starts_with(rest) ? -1 : 0;
  };
  if (rest.size() < 2) return stMore;
  switch (rest[1]) {
    case '?':
      FMarkup = mkInstruction;
      FResume = FPos + 2;
      return stDone;
    case '/':
      FMarkup = mkEndTag;
      FResume = FPos + 2;
      return stDone;
    case '!': {
      const int comment = starts("<!--");
      const int cdata = FPlace == plContent ? starts("<![CDATA[") : 0;
      if (comment < 0 || cdata < 0) return stMore;
      if (comment == 1) {
        FMarkup = mkComment;
        FResume = FPos + 4;
        return stDone;
      }
      if (cdata == 1) {
        FMarkup = mkCData;
        FResume = FPos + 9;
        return stDone;
      }
      return stFailed;  // DOCTYPE and declarations
    }
    default:
      FMarkup = mkStartTag;
      FResume = FPos + 1;
      return stDone;
  }
}

TXmlDocumentScanner::TStep TXmlDocumentScanner::FindTerminator(std::string_view Text, std::string_view Terminator) {
  const std::size_t found = Text.find(Terminator, FResume);
  if (found == std::string_view::npos) {
    // The terminator may begin in the last bytes seen so far.
    FResume = std::max(FResume, Text.size() >= Terminator.size() ? Text.size() - Terminator.size() + 1 : 0);
    return stMore;
  }
  FPos = found + Terminator.size();
  return stDone;
}

TXmlDocumentScanner::TStep TXmlDocumentScanner::ScanEndTag(std::string_view Text) {
  const std::size_t gt = Text.find('>', FResume);
  if (gt == std::string_view::npos) {
    FResume = Text.size();
    return TagTooLong(FResume) ? stFailed : stMore;
  }
  if (TagTooLong(gt + 1)) return stFailed;
  const std::size_t begin = FPos;
  std::string_view body = Text.substr(begin + 2, gt - begin - 2);
  while (!body.empty() && IsBlank(body.back())) body.remove_suffix(1);
  if (body.empty() || TagName(body).size() != body.size()) return stFailed;
  FPos = gt + 1;
  return EndTag(body, begin, FPos) ? stDone : stFailed;
}

TXmlDocumentScanner::TStep TXmlDocumentScanner::ScanStartTag(std::string_view Text) {
  std::size_t i = FResume;
  const std::size_t stop = std::min(Text.size(), FPos + MaxTagBytes + 1);
  for (; i < stop; ++i) {
    const char c = Text[i];
    if (FQuote != 0) {
      if (c == FQuote) FQuote = 0;
    } else if (c == '"' || c == '\'') {
      FQuote = c;
    } else if (c == '>') {
      break;
    } else if (c == '<') {
      return stFailed;
    }
  }
  if (i == stop) {
    FResume = i;
    return TagTooLong(i) ? stFailed : stMore;
  }
  if (TagTooLong(i + 1)) return stFailed;
  const std::size_t begin = FPos;
  const std::string_view name = TagName(Text.substr(begin + 1, i - begin - 1));
  if (name.empty()) return stFailed;
  const bool empty = i > begin + 1 && Text[i - 1] == '/';
  FPos = i + 1;
  return StartTag(name, empty, begin, FPos) ? stDone : stFailed;
}

bool TXmlDocumentScanner::StartTag(std::string_view Name, bool Empty, std::size_t Begin, std::size_t End) {
  if (FPlace == plProlog) {
    FRootName.assign(Name);
    FRootTagBegin = Begin;
    FRootTagEnd = End;
    FCuts.push_back(End);
    if (Empty) {
      FRootEmpty = true;
      FCuts.push_back(End);
      FEnd = End;
      FPlace = plDone;
    } else {
      FDepth = 1;
      FPlace = plContent;
    }
    return true;
  }
  ++FElements;
  if (!Empty)
    ++FDepth;
  else if (FDepth == 1)
    FCuts.push_back(End);
  return true;
}

bool TXmlDocumentScanner::EndTag(std::string_view Name, std::size_t Begin, std::size_t End) {
  if (FPlace != plContent) return false;
  --FDepth;
  if (FDepth == 0) {
    if (Name != FRootName) return false;
    FCuts.push_back(Begin);
    FEnd = End;
    FPlace = plDone;
  } else if (FDepth == 1) {
    FCuts.push_back(End);
  }
  return true;
}

}  // namespace vorn
