# The screen flash at the end of a tone and the screensaver suppression while a tone plays.
if(QUOR_BUILD_UI)
  find_package(Qt6 REQUIRED COMPONENTS Core Gui Widgets DBus)

  add_library(quor_flash STATIC
    ${CMAKE_CURRENT_LIST_DIR}/FlashWindow.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FlashWindowPacing.cpp
    ${CMAKE_CURRENT_LIST_DIR}/FlashWindowSequence.cpp
  )
  target_include_directories(quor_flash PUBLIC ${CMAKE_CURRENT_LIST_DIR})
  target_link_libraries(quor_flash PUBLIC quor_engine Qt6::Widgets)
  quor_warnings(quor_flash)

  add_library(quor_screensaver STATIC
    ${CMAKE_CURRENT_LIST_DIR}/ScreensaverInhibitor.cpp
    ${CMAKE_CURRENT_LIST_DIR}/ScreensaverRule.cpp
  )
  target_include_directories(quor_screensaver PUBLIC ${CMAKE_CURRENT_LIST_DIR})
  target_link_libraries(quor_screensaver PUBLIC quor_engine Qt6::DBus)
  quor_warnings(quor_screensaver)
endif()
