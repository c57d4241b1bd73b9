# The start-up sequence with its splash, on top of the program's windows.
if(NOT TARGET quor_window)
  return()
endif()

add_library(quor_startup STATIC
  ${CMAKE_CURRENT_LIST_DIR}/SplashArtwork.cpp
  ${CMAKE_CURRENT_LIST_DIR}/StartupSequence.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TfrmStartSplash.cpp
)
target_include_directories(quor_startup PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(quor_startup PUBLIC quor_window)
quor_warnings(quor_startup)
