# The example installer of the build (32- or 64-bit) under that build's Wine:
# Yes, No and the close command, each answered from outside by offerclick.
# The 32-bit one runs in the 32-bit prefix: a 64-bit prefix made before
# 32-bit Wine was installed cannot start 32-bit programs.
if(NOT TARGET offer_setup)
  return()
endif()
add_test(NAME wine_nsis_installer
  COMMAND ${CMAKE_SOURCE_DIR}/tests/installer/nsis-test.sh
    ${CMAKE_CROSSCOMPILING_EMULATOR} $<TARGET_FILE:offerclick> ${MIREL_NSIS_INSTALLER}
    ${MIREL_OFFER_FILE} ${CMAKE_BINARY_DIR}/nsis-test)
set_tests_properties(wine_nsis_installer PROPERTIES TIMEOUT 300)
