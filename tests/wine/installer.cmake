# The 64-bit example installer under wine64: Yes, No and the close command,
# each answered from outside by offerclick.
if(NOT TARGET offer_setup)
  return()
endif()
add_test(NAME wine_nsis_installer
  COMMAND ${CMAKE_SOURCE_DIR}/tests/installer/nsis-test.sh
    ${CMAKE_SOURCE_DIR}/tools/wine-run.sh $<TARGET_FILE:offerclick> ${MIREL_NSIS_INSTALLER}
    ${MIREL_OFFER_FILE} ${CMAKE_BINARY_DIR}/nsis-test)
set_tests_properties(wine_nsis_installer PROPERTIES TIMEOUT 300)
