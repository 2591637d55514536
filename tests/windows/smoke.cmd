@echo off
rem The packages and the program they install, on a real Windows: a mains
rem frequency the package refuses, then installed with a device number and a
rem mains frequency (T7105Report.exe beside the program), the entry rewritten
rem with /patchreg, a run on a machine without the camera, then removal (the
rem report with it); then the package with MAINSFREQUENCY=auto preset,
rem installed without properties and removed. Run it elevated, from a 64-bit
rem cmd, in the folder that scripts/package.sh --with-auto made (T7105Cfg.exe,
rem T7105Report.exe, T7105Cfg.msi, T7105Cfg-auto.msi); the msiexec logs
rem (refused.log, install.log, remove.log, install-auto.log, remove-auto.log)
rem stay there. One line per check, then "N passed, N failed"; the exit code
rem is 1 when any check failed.
rem
rem The program is run directly, not through start: from a batch file cmd
rem waits for it and sets ERRORLEVEL, and a program that is missing (a failed
rem install) gives 9009 where start would open a dialog that nobody closes.
setlocal
set "run_key=HKLM\Software\Microsoft\Windows\CurrentVersion\Run"
set "program=%SystemRoot%\System32\T7105Cfg.exe"
set "report=%SystemRoot%\System32\T7105Report.exe"
set "other=C:\Tools\other.exe /quiet"
set passed=0
set failed=0

rem Another program's Run value, which nothing but this script may touch.
reg add "%run_key%" /v T7105SmokeOther /t REG_SZ /d "%other%" /f /reg:64 >nul
call :run_value T7105SmokeOther
call :check "another Run value" "%other%" "%value%"

rem Refused before anything is changed: 1603, and the launch condition's
rem message in the verbose log (type reads it in the log's encoding, whichever
rem that is). Wine's msiexec writes no such message: there the check is
rem skipped, and named.
call :msiexec /i "%CD%\T7105Cfg.msi" /qn MAINSFREQUENCY=55 /l*v refused.log
call :check "msiexec /i MAINSFREQUENCY=55: exit code" 1603 %code%
call :program_state
call :check "%program%" absent %state%
set "refusal=absent"
type refused.log | find "MAINSFREQUENCY takes 50 or 60 (the mains frequency in hertz)" >nul && set "refusal=present"
reg query "HKLM\Software\Wine" >nul 2>&1
if errorlevel 1 (
  call :check "refused.log: the message naming MAINSFREQUENCY" present %refusal%
) else (
  echo skip  refused.log: the message naming MAINSFREQUENCY, which Wine's msiexec does not log
)

call :msiexec /i "%CD%\T7105Cfg.msi" /qn DEVICENUMBER=2 MAINSFREQUENCY=50 /l*v install.log
call :check "msiexec /i DEVICENUMBER=2 MAINSFREQUENCY=50: exit code" 0 %code%
call :program_state
call :check "%program%" present %state%
call :check "%report%" present %report_state%
call :run_value T7105Cfg.exe
call :check "Run value" "T7105Cfg.exe /d:2 /hz:50" "%value%"

"%program%" /patchreg /d:5
call :check "T7105Cfg.exe /patchreg /d:5: exit code" 0 %ERRORLEVEL%
call :run_value T7105Cfg.exe
call :check "Run value" "T7105Cfg.exe /d:5" "%value%"

rem Elevated, the run without the camera may write the key: the entry goes.
"%program%"
call :check "T7105Cfg.exe, no camera: exit code" 0 %ERRORLEVEL%
call :run_value T7105Cfg.exe
call :check "Run value" absent "%value%"

rem The entry back, so that the removal has one to take.
"%program%" /patchreg
call :check "T7105Cfg.exe /patchreg: exit code" 0 %ERRORLEVEL%
call :run_value T7105Cfg.exe
call :check "Run value before removal" T7105Cfg.exe "%value%"

call :msiexec /x "%CD%\T7105Cfg.msi" /qn /l*v remove.log
call :check "msiexec /x: exit code" 0 %code%
call :program_state
call :check "%program%" absent %state%
call :check "%report%" absent %report_state%
call :run_value T7105Cfg.exe
call :check "Run value" absent "%value%"

rem A release's T7105Cfg-auto.msi, as Group Policy installs it: no properties,
rem and the entry has /hz:auto, which the package presets.
call :msiexec /i "%CD%\T7105Cfg-auto.msi" /qn /l*v install-auto.log
call :check "msiexec /i T7105Cfg-auto.msi: exit code" 0 %code%
call :program_state
call :check "%program%" present %state%
call :run_value T7105Cfg.exe
call :check "Run value" "T7105Cfg.exe /hz:auto" "%value%"
call :msiexec /x "%CD%\T7105Cfg-auto.msi" /qn /l*v remove-auto.log
call :check "msiexec /x T7105Cfg-auto.msi: exit code" 0 %code%
call :program_state
call :check "%program%" absent %state%
call :run_value T7105Cfg.exe
call :check "Run value" absent "%value%"
call :run_value T7105SmokeOther
call :check "another Run value" "%other%" "%value%"

reg delete "%run_key%" /v T7105SmokeOther /f /reg:64 >nul
call :run_value T7105SmokeOther
call :check "another Run value, removed" absent "%value%"

echo %passed% passed, %failed% failed
if %failed% gtr 0 exit /b 1
exit /b 0

rem Runs msiexec with the arguments given and waits for it; sets code to its
rem exit code. 1618, another installation in progress (usual on a machine
rem just started, which is still installing), has it tried once more after
rem 30 seconds; ping is the pause that needs no console (timeout refuses to
rem run without one) and that Wine's cmd has too.
:msiexec
start "" /wait msiexec %*
set code=%ERRORLEVEL%
if not "%code%"=="1618" exit /b 0
echo msiexec answered 1618, another installation in progress: once more in 30 s
ping -n 31 127.0.0.1 >nul
start "" /wait msiexec %*
set code=%ERRORLEVEL%
exit /b 0

rem Sets value to the data of the Run value named %1 in the 64-bit view, or
rem to "absent". Windows' reg prints a missing value's error on stderr,
rem Wine's on stdout: only a REG_SZ line counts.
:run_value
set "value=absent"
for /f "tokens=2,*" %%a in ('reg query "%run_key%" /v %1 /reg:64 2^>nul') do if "%%a"=="REG_SZ" set "value=%%b"
exit /b 0

rem Sets state to present or absent: the installed program; report_state the
rem same for the report beside it.
:program_state
set state=absent
if exist "%program%" set state=present
set report_state=absent
if exist "%report%" set report_state=present
exit /b 0

rem One check: its name %1, the value expected %2 and the value got %3.
:check
if not "%~2"=="%~3" goto check_failed
set /a passed+=1
echo ok    %~1: %~3
exit /b 0
:check_failed
set /a failed+=1
echo FAIL  %~1: expected "%~2", got "%~3"
exit /b 0
