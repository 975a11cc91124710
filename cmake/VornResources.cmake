# Compiles every file of a folder into the library as a named byte array.
# The name of an entry is the file name without its extension; the library
# finds it with FindResourceImage(name).
function(vorn_embed_resources out_var dir)
  file(GLOB files CONFIGURE_DEPENDS ${dir}/*)
  list(SORT files)
  set(out ${PROJECT_BINARY_DIR}/generated/vorn_resources.cpp)
  add_custom_command(OUTPUT ${out}
    COMMAND ${CMAKE_COMMAND} -DOUT=${out} "-DFILES=${files}" -P ${PROJECT_SOURCE_DIR}/cmake/EmbedFiles.cmake
    DEPENDS ${files} ${PROJECT_SOURCE_DIR}/cmake/EmbedFiles.cmake
    COMMENT "Embedding built-in images"
    VERBATIM)
  set(${out_var} ${out} PARENT_SCOPE)
endfunction()
