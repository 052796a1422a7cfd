# Debian ships QScintilla for Qt 6 without a CMake package: find it by hand.
find_path(QSCINTILLA_INCLUDE_DIR Qsci/qsciscintilla.h
  PATHS /usr/include/x86_64-linux-gnu/qt6 /usr/include/qt6 ${Qt6Core_INCLUDE_DIRS})
find_library(QSCINTILLA_LIBRARY NAMES qscintilla2_qt6)
if(NOT QSCINTILLA_INCLUDE_DIR OR NOT QSCINTILLA_LIBRARY)
  message(FATAL_ERROR "QScintilla for Qt 6 not found (install libqscintilla2-qt6-dev)")
endif()
add_library(QScintilla::QScintilla UNKNOWN IMPORTED)
set_target_properties(QScintilla::QScintilla PROPERTIES
  IMPORTED_LOCATION ${QSCINTILLA_LIBRARY}
  INTERFACE_INCLUDE_DIRECTORIES ${QSCINTILLA_INCLUDE_DIR}
  INTERFACE_COMPILE_DEFINITIONS QSCINTILLA_DLL
  INTERFACE_LINK_LIBRARIES "Qt6::Widgets;Qt6::PrintSupport")
