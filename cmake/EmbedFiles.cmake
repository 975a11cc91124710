# Writes OUT: a C++ source that registers the bytes of every file in FILES.
set(body "")
set(table "")
set(index 0)
foreach(f IN LISTS FILES)
  if(f STREQUAL "")
    continue()
  endif()
  get_filename_component(name ${f} NAME_WE)
  file(READ ${f} hex HEX)
  string(LENGTH "${hex}" hexlen)
  math(EXPR size "${hexlen} / 2")
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(APPEND body "const std::uint8_t kData${index}[] = {${bytes}};\n")
  string(APPEND table "    {\"${name}\", kData${index}, ${size}},\n")
  math(EXPR index "${index} + 1")
endforeach()
if(index EQUAL 0)
  set(table "    {\"\", nullptr, 0},\n")
endif()
file(WRITE ${OUT}.tmp "// Generated from vorn/resources/images; do not edit.
#include <cstdint>
#include \"vorn/resources/resources.h\"
namespace vorn {
namespace {
${body}
const TResourceImage kTable[] = {
${table}};
}  // namespace
std::span<const TResourceImage> ResourceImages() {
  return {kTable, ${index}};
}
}  // namespace vorn
")
file(COPY_FILE ${OUT}.tmp ${OUT} ONLY_IF_DIFFERENT)
