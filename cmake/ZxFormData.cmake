# Turns a dialog's text form file into a C++ source that holds its bytes, so
# that a library carries its dialogs' layouts and a program needs no files
# beside it. Run as a script: cmake -DINPUT=... -DOUTPUT=... -DNAME=... -P
file(READ "${INPUT}" bytes HEX)
string(LENGTH "${bytes}" digits)
math(EXPR size "${digits} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "'\\\\x\\1'," bytes "${bytes}")
string(REGEX REPLACE "(([^,]*,){16})" "\\1\n    " bytes "${bytes}")
file(WRITE "${OUTPUT}.tmp"
"// Generated from ${NAME}.xfm: do not edit.
#include <string_view>

namespace {
const char Text[] = {
    ${bytes}'\\0'};
} // namespace

std::string_view FormData_${NAME}() {
    return std::string_view(Text, ${size});
}
")
file(COPY_FILE "${OUTPUT}.tmp" "${OUTPUT}" ONLY_IF_DIFFERENT)
file(REMOVE "${OUTPUT}.tmp")
