# Turns one scdoc source into a roff manual page and its gzip-compressed copy.
#   cmake -DSCDOC=scdoc -DSOURCE=x.1.scd -DOUTPUT=x.1 -DVERSION=1.0.0 [-DSOURCE_DATE_EPOCH=N]
#         -P build_man_page.cmake
# The page date is SOURCE_DATE_EPOCH's day when given (reproducible packages), else today.
cmake_minimum_required(VERSION 3.25)
if(SOURCE_DATE_EPOCH)
  set(ENV{SOURCE_DATE_EPOCH} ${SOURCE_DATE_EPOCH})
endif()
file(READ ${SOURCE} text)
string(REPLACE "@VERSION@" "${VERSION}" text "${text}")
file(WRITE ${OUTPUT}.scd "${text}")
execute_process(COMMAND ${SCDOC} INPUT_FILE ${OUTPUT}.scd OUTPUT_VARIABLE roff
                ERROR_VARIABLE errors RESULT_VARIABLE status)
file(REMOVE ${OUTPUT}.scd)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "scdoc failed on ${SOURCE}: ${errors}")
endif()
# Japanese has no spaces between words. A source line break after a Japanese character is no
# space: the lines are joined (every non-ASCII character ends in a byte 0x80-0xBF). groff's
# Japanese rules (ja.tmac) then break lines between any two characters but before closing
# punctuation; man-db loads them only under a Japanese locale, so the page asks for them itself.
# The man macros would switch hyphenation back on (HY), splitting option and file names.
string(ASCII 128 continuationFirst)
string(ASCII 191 continuationLast)
string(REGEX REPLACE "([${continuationFirst}-${continuationLast}])\n([^.'\n])" "\\1\\2"
       roff "${roff}")
# A run that may not be broken and is wider than the line makes groff 1.22's Japanese line
# breaking loop for good (man hangs on a narrow terminal): file names may break after a slash.
file(WRITE ${OUTPUT} "${roff}")
execute_process(COMMAND sed -e "/^[.']/!s|/|/\\\\:|g" ${OUTPUT} OUTPUT_VARIABLE roff
                COMMAND_ERROR_IS_FATAL ANY)
string(FIND "${roff}" "\n" firstLineEnd)
math(EXPR rest "${firstLineEnd} + 1")
string(SUBSTRING "${roff}" 0 ${rest} head)
string(SUBSTRING "${roff}" ${rest} -1 tail)
set(preamble ".\\\" Japanese line breaking in any locale, no hyphenation\n")
string(APPEND preamble ".if \\n(.g .mso ja.tmac\n.nr HY 0\n")
set(roff "${head}${preamble}${tail}")
file(WRITE ${OUTPUT} "${roff}")
execute_process(COMMAND gzip -9 -n -c ${OUTPUT} OUTPUT_FILE ${OUTPUT}.gz RESULT_VARIABLE status)
if(NOT status EQUAL 0)
  message(FATAL_ERROR "gzip failed on ${OUTPUT}")
endif()
