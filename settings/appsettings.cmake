# The application settings: the output settings, the waveform, the Tools options and the
# positive offset, kept between runs with QSettings.
find_package(Qt6 REQUIRED COMPONENTS Core)

add_library(quor_appsettings STATIC
  ${CMAKE_CURRENT_LIST_DIR}/AppSettings.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AppSettingsFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/AppSettingsValue.cpp
)
target_include_directories(quor_appsettings PUBLIC ${CMAKE_CURRENT_LIST_DIR})
target_link_libraries(quor_appsettings PUBLIC quor_engine PRIVATE Qt6::Core)
quor_warnings(quor_appsettings)
