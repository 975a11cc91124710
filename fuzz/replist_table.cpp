// Fuzz target for the writers of report lists: any table (names, formats,
// check modes, texts and cells from the input) written as a document reads
// back equal and is recognised for its data set; its HTML export has one
// cell per exported cell, escapes every text and is valid UTF-8; the
// default values of its column formats stay within the cell limit.
//
// Each run fills one table and checks one of these, picked by the last
// input byte: a run does a quarter of the work, and every check still sees
// every table the search makes.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "vorn/replist/rlxml.h"
#include "fuzz/oracle.h"

namespace {

std::string Document(const vorn::TRLData& Data, bool Header, const std::string& DataID) {
  std::ostringstream out;
  Data.WriteToXMLStream(out, Header, DataID);
  return out.str();
}

VORN_FUZZ_ORACLE std::size_t Count(const std::string& Text, std::string_view Word) {
  std::size_t n = 0;
  for (std::size_t at = Text.find(Word); at != std::string::npos; at = Text.find(Word, at + 1)) ++n;
  return n;
}

VORN_FUZZ_ORACLE bool ValidUtf8(std::string_view S) {
  for (std::size_t i = 0; i < S.size();) {
    const auto b = static_cast<unsigned char>(S[i]);
    const std::size_t len = b < 0x80 ? 1 : b >= 0xC2 && b <= 0xDF ? 2 : b >= 0xE0 && b <= 0xEF ? 3 : b >= 0xF0 && b <= 0xF4 ? 4 : 0;
    if (len == 0 || i + len > S.size()) return false;
    for (std::size_t k = 1; k < len; ++k)
      if ((static_cast<unsigned char>(S[i + k]) & 0xC0) != 0x80) return false;
    i += len;
  }
  return true;
}

void FillTable(FuzzedDataProvider& In, vorn::TRLData& Table) {
  const int cols = In.ConsumeIntegralInRange(1, 3);
  const int rows = In.ConsumeIntegralInRange(0, 3);
  Table.SetNrOfColumns(cols);
  Table.SetNrOfRows(rows);
  Table.SetDataID(In.ConsumeRandomLengthString(40));
  Table.SetComment(In.ConsumeRandomLengthString(40));
  Table.SetCommonHeader(In.ConsumeRandomLengthString(40));
  for (int c = 1; c <= cols; ++c) {
    Table.SetHeader(c, In.ConsumeRandomLengthString(60));
    Table.SetColumnFormat(c, In.ConsumeRandomLengthString(90));
  }
  for (int r = 1; r <= rows; ++r)
    for (int c = 0; c <= cols; ++c) Table.SetElem(c, r, In.ConsumeRandomLengthString(280));
  for (int c = 1; c <= cols; ++c) Table.SetColumnCheckMode(c, static_cast<vorn::TCheckMode>(In.ConsumeIntegralInRange(0, 2)));
  if (rows > 0 && In.ConsumeBool()) Table.SetElemChecked(In.ConsumeIntegralInRange(1, cols), In.ConsumeIntegralInRange(1, rows), true);
}

void CheckRoundTrip(FuzzedDataProvider& In, const vorn::TRLData& Table) {
  const bool header = In.ConsumeBool();
  const std::string document = Document(Table, header, Table.DataID());
  vorn::TRLData back(nullptr);
  if (!back.ReadFromXMLString(document, Table.DataID()) || Document(back, header, Table.DataID()) != document)
    std::abort();
}

void CheckRecognised(FuzzedDataProvider& In, const vorn::TRLData& Table) {
  std::istringstream lines(Document(Table, In.ConsumeBool(), Table.DataID()));
  if (!vorn::CheckIfValidReplist(lines, Table.DataID())) std::abort();
}

void CheckHTML(FuzzedDataProvider& In, const vorn::TRLData& Table) {
  vorn::THTMLTableOptions options;
  options.LoC = In.ConsumeIntegralInRange(-1, 5);
  options.HiC = In.ConsumeIntegralInRange(-1, 5);
  options.LoR = In.ConsumeIntegralInRange(-1, 6);
  options.HiR = In.ConsumeIntegralInRange(-1, 6);
  if (In.ConsumeBool()) options.ColumnSelection = {In.ConsumeIntegralInRange(-1, 5), In.ConsumeIntegralInRange(-1, 5)};
  options.IncludeHeader = In.ConsumeBool();
  options.CellClass = In.ConsumeRandomLengthString(20);
  const std::string html = vorn::HTMLTable(Table, options);
  const std::size_t cells = Count(html, "<td");
  const std::size_t rowsOut = Count(html, "<tr>") - (options.IncludeHeader ? 1 : 0);
  const std::size_t heads = Count(html, "<th>") + Count(html, "<th class");
  const std::size_t colsOut = options.IncludeHeader ? heads : (rowsOut > 0 ? cells / rowsOut : 0);
  if (cells != rowsOut * colsOut || !ValidUtf8(html) || Count(html, "<table") != 1) std::abort();
}

void CheckDefaultValues(FuzzedDataProvider& In, const vorn::TRLData& Table) {
  const int row = In.ConsumeIntegralInRange(-5, 1000000);
  for (int c = 0; c <= Table.NrOfColumns() + 1; ++c)
    if (Table.DefaultValue(c, row).size() > 255) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // Enough for a full 3 x 3 table with long names; more only slows runs.
  if (size > 1024) return 0;
  FuzzedDataProvider in(data, size);
  const int check = in.ConsumeIntegralInRange(0, 3);
  vorn::TRLData table(nullptr);
  FillTable(in, table);
  switch (check) {
    case 0: CheckRoundTrip(in, table); break;
    case 1: CheckRecognised(in, table); break;
    case 2: CheckHTML(in, table); break;
    default: CheckDefaultValues(in, table); break;
  }
  return 0;
}
