# Sources that need no window, GDI or registry. They build for Windows and,
# behind platform/WinSeam.h, natively on Linux for sanitizers and fuzzing.
# Every other .cpp under the subsystem folders is Windows-only and is found by glob.
set(MIREL_PORTABLE_SOURCES
  browser/BrowserCommandLine.cpp
  browser/CommandProgram.cpp
  dialog/ConsentLanguage.cpp
  dialog/ConsentWords.cpp
  dialog/LocationFromName.cpp
  dialog/ParameterSource.cpp
  dialog/TagReader.cpp
  html/CStringTokenizer.cpp
  html/FontNameIndex.cpp
  html/HtmlAttrib.cpp
  html/HtmlAttribList.cpp
  html/HtmlElement.cpp
  html/HtmlElementBuffer.cpp
  html/HtmlElementList.cpp
  html/HtmlParser.cpp
  html/HtmlScan.cpp
  html/HtmlTrace.cpp
  html/HtmlWord.cpp
  text/LineBreaks.cpp
  text/ParameterText.cpp
  text/TextEncoding.cpp
  text/WideText.cpp
  util/CMsString.cpp
  util/FileUtils.cpp
  util/FormatLength.cpp
  util/ModuleInstance.cpp
  util/OwnedPtrList.cpp
  util/PtrArray.cpp
  util/StringList.cpp
)

set(MIREL_SUBSYSTEM_DIRS util text window dialog html browser security)
