# The four memory presets over the engine's controls interface, and the tone settings files
# that hold them: plain C++, no toolkit.
add_library(quor_presets STATIC
  ${CMAKE_CURRENT_LIST_DIR}/FileReplace.cpp
  ${CMAKE_CURRENT_LIST_DIR}/MemoryRecord.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Presets.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ToneSettingsFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ToneSettingsFormat.cpp
)
target_include_directories(quor_presets PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(quor_presets PUBLIC quor_engine PRIVATE quor_textfile)
quor_warnings(quor_presets)
