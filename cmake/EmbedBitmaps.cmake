# Turns BMP files into the built-in bitmaps of a build without Windows resources: each file
# minus its 14-byte file header becomes a byte array, exactly what a BITMAP resource holds.
#   cmake -DOUTPUT=out.cpp -DBITMAPS="id=path|id=path" -P EmbedBitmaps.cmake
string(REPLACE "|" ";" pairs "${BITMAPS}")
set(arrays "")
set(cases "")
foreach(pair IN LISTS pairs)
    string(FIND "${pair}" "=" eq)
    string(SUBSTRING "${pair}" 0 ${eq} id)
    math(EXPR start "${eq} + 1")
    string(SUBSTRING "${pair}" ${start} -1 path)
    file(READ "${path}" hex OFFSET 14 HEX)
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
    string(REGEX REPLACE "((0x..,){24})" "\\1\n    " bytes "${bytes}")
    string(APPEND arrays "static const uint8_t kBitmap${id}[] = {\n    ${bytes}\n};\n\n")
    string(APPEND cases "    case ${id}:\n        return kBitmap${id};\n")
endforeach()
file(WRITE "${OUTPUT}.tmp"
"// Generated from BMP files by cmake/EmbedBitmaps.cmake; do not edit.
#include \"image/bmp_file.h\"

${arrays}std::span<const uint8_t> BuiltinBitmapBytes(uint16_t id) {
    switch (id) {
${cases}    default:
        return {};
    }
}
")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
