# Writes a C++ source holding the bytes of the editor's .bmp files and the
# lookup table behind findEmbeddedBitmap(), and the larger steps' PNG files
# behind findEmbeddedPng().
#
#   cmake -DBITMAP_DIR=<dir with 1001.bmp ...> -DIDS="1001;1002;..." \
#         -DPNGS="1003-125;..." -DOUTPUT=<file.cpp> -P embed_bitmaps.cmake
#
# The PNG files (some megabytes) are pulled in by the assembler's .incbin
# rather than spelt out as C++ initialisers, which the compiler would take
# minutes and gigabytes over.
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

string(APPEND source "const EmbeddedBitmap bitmaps[] = {\n${table}};\n\n")

set(png_table "")
foreach(name IN LISTS PNGS)
  set(path "${BITMAP_DIR}/${name}.png")
  if(NOT EXISTS "${path}")
    message(FATAL_ERROR "Missing bitmap ${path}")
  endif()
  string(REPLACE "-" ";" parts "${name}")
  list(GET parts 0 id)
  list(GET parts 1 percent)
  set(symbol "velmora_png_${id}_${percent}")
  string(APPEND source "asm(\".section .rodata\\n${symbol}:\\n.incbin \\\"${path}\\\"\\n${symbol}_end:\\n.previous\");\n")
  string(APPEND source "extern const unsigned char png${id}_${percent}[] asm(\"${symbol}\");\n")
  string(APPEND source "extern const unsigned char png${id}_${percent}_end[] asm(\"${symbol}_end\");\n")
  string(APPEND png_table "    {${id}, ${percent}, png${id}_${percent}, static_cast<std::size_t>(png${id}_${percent}_end - png${id}_${percent})},\n")
endforeach()
if(png_table STREQUAL "")
  string(APPEND source "const EmbeddedPng* const pngs = nullptr;\nconstexpr std::size_t pngCount = 0;\n")
else()
  string(APPEND source "const EmbeddedPng pngs[] = {\n${png_table}};\nconstexpr std::size_t pngCount = sizeof pngs / sizeof pngs[0];\n")
endif()
string(APPEND source "\n}  // namespace\n\n")
string(APPEND source "const EmbeddedBitmap* findEmbeddedBitmap(int id) {\n")
string(APPEND source "    for (const EmbeddedBitmap& bitmap : bitmaps)\n")
string(APPEND source "        if (bitmap.id == id) return &bitmap;\n")
string(APPEND source "    return nullptr;\n}\n\n")
string(APPEND source "const EmbeddedPng* findEmbeddedPng(int id, int percent) {\n")
string(APPEND source "    for (std::size_t i = 0; i < pngCount; ++i)\n")
string(APPEND source "        if (pngs[i].id == id && pngs[i].percent == percent) return &pngs[i];\n")
string(APPEND source "    return nullptr;\n}\n")

# Only touch the output when it changes, so an unchanged bitmap set does not
# recompile.
file(WRITE "${OUTPUT}.tmp" "${source}")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
