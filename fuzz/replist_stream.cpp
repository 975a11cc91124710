// Fuzz target for reading report list documents from streams: the input is
// read as a sequence of documents, from a seekable stream and from one that
// cannot seek and hands out its bytes in small pieces (as a pipe). Both
// must give the same results, read the same tables and stop at the same
// place; zero bytes after the input change nothing about its documents.
//
// Each run makes one of three comparisons, picked by the first byte:
// seekable stream against pipe over all documents, string against stream
// for the first document, string against the input followed by zero bytes.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <istream>
#include <sstream>
#include <streambuf>
#include <string>
#include <string_view>
#include <vector>

#include "vorn/replist/rlxml.h"
#include "fuzz/oracle.h"

namespace {

// A few documents fit; longer inputs only slow the search down.
constexpr std::size_t kMaxInput = 1536;
constexpr int kMaxDocuments = 4;

// A stream that cannot seek and delivers Piece bytes at a time.
class TPipeBuf : public std::streambuf {
 public:
  TPipeBuf(std::string_view Data, std::size_t Piece) : FData(Data), FPiece(Piece) {}

 protected:
  int_type underflow() override {
    if (FPos >= FData.size()) return traits_type::eof();
    const std::size_t n = std::min(FPiece, FData.size() - FPos);
    FChunk.assign(FData.substr(FPos, n));
    FPos += n;
    setg(FChunk.data(), FChunk.data(), FChunk.data() + FChunk.size());
    return traits_type::to_int_type(FChunk[0]);
  }

 private:
  std::string_view FData;
  std::size_t FPiece;
  std::string FChunk;
  std::size_t FPos = 0;
};

VORN_FUZZ_ORACLE std::string Snapshot(const vorn::TRLData& Data) {
  std::ostringstream out;
  Data.WriteToXMLStream(out, false, Data.DataID());
  return out.str();
}

// The outcome of each read (a snapshot, or "-" for a refusal) up to the
// first document that is not well-formed (after which the stream is failed
// and its position unknown), and otherwise what is left in the stream.
std::vector<std::string> ReadAll(std::istream& In, std::string_view DataID) {
  std::vector<std::string> results;
  vorn::TRLData table(nullptr);
  for (int i = 0; i < kMaxDocuments && !In.fail(); ++i)
    results.push_back(table.ReadFromXMLStream(In, DataID) ? Snapshot(table) : "-");
  if (In.fail()) return results;
  In.clear();
  std::string rest;
  std::getline(In, rest, '\xFF');
  results.push_back(rest.substr(0, 64));
  return results;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1 || size > kMaxInput) return 0;
  // The first byte picks the piece size of the pipe, the data set and the
  // comparison.
  const std::size_t piece = 1 + (data[0] & 0x0F);
  const std::string_view dataID = (data[0] & 0x10) != 0 ? "sales" : "";
  const int comparison = (data[0] >> 5) % 3;
  const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);
  if (text.find('\xFF') != std::string_view::npos) return 0;  // the marker that ends the rest

  if (comparison == 0) {
    std::istringstream seekable{std::string(text)};
    TPipeBuf pipe(text, piece);
    std::istream piped(&pipe);
    if (ReadAll(piped, dataID) != ReadAll(seekable, dataID)) std::abort();
    return 0;
  }
  // The first document reads the same from a string as from a stream, and
  // from a stream with zero bytes after the input.
  vorn::TRLData fromString(nullptr);
  const bool ok = fromString.ReadFromXMLString(text, dataID);
  std::istringstream stream(comparison == 1 ? std::string(text) : std::string(text) + std::string(100, '\0'));
  vorn::TRLData fromStream(nullptr);
  if (fromStream.ReadFromXMLStream(stream, dataID) != ok || (ok && Snapshot(fromStream) != Snapshot(fromString)))
    std::abort();
  return 0;
}
