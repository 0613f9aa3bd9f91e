# Windows: the Qt libraries, plugins and Japanese translation beside the program, and
# two packages: a ZIP (a portable copy that keeps its files beside itself) and an NSIS
# installer (Start-menu entry, uninstaller; its copy keeps its files in Documents).
#   cmake --build build --target package
if(NOT WIN32)
  return()
endif()

# windeployqt through Qt's deployment support: qwindows, qico, windowsprintersupport and
# the other plugins the program and its printing library use, and the translations (qt_ja.qm
# among them). The program does not link Qt's print support, so the printing library is
# named too. The script as Qt's qt_generate_deploy_app_script writes it, with that library.
set(NARABIN_DEPLOY_SCRIPT ${CMAKE_CURRENT_BINARY_DIR}/deploy-narabin-$<CONFIG>.cmake)
file(GENERATE OUTPUT ${NARABIN_DEPLOY_SCRIPT} CONTENT "
include(\"${QT_DEPLOY_SUPPORT}\")
qt6_deploy_runtime_dependencies(
    EXECUTABLE \"\${QT_DEPLOY_BIN_DIR}/$<TARGET_FILE_NAME:narabin>\"
    ADDITIONAL_MODULES \"\${QT_DEPLOY_BIN_DIR}/$<TARGET_FILE_NAME:narabin_print>\"
    GENERATE_QT_CONF
)
")
install(SCRIPT ${NARABIN_DEPLOY_SCRIPT})
# A clean PC has no Visual C++ runtime: its DLLs go beside the program.
if(MSVC)
  set(CMAKE_INSTALL_SYSTEM_RUNTIME_DESTINATION bin)
  include(InstallRequiredSystemLibraries)
endif()

set(CPACK_GENERATOR ZIP NSIS)
set(CPACK_PACKAGE_NAME narabin)
set(CPACK_PACKAGE_VENDOR "Narabin developers")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "seat changes for a class of up to 28 pupils")
set(CPACK_PACKAGE_INSTALL_DIRECTORY "Narabin")
set(CPACK_PACKAGE_EXECUTABLES "narabin" "ならびん君")
set(CPACK_NSIS_DISPLAY_NAME "ならびん君")
set(CPACK_NSIS_PACKAGE_NAME "ならびん君")
set(CPACK_NSIS_MUI_ICON ${PROJECT_SOURCE_DIR}/resources/icons/narabin.ico)
set(CPACK_NSIS_MUI_UNIICON ${PROJECT_SOURCE_DIR}/resources/icons/narabin.ico)
set(CPACK_NSIS_INSTALLED_ICON_NAME "bin\\\\narabin.exe")
set(CPACK_NSIS_ENABLE_UNINSTALL_BEFORE_INSTALL ON)
# The installed copy is told so by a marker beside it: it then keeps the teacher's
# files in Documents\ならびん, where a portable copy keeps them beside itself.
set(CPACK_NSIS_EXTRA_INSTALL_COMMANDS "
  FileOpen $0 '$INSTDIR\\\\bin\\\\narabin-installed' w
  FileClose $0")
set(CPACK_NSIS_EXTRA_UNINSTALL_COMMANDS "
  Delete '$INSTDIR\\\\bin\\\\narabin-installed'")
include(CPack)
