cmake_minimum_required(VERSION 3.20)
# Fails when FILE imports a DLL outside the Windows system set.
set(allowed KERNEL32 USER32 GDI32 SHELL32 WINMM WSOCK32 COMCTL32 COMDLG32 ADVAPI32 MSVCRT)
execute_process(COMMAND ${OBJDUMP} -p ${FILE} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "objdump failed on ${FILE}")
endif()
string(REGEX MATCHALL "DLL Name: [^\n]+" lines "${dump}")
foreach(line IN LISTS lines)
  string(REGEX REPLACE "DLL Name: ([^ \n\r]+)\\.[dD][lL][lL].*" "\\1" dll "${line}")
  string(TOUPPER "${dll}" dll)
  if(NOT dll IN_LIST allowed)
    message(FATAL_ERROR "${FILE} imports ${dll}.dll, which is not a Windows system DLL")
  endif()
endforeach()
# Functions of newer Windows that the programs look up while they run:
# imported, they would keep the programs from starting on Windows XP.
set(newer GetDpiForWindow GetDpiForSystem GetSystemMetricsForDpi GetDpiForMonitor LoadIconMetric
    LoadIconWithScaleDown SetProcessDpiAwarenessContext SetThreadDpiAwarenessContext)
foreach(function IN LISTS newer)
  if(dump MATCHES "[ \t]${function}[\r\n]")
    message(FATAL_ERROR "${FILE} imports ${function}, which Windows XP lacks: look it up at run time")
  endif()
endforeach()
# A program meant for the desktop must not open a console window.
if(GUI AND NOT dump MATCHES "Subsystem[ \t]+0*2[ \t]+\\(Windows GUI\\)")
  message(FATAL_ERROR "${FILE} is not a Windows GUI program")
endif()
