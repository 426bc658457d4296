# The configuration dialog, the preview's picture and the wait for messages on Windows; the
# dialog's trackbars come from the common controls.
target_sources(plasmora_platform_win32 PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/config_dialog_window.cpp
  ${CMAKE_CURRENT_LIST_DIR}/window_picture.cpp
  ${CMAKE_CURRENT_LIST_DIR}/message_wait.cpp
  ${CMAKE_CURRENT_LIST_DIR}/rgb_dib.cpp)
target_link_libraries(plasmora_platform_win32 PUBLIC comctl32 gdi32 user32)
