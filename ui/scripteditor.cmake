# The script editor's window (Qt Widgets), for its own program Quor_ScriptEditor.
if(NOT QUOR_BUILD_UI OR NOT TARGET quor_window)
  return()
endif()

add_library(quor_script_editor STATIC
  ${CMAKE_CURRENT_LIST_DIR}/ScriptHighlighter.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ScriptPlaySettings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ScriptTextEdit.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TfrmScriptEditor.cpp
)
set_target_properties(quor_script_editor PROPERTIES AUTOMOC ON)
target_include_directories(quor_script_editor PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(quor_script_editor PUBLIC quor_window quor_script quor_presets
                      quor_appsettings Qt6::Widgets)
quor_warnings(quor_script_editor)
