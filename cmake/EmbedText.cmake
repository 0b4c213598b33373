# Turns a text file into a C++ source holding its bytes, so that data a translator edits
# (the string table) is compiled into the program. Run with -DIN= -DOUT= -DSYMBOL=.
file(READ ${IN} hex HEX)
string(LENGTH "${hex}" len)
math(EXPR n "${len} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){32})" "\\1\n" bytes "${bytes}")
file(WRITE ${OUT} "// Generated from ${IN}; edit that file instead.\n#include <cstddef>\n\nnamespace qm {\nextern const unsigned char ${SYMBOL}[];\nextern const std::size_t ${SYMBOL}Size;\nconst unsigned char ${SYMBOL}[] = {\n${bytes}0x00};\nconst std::size_t ${SYMBOL}Size = ${n};\n} // namespace qm\n")
