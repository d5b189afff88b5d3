#!/bin/sh
# The part of the rejoin script that sh runs on Linux and macOS, the same for
# every split; the build embeds it, without its comment lines, after the
# line :sh of every script. Before it, the script sets:
#   file, base    the file's name and the pieces' base name (NAME of NAME.001)
#   scratch       the name of the scratch file
#   count, part, last, size
#                 the number of pieces, the bytes of each but the last, of the
#                 last, and of the file
#   digest, digests
#                 the file's SHA-256, and each piece's, one a line
#   "$@"          the pieces, ./NAME.001 ..., in number order
# and a function for each message that it says: say_Name prints the message
# Name of the program's messages with its places filled by the arguments, as
# a line; ask_Name without the line end.
#
# As under cmd, the pieces are joined in the scratch file and proven there;
# then the file's name is taken in one rename, which no signal interrupts. A
# rebuild stopped before that leaves at most the scratch file, which every
# run first removes. The tools' complaints go to /dev/null: the script says
# what went wrong in its own words. Nothing here goes beyond POSIX sh and the
# tools every Linux and macOS has.
# shellcheck disable=SC2154

say() { printf '%s\n' "$1"; }
# p: the name of piece number $1.
piece() {
	n=$((1000 + $1))
	p=$base.${n#1}
}
# sum: the SHA-256 of file $1, through whichever tool there is.
digestof() {
	case $tool in
	sha256sum) sum=$(sha256sum 2> /dev/null < "$1") ;;
	shasum) sum=$(shasum -a 256 2> /dev/null < "$1") ;;
	*) sum=$(openssl dgst -sha256 2> /dev/null < "$1") ;;
	esac
	sum=${sum##*= }
	sum=${sum%% *}
}
# Names every piece that cannot be read; true when there is one.
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
# Run by the trap for a signal.
# shellcheck disable=SC2317
stopped() {
	rm -f "./$scratch"
	say_Stopped "$file"
	exit 1
}

# The script's own folder, however it was started.
case $0 in */*) here=${0%/*}/ ;; *) here=./ ;; esac
case $here in /*) ;; *) here=./$here ;; esac
cd "$here" || {
	say_NoFolder
	exit 1
}
trap stopped HUP INT TERM
# A scratch file of an earlier run cut short.
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

# Every piece there, a file, readable, and of its size; nothing opened yet.
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
	# One line a piece, its size first, then a total when there are two or more.
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

# A file of the rebuilt name already here: equal to the original, it stays,
# with success; else it is replaced only after the user's yes.
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

# The join, in the scratch file, made first to see that the folder takes it.
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

# The proof: the SHA-256, or where no tool computes one, the size.
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

# The name, in one rename: over a file already here only after the yes.
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
