:; eval "$(awk 'p{sub(/\r$/,"");print}/^:sh\r?$/{p=1}' "$0")";exit 1 #
@rem To rebuild README from its pieces in this folder: on Windows, run README.bat;
@rem on Linux or macOS, run: sh README.bat
@rem File: README
@rem Size: 700 bytes
@rem SHA-256: ffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffff
@echo off
if "%OS%"=="Windows_NT" setlocal EnableExtensions DisableDelayedExpansion
if "%OS%"=="Windows_NT" set "ParcelorFolder=%~dp0"
if "%OS%"=="Windows_NT" pushd "%~dp0"
if "%OS%"=="Windows_NT" if errorlevel 1 goto nofolder
if "%OS%"=="Windows_NT" set COPYCMD=/Y
if "%OS%"=="Windows_NT" set ParcelorDamaged=
if "%OS%"=="Windows_NT" set ParcelorUnchecked=
if "%OS%"=="Windows_NT" set ParcelorReplace=
if "%OS%"=="Windows_NT" set ParcelorMatched=0
echo The file README is now being created . . .
echo.
echo Checking the pieces . . .
if exist parcelor.tmp del parcelor.tmp
if not "%OS%"=="Windows_NT" if not exist README.001 echo The piece README.001 is missing: copy it into this folder and run this script again.
if not "%OS%"=="Windows_NT" if not exist README.001 goto notcreated
if "%OS%"=="Windows_NT" for %%f in (README.001) do if not "%%~zf"=="700" goto wrongpiece
if exist README goto present
:joinpieces
if "%OS%"=="Windows_NT" copy nul parcelor.tmp > nul 2> nul
if "%OS%"=="Windows_NT" if not exist parcelor.tmp goto readonly
echo Joining 1 piece . . .
copy /b README.001 parcelor.tmp > nul
if "%OS%"=="Windows_NT" if errorlevel 1 goto failed
if "%OS%"=="Windows_NT" for %%f in (parcelor.tmp) do set ParcelorSize=%%~zf
if "%OS%"=="Windows_NT" if not "%ParcelorSize%"=="700" goto wrongsize
if "%OS%"=="Windows_NT" echo Checking the SHA-256 of the file . . .
if "%OS%"=="Windows_NT" set "ParcelorFile=%ParcelorFolder%parcelor.tmp"
if "%OS%"=="Windows_NT" call :hash
if "%OS%"=="Windows_NT" if defined ParcelorHash if not "%ParcelorHash%"=="ffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffff" goto damaged
if "%OS%"=="Windows_NT" if "%ParcelorHash%"=="ffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffff" set /a ParcelorMatched+=1 > nul
if "%OS%"=="Windows_NT" if defined ParcelorReplace goto replace
ren parcelor.tmp README
if "%OS%"=="Windows_NT" if errorlevel 1 goto failed
if not exist README goto notcreated
echo The file README was successfully created.
if "%OS%"=="Windows_NT" if "%ParcelorMatched%"=="1" echo Its size and SHA-256, and those of every piece, match the original's.
if "%OS%"=="Windows_NT" if not "%ParcelorMatched%"=="1" echo Its size and those of every piece match the original's; the contents were not checked.
if not "%OS%"=="Windows_NT" echo Only the pieces' presence was checked, not their sizes or contents.
echo.
pause

goto end
:end
if "%OS%"=="Windows_NT" popd
goto done
:hash
set ParcelorHash=
if defined ParcelorUnchecked goto :eof
if not exist "%SystemRoot%\System32\certutil.exe" goto unchecked
set ParcelorLine=
for /f "skip=1 delims=" %%h in ('""%SystemRoot%\System32\certutil.exe" -hashfile "%%ParcelorFile%%" SHA256"') do if not defined ParcelorLine set "ParcelorLine=%%h"
if not defined ParcelorLine goto unchecked
set "ParcelorHash=%ParcelorLine:"=%"
set "ParcelorHash=%ParcelorHash: =%"
if not defined ParcelorHash goto unchecked
set "ParcelorRest=x%ParcelorHash%"
set "ParcelorRest=%ParcelorRest:0=%"
set "ParcelorRest=%ParcelorRest:1=%"
set "ParcelorRest=%ParcelorRest:2=%"
set "ParcelorRest=%ParcelorRest:3=%"
set "ParcelorRest=%ParcelorRest:4=%"
set "ParcelorRest=%ParcelorRest:5=%"
set "ParcelorRest=%ParcelorRest:6=%"
set "ParcelorRest=%ParcelorRest:7=%"
set "ParcelorRest=%ParcelorRest:8=%"
set "ParcelorRest=%ParcelorRest:9=%"
set "ParcelorRest=%ParcelorRest:a=%"
set "ParcelorRest=%ParcelorRest:b=%"
set "ParcelorRest=%ParcelorRest:c=%"
set "ParcelorRest=%ParcelorRest:d=%"
set "ParcelorRest=%ParcelorRest:e=%"
set "ParcelorRest=%ParcelorRest:f=%"
if not "%ParcelorRest%"=="x" goto unchecked
if "%ParcelorHash:~63%"=="" goto unchecked
if not "%ParcelorHash:~64%"=="" goto unchecked
set "ParcelorHash=%ParcelorHash:a=a%"
set "ParcelorHash=%ParcelorHash:b=b%"
set "ParcelorHash=%ParcelorHash:c=c%"
set "ParcelorHash=%ParcelorHash:d=d%"
set "ParcelorHash=%ParcelorHash:e=e%"
set "ParcelorHash=%ParcelorHash:f=f%"
goto :eof
:unchecked
set ParcelorHash=
set ParcelorUnchecked=1
echo The contents cannot be checked here, as certutil is missing or gave no SHA-256: only the sizes are checked.
echo To check README by other means once it is created, compare its SHA-256 with ffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffff.
echo Its SHA-256 is printed by certutil -hashfile "README" SHA256 on Windows 7 and later, and by sha256sum "README" or shasum -a 256 "README" elsewhere.
echo.
goto :eof
:wrongpiece
if "%OS%"=="Windows_NT" for %%f in (README.001) do set ParcelorSize=%%~zf
if "%OS%"=="Windows_NT" if not exist README.001 echo The piece README.001 is missing: copy it into this folder and run this script again.
if "%OS%"=="Windows_NT" if exist README.001 if not "%ParcelorSize%"=="700" for %%f in (README.001) do set ParcelorKind=%%~af
if "%OS%"=="Windows_NT" if exist README.001 if not "%ParcelorSize%"=="700" if "%ParcelorKind:~0,1%"=="d" echo The piece README.001 is a folder, not a file: copy the piece itself into this folder and run this script again.
if "%OS%"=="Windows_NT" if exist README.001 if not "%ParcelorSize%"=="700" if not "%ParcelorKind:~0,1%"=="d" echo The piece README.001 has %ParcelorSize% bytes instead of 700: copy it again and run this script again.
goto notcreated
:notcreated
echo The file README was not created.
echo.
pause
goto end
:readonly
echo The file README cannot be created here, as this folder cannot be written to. Copy this script and its pieces into a folder that can, and run the script there.
echo.
pause
goto end
:failed
if exist parcelor.tmp del parcelor.tmp
if "%OS%"=="Windows_NT" copy /b README.001 nul > nul 2> nul
if "%OS%"=="Windows_NT" if errorlevel 1 echo The piece README.001 cannot be read: another program may be using it, or you may lack the permission to read it. Close that program, or copy the piece again, and run this script again.
if "%OS%"=="Windows_NT" if errorlevel 1 set ParcelorDamaged=1
if "%OS%"=="Windows_NT" if defined ParcelorDamaged goto notcreated
echo A copy failed: the file README was not created. The disk may be full: the file needs room for 700 bytes here. Make room, or copy this script and its pieces to a disk that has it, and run the script there.
echo.
pause
goto end
:wrongsize
if exist parcelor.tmp del parcelor.tmp
echo The file README has %ParcelorSize% bytes instead of 700: it was not created correctly.
echo.
pause
goto end
:damaged
if exist parcelor.tmp del parcelor.tmp
echo Checking the SHA-256 of every piece . . .
if "%OS%"=="Windows_NT" set "ParcelorFile=%ParcelorFolder%README.001"
if "%OS%"=="Windows_NT" call :hash
if "%OS%"=="Windows_NT" if defined ParcelorHash if not "%ParcelorHash%"=="aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa101" echo The piece README.001 is damaged: its contents differ from the original's. Copy it again and run this script again.
if "%OS%"=="Windows_NT" if defined ParcelorHash if not "%ParcelorHash%"=="aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa101" set ParcelorDamaged=1
if "%OS%"=="Windows_NT" if defined ParcelorDamaged goto notcreated
echo The file README was rebuilt, but its contents differ from the original's: it was not created correctly. Run this script again, and if this happens again, copy the pieces again.
echo.
pause
goto end
:present
if not "%OS%"=="Windows_NT" goto uncheckable
set ParcelorAttributes=-
for %%f in (README) do set ParcelorAttributes=%%~af
if "%ParcelorAttributes:~0,1%"=="d" goto folder
set ParcelorReplace=1
if "%OS%"=="Windows_NT" for %%f in (README) do set ParcelorSize=%%~zf
if "%OS%"=="Windows_NT" if not "%ParcelorSize%"=="700" goto different
echo The file README is already here: checking its SHA-256 . . .
if "%OS%"=="Windows_NT" set "ParcelorFile=%ParcelorFolder%README"
if "%OS%"=="Windows_NT" call :hash
if not defined ParcelorHash goto unproven
if "%OS%"=="Windows_NT" if defined ParcelorHash if not "%ParcelorHash%"=="ffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffff" goto different
echo The file README is already here, with the original's size and SHA-256: it was left as it is.
echo.
pause
goto end
:different
echo The file README that is already here differs from the original.
goto ask
:unproven
echo The file README that is already here cannot be compared with the original, as its contents cannot be checked here.
:ask
set ParcelorAnswer=
set /p ParcelorAnswer=Replace it with the file rebuilt from the pieces? [y/N] 
if not defined ParcelorAnswer goto kept
set "ParcelorAnswer=%ParcelorAnswer:"=%"
if "%ParcelorAnswer:~0,1%"=="y" goto joinpieces
if "%ParcelorAnswer:~0,1%"=="Y" goto joinpieces
goto kept
:folder
echo There is already a folder named README here.
goto kept
:uncheckable
echo The file README is already here, and this command interpreter cannot compare it with the original.
:kept
echo Nothing was replaced. To rebuild README here, move or rename the one here, then run this script again.
goto notcreated
:replace
move /y parcelor.tmp README > nul
if errorlevel 1 goto failed
echo The file README was successfully created.
if "%OS%"=="Windows_NT" if "%ParcelorMatched%"=="1" echo Its size and SHA-256, and those of every piece, match the original's.
if "%OS%"=="Windows_NT" if not "%ParcelorMatched%"=="1" echo Its size and those of every piece match the original's; the contents were not checked.
if not "%OS%"=="Windows_NT" echo Only the pieces' presence was checked, not their sizes or contents.
echo.
pause

goto end
:nofolder
echo The folder of this script cannot be opened, so its pieces cannot be found. Copy the script and its pieces into one folder on this computer and run the script there.
echo.
pause
goto done
:sh
file='README'
base='README'
scratch=parcelor.tmp
count=1
part=700
last=700
size=700
digest=ffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffffff
digests='
aaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaaa101
'
set --
set -- "$@" './README.001'
ask_ReplacePrompt() { printf '%s' 'Replace it with the file rebuilt from the pieces? [y/N] '; }
say_AlreadyHere() { say 'The file '"$1"' is already here, with the original'\''s size and SHA-256: it was left as it is.'; }
say_CheckByHand() { say 'To check '"$1"' by other means once it is created, compare its SHA-256 with '"$2"'.'; }
say_CheckingEveryPiece() { say 'Checking the SHA-256 of every piece . . .'; }
say_CheckingExisting() { say 'The file '"$1"' is already here: checking its SHA-256 . . .'; }
say_CheckingFile() { say 'Checking the SHA-256 of the file . . .'; }
say_CheckingPieces() { say 'Checking the pieces . . .'; }
say_ContentsChecked() { say 'Its size and SHA-256, and those of every piece, match the original'\''s.'; }
say_CopyFailed() { say 'A copy failed: the file '"$1"' was not created. The disk may be full: the file needs room for '"$2"' bytes here. Make room, or copy this script and its pieces to a disk that has it, and run the script there.'; }
say_Differs() { say 'The file '"$1"' that is already here differs from the original.'; }
say_FileCreated() { say 'The file '"$1"' was successfully created.'; }
say_FileCreating() { say 'The file '"$1"' is now being created . . .'; }
say_FileDamaged() { say 'The file '"$1"' was rebuilt, but its contents differ from the original'\''s: it was not created correctly. Run this script again, and if this happens again, copy the pieces again.'; }
say_FileNotCreated() { say 'The file '"$1"' was not created.'; }
say_FileWrongSize() { say 'The file '"$1"' has '"$2"' bytes instead of '"$3"': it was not created correctly.'; }
say_FolderInTheWay() { say 'There is already a folder named '"$1"' here.'; }
say_HowToHash() { say 'Its SHA-256 is printed by certutil -hashfile '"$1"' SHA256 on Windows 7 and later, and by sha256sum '"$2"' or shasum -a 256 '"$3"' elsewhere.'; }
say_Joining() { say 'Joining '"$1"' pieces . . .'; }
say_JoiningOne() { say 'Joining 1 piece . . .'; }
say_Kept() { say 'Nothing was replaced. To rebuild '"$1"' here, move or rename the one here, then run this script again.'; }
say_NoFolder() { say 'The folder of this script cannot be opened, so its pieces cannot be found. Copy the script and its pieces into one folder on this computer and run the script there.'; }
say_NoHashTool() { say 'The contents cannot be checked here, as sha256sum, shasum and openssl are all missing: only the sizes are checked.'; }
say_NotWritable() { say 'The file '"$1"' cannot be created here, as this folder cannot be written to. Copy this script and its pieces into a folder that can, and run the script there.'; }
say_PieceDamaged() { say 'The piece '"$1"' is damaged: its contents differ from the original'\''s. Copy it again and run this script again.'; }
say_PieceFolder() { say 'The piece '"$1"' is a folder, not a file: copy the piece itself into this folder and run this script again.'; }
say_PieceMissing() { say 'The piece '"$1"' is missing: copy it into this folder and run this script again.'; }
say_PieceUnreadable() { say 'The piece '"$1"' cannot be read: another program may be using it, or you may lack the permission to read it. Close that program, or copy the piece again, and run this script again.'; }
say_PieceWrongSize() { say 'The piece '"$1"' has '"$2"' bytes instead of '"$3"': copy it again and run this script again.'; }
say_SizesChecked() { say 'Its size and those of every piece match the original'\''s; the contents were not checked.'; }
say_Stopped() { say 'The file '"$1"' was not created, as the rebuild was stopped. Run this script again.'; }
say_Unproven() { say 'The file '"$1"' that is already here cannot be compared with the original, as its contents cannot be checked here.'; }
say() { printf '%s\n' "$1"; }
piece() {
	n=$((1000 + $1))
	p=$base.${n#1}
}
digestof() {
	case $tool in
	sha256sum) sum=$(sha256sum 2> /dev/null < "$1") ;;
	shasum) sum=$(shasum -a 256 2> /dev/null < "$1") ;;
	*) sum=$(openssl dgst -sha256 2> /dev/null < "$1") ;;
	esac
	sum=${sum##*= }
	sum=${sum%% *}
}
unreadable() {
	found=
	for p in "$@"; do
		cat "$p" > /dev/null 2>&1 || {
			say_PieceUnreadable "${p#./}"
			found=1
		}
	done
	[ -n "$found" ]
}
stopped() {
	rm -f "./$scratch"
	say_Stopped "$file"
	exit 1
}
case $0 in */*) here=${0%/*}/ ;; *) here=./ ;; esac
case $here in /*) ;; *) here=./$here ;; esac
cd "$here" || {
	say_NoFolder
	exit 1
}
trap stopped HUP INT TERM
if [ -e "./$scratch" ] || [ -h "./$scratch" ]; then rm -f "./$scratch" 2> /dev/null; fi
tool=
for t in sha256sum shasum openssl; do
	if command -v $t > /dev/null 2>&1; then
		tool=$t
		break
	fi
done
say_FileCreating "$file"
say ''
say_CheckingPieces
bad=
for p in "$@"; do
	if [ -d "$p" ]; then
		say_PieceFolder "${p#./}"
	elif [ ! -f "$p" ]; then
		say_PieceMissing "${p#./}"
	elif [ ! -r "$p" ]; then
		say_PieceUnreadable "${p#./}"
	else
		continue
	fi
	bad=1
done
if [ -z "$bad" ] && ! sizes=$(wc -c "$@" 2> /dev/null); then
	unreadable "$@"
	bad=1
fi
if [ -z "$bad" ]; then
	k=0
	set -f
	IFS='
'
	for line in $sizes; do
		k=$((k + 1))
		[ $k -le "$count" ] || break
		got=${line#"${line%%[! ]*}"}
		got=${got%% *}
		want=$part
		[ $k -lt "$count" ] || want=$last
		piece $k
		[ "$got" = "$want" ] || {
			say_PieceWrongSize "$p" "$got" "$want"
			bad=1
		}
	done
	unset IFS
	set +f
fi
if [ -n "$bad" ]; then
	say_FileNotCreated "$file"
	exit 1
fi
if [ -z "$tool" ]; then
	say_NoHashTool
	say_CheckByHand "$file" "$digest"
	say_HowToHash "\"$file\"" "\"$file\"" "\"$file\""
	say ''
fi
replace=
kept=
if [ -d "./$file" ]; then
	say_FolderInTheWay "$file"
	kept=1
elif [ -e "./$file" ] || [ -h "./$file" ]; then
	got=$(wc -c 2> /dev/null < "./$file")
	got=${got##* }
	if [ "$got" = "$size" ] && [ -n "$tool" ] && [ "$size" != 0 ]; then
		say_CheckingExisting "$file"
		digestof "./$file"
		[ "$sum" = "$digest" ] || got=
	fi
	if [ "$got" = "$size" ] && { [ -n "$tool" ] || [ "$size" = 0 ]; }; then
		say_AlreadyHere "$file"
		exit 0
	fi
	if [ "$got" = "$size" ]; then say_Unproven "$file"; else say_Differs "$file"; fi
	ask_ReplacePrompt
	answer=
	read -r answer || answer=
	case $answer in [yY]*) replace=1 ;; *) kept=1 ;; esac
fi
if [ -n "$kept" ]; then
	say_Kept "$file"
	say_FileNotCreated "$file"
	exit 1
fi
set -C
if ! { true > "./$scratch"; } 2> /dev/null; then
	say_NotWritable "$file"
	exit 1
fi
set +C
if [ "$count" = 1 ]; then say_JoiningOne; else say_Joining "$count"; fi
if ! cat "$@" 2> /dev/null >> "./$scratch"; then
	rm -f "./$scratch"
	if unreadable "$@"; then
		say_FileNotCreated "$file"
	else
		say_CopyFailed "$file" "$size"
	fi
	exit 1
fi
if [ -z "$tool" ]; then
	got=$(wc -c < "./$scratch")
	got=${got##* }
	if [ "$got" != "$size" ]; then
		rm -f "./$scratch"
		say_FileWrongSize "$file" "$got" "$size"
		exit 1
	fi
else
	say_CheckingFile
	digestof "./$scratch"
	if [ "$sum" != "$digest" ]; then
		rm -f "./$scratch"
		say_CheckingEveryPiece
		damaged=
		k=0
		for d in $digests; do
			k=$((k + 1))
			piece $k
			digestof "./$p"
			[ "$sum" = "$d" ] || {
				say_PieceDamaged "$p"
				damaged=1
			}
		done
		if [ -n "$damaged" ]; then say_FileNotCreated "$file"; else say_FileDamaged "$file"; fi
		exit 1
	fi
fi
trap '' HUP INT TERM
if [ -d "./$file" ] || { [ -z "$replace" ] && { [ -e "./$file" ] || [ -h "./$file" ]; }; }; then
	rm -f "./$scratch"
	say_Kept "$file"
	say_FileNotCreated "$file"
	exit 1
fi
if ! mv -f "./$scratch" "./$file" 2> /dev/null; then
	rm -f "./$scratch"
	say_CopyFailed "$file" "$size"
	exit 1
fi
say_FileCreated "$file"
if [ -n "$tool" ]; then say_ContentsChecked; else say_SizesChecked; fi
exit 0
:done
