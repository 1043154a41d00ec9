@echo off
rem Checks one census piece: converts it with the layout found from its title
rem row, writes its findings page beside it and opens the page in the default
rem browser. The "Check with Merrowby" entry of a .csv file's right-click menu
rem runs it as: check-piece.cmd "<piece>"
rem The window stays open with the summary until a key is pressed. With the
rem environment variable MERROWBY_UNATTENDED set (as tests do), the page is
rem not opened and nothing waits for a key.
setlocal
"%~dp0tabbatch.exe" "%~1"
"%~dp0tabreport.exe" "%~1"
if errorlevel 12 goto done
if not defined MERROWBY_UNATTENDED start "" "%~dpn1.html"
:done
if not defined MERROWBY_UNATTENDED pause
