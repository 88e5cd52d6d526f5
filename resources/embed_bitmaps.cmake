# Writes a C++ source holding the bytes of the editor's .bmp files and the
# lookup table behind findEmbeddedBitmap().
#
#   cmake -DBITMAP_DIR=<dir with 1001.bmp ...> -DIDS="1001;1002;..." \
#         -DOUTPUT=<file.cpp> -P embed_bitmaps.cmake
#
# Plain CMake so the same step works for every toolchain, cross builds
# included.

foreach(var BITMAP_DIR IDS OUTPUT)
  if(NOT DEFINED ${var})
    message(FATAL_ERROR "embed_bitmaps.cmake needs -D${var}=...")
  endif()
endforeach()

set(source "// Generated from the .bmp files by embed_bitmaps.cmake; do not edit.\n")
string(APPEND source "#include \"resources/embedded_bitmaps.h\"\n\nnamespace {\n\n")
set(table "")
foreach(id IN LISTS IDS)
  set(path "${BITMAP_DIR}/${id}.bmp")
  if(NOT EXISTS "${path}")
    message(FATAL_ERROR "Missing bitmap ${path}")
  endif()
  file(READ "${path}" hex HEX)
  string(LENGTH "${hex}" digits)
  math(EXPR size "${digits} / 2")
  # One "0xNN," per byte, broken into lines of 32 bytes.
  string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
  string(REGEX REPLACE "(0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,0x..,)"
         "\\1\n" bytes "${bytes}")
  string(APPEND source "const unsigned char bitmap${id}[${size}] = {\n${bytes}\n};\n\n")
  string(APPEND table "    {${id}, bitmap${id}, sizeof bitmap${id}},\n")
endforeach()

string(APPEND source "const EmbeddedBitmap bitmaps[] = {\n${table}};\n\n}  // namespace\n\n")
string(APPEND source "const EmbeddedBitmap* findEmbeddedBitmap(int id) {\n")
string(APPEND source "    for (const EmbeddedBitmap& bitmap : bitmaps)\n")
string(APPEND source "        if (bitmap.id == id) return &bitmap;\n")
string(APPEND source "    return nullptr;\n}\n")

# Only touch the output when it changes, so an unchanged bitmap set does not
# recompile.
file(WRITE "${OUTPUT}.tmp" "${source}")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
