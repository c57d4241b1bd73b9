# The 8-bit code page of tone settings files and tone scripts: plain C++ over the C library's
# iconv, no toolkit.
add_library(quor_codepage STATIC ${CMAKE_CURRENT_LIST_DIR}/Windows1252.cpp)
target_include_directories(quor_codepage PUBLIC ${CMAKE_CURRENT_LIST_DIR})
quor_warnings(quor_codepage)
