# What the program's text files share: their 8-bit code page (over the C library's iconv) and
# the messages for files that cannot be opened, read or written. Plain C++, no toolkit.
add_library(quor_textfile STATIC
  ${CMAKE_CURRENT_LIST_DIR}/FileErrorText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Windows1252.cpp
)
target_include_directories(quor_textfile PUBLIC ${CMAKE_CURRENT_LIST_DIR})
quor_warnings(quor_textfile)
