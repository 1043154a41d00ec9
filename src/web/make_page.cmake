# Writes merrowby.html: the page with its style, the module and its own script
# inlined. cmake -DTEMPLATE=... -DSTYLE=... -DMODULE=... -DSHEET_SCRIPT=... -DPAGE_SCRIPT=...
# -DOUT=... -P make_page.cmake
cmake_minimum_required(VERSION 3.25)
file(READ ${TEMPLATE} page)
file(READ ${STYLE} style)
file(READ ${MODULE} module)
file(READ ${SHEET_SCRIPT} scripts)
file(READ ${PAGE_SCRIPT} page_script)
string(APPEND scripts "\n${page_script}")
foreach(part module scripts)
  string(TOLOWER "${${part}}" lower)
  string(FIND "${lower}" "</script" at)
  if(NOT at EQUAL -1)
    message(FATAL_ERROR "${part} holds </script and cannot stand inline")
  endif()
endforeach()
# The module's loader would fetch its own inlined WebAssembly (a data:
# address); with no fetch in its scope it decodes it directly, so the page
# asks for nothing at all.
string(PREPEND module "const createMerrowby = (() => {\nconst fetch = undefined;\n")
string(APPEND module "\nreturn createMerrowby;\n})();\n")
string(REPLACE "@PAGE_STYLE@" "${style}" page "${page}")
string(REPLACE "@MODULE_SCRIPT@" "${module}" page "${page}")
string(REPLACE "@PAGE_SCRIPT@" "${scripts}" page "${page}")
file(WRITE ${OUT} "${page}")
