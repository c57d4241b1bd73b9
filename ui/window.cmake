# The main window, the About window and the help viewer (Qt Widgets).
if(NOT QUOR_BUILD_UI)
  return()
endif()
find_package(Qt6 REQUIRED COMPONENTS Gui Widgets)

# The icon on its own, for the window and for the installed icon files drawn at build time.
add_library(quor_program_icon STATIC ${CMAKE_CURRENT_LIST_DIR}/ProgramIcon.cpp)
target_include_directories(quor_program_icon PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(quor_program_icon PUBLIC Qt6::Gui)
quor_warnings(quor_program_icon)

add_library(quor_window STATIC
  ${CMAKE_CURRENT_LIST_DIR}/ApplicationTitle.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ErrorText.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FileDialogs.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GeneratorLayout.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GeneratorMenu.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GeneratorScripts.cpp
  ${CMAKE_CURRENT_LIST_DIR}/GeneratorSettingsFiles.cpp
  ${CMAKE_CURRENT_LIST_DIR}/HelpWindow.cpp
  ${CMAKE_CURRENT_LIST_DIR}/LedFrame.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MessagePresenter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ProgramDataFolder.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ProgramWindows.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TAboutBox.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TfrmFrequencySlider.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TfrmGenerator.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TfrmScript.cpp
  ${CMAKE_CURRENT_LIST_DIR}/UpDown.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WaveFormList.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WaveformPictures.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WindowInputBlock.cpp
  ${CMAKE_CURRENT_LIST_DIR}/WindowScriptHost.cpp
)
set_target_properties(quor_window PROPERTIES AUTOMOC ON)
target_include_directories(quor_window PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(quor_window PUBLIC quor_engine quor_presets quor_appsettings quor_flash
                      quor_screensaver quor_program_icon quor_version quor_script_eventloop
                      Qt6::Widgets)
# Where the data lies from the executable once installed; see ProgramDataFolder.h.
file(RELATIVE_PATH quor_data_from_bin ${CMAKE_INSTALL_FULL_BINDIR}
     ${CMAKE_INSTALL_FULL_DATADIR}/quor-generator)
set_property(SOURCE ${CMAKE_CURRENT_LIST_DIR}/ProgramDataFolder.cpp APPEND PROPERTY
             COMPILE_DEFINITIONS QUOR_DATA_FROM_BIN="${quor_data_from_bin}")
quor_warnings(quor_window)
