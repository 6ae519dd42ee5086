# Writes OUT: a Window element padded with spaces to exactly SIZE bytes, for
# the tests of the skin file size limit. Run with cmake -DOUT=... -DSIZE=... -P.
math(EXPR _padding "${SIZE} - 17")
string(REPEAT " " ${_padding} _spaces)
file(WRITE ${OUT} "<Window>${_spaces}</Window>")
