// Every text that a split shows to the user, in one place.
#pragma once

namespace SplitMessages {

inline constexpr const char* NoFile = "You must specify a file to split.";
inline constexpr const char* FileNotFound = "The file could not be found.";
inline constexpr const char* NoDirectory = "You must specify a directory for pieces.";
inline constexpr const char* DirectoryNotFound = "The directory could not be found.";
inline constexpr const char* NoCustomSize = "You must specify a custom size.";
inline constexpr const char* SizeNotWhole = "The size of the pieces must be a whole number.";
inline constexpr const char* TooManyBytes = "The pieces cannot be larger than 999,999,999 bytes.";
inline constexpr const char* TooManyKilobytes = "The pieces cannot be larger than 999,999 KB.";
// This one has never had a full stop; it stays as users know it.
inline constexpr const char* TooManyMegabytes = "The pieces cannot be larger than 999 MB";
inline constexpr const char* UnknownUnit = "The unit of the custom size must be Bytes, KB or MB.";
inline constexpr const char* SizeZero = "The size of the pieces must be at least 1 byte.";
inline constexpr const char* TooManyPieces =
    "The specified file size would result in more than 999 pieces, which is the maximum allowed.";

inline constexpr const char* OpenError = "There was an error opening the file.";
inline constexpr const char* ReadError = "There was an error reading the file.";
inline constexpr const char* WriteError = "There was an error writing to the file.";
inline constexpr const char* CloseError = "There was an error closing the file.";
// The file to split, refused as it opens or found changed after its last piece.
inline constexpr const char* SourceInUse =
    "The file is open in another program that may change it while it is split.\n"
    "Close that program and split the file again.";
inline constexpr const char* SourceNotOnDisk =
    "The file is not a file on a disk but a device or a pipe, so it cannot be split.\n"
    "Choose a file on a disk.";
inline constexpr const char* SourceChanged =
    "The file changed while it was being split, so its pieces may not hold one version of it, and no "
    "rejoin script was written.\n"
    "Split it again when no program is writing to it.";

inline constexpr const char* PathTooLong =
    "The path of the pieces would be longer than the system allows.\n"
    "Choose a shorter directory for pieces or a shorter file name.";
// Followed by the name of the piece or script, then OverwritesSourceEnd.
inline constexpr const char* OverwritesSourceStart = "The file to split cannot be overwritten by its own ";
inline constexpr const char* OverwritesSourceEnd = ".\nChoose another directory for pieces.";
// An output name in the folder whose file could not be told apart from the source.
inline constexpr const char* FolderNotChecked =
    "The directory for pieces could not be checked: a file in it could not be told apart from the file "
    "to split, which the pieces might overwrite.\n"
    "Try again, or choose another directory for pieces.";
// Followed by the name, then BadScriptNameEnd (or NoScriptCharactersMiddle, below).
inline constexpr const char* BadScriptNameStart = "The name ";
inline constexpr const char* BadScriptNameEnd =
    " holds a character that the rejoin script cannot hold.\n"
    "Rename the file before splitting it.";

// BadScriptNameStart, the name, NoScriptCharactersMiddle, the script's name, NoScriptCharactersEnd.
inline constexpr const char* NoScriptCharactersMiddle = " cannot be written into the rejoin script ";
inline constexpr const char* NoScriptCharactersEnd =
    ": the character set in which the command interpreter reads the script "
    "has no equivalent for some of its characters.\n"
    "Rename the file before splitting it.";

// BadScriptNameStart, the name, DeviceNameEnd.
inline constexpr const char* DeviceNameEnd =
    " is reserved by Windows for a device: pieces or a file under it would go to that device, not to "
    "the disk.\n"
    "Rename the file before splitting it.";
// NoBaseNameStart, the file's name, NoBaseNameEnd.
inline constexpr const char* NoBaseNameStart = "The file ";
inline constexpr const char* NoBaseNameEnd =
    " cannot be split under this name: its pieces and rejoin script are named after the part of its path "
    "before the last dot, and that part has no name.\n"
    "Rename the file before splitting it.";
// OldScriptStart, the script's name, OldScriptEnd.
inline constexpr const char* OldScriptStart = "The rejoin script ";
inline constexpr const char* OldScriptEnd =
    " of an earlier split cannot be removed, and the new pieces must not be joined by it.\n"
    "Close any program that has it open, or delete it, and split the file again.";

// Files that the rejoin script makes beside the pieces: the file itself may
// not have the name of either (ASCII letters compared in either case).
// NamesTheScriptStart, the file's name, NamesTheScriptEnd.
inline constexpr const char* NamesTheScriptStart = "The file ";
inline constexpr const char* NamesTheScriptEnd =
    " cannot be split under this name: its rejoin script would have the same name and would "
    "overwrite itself while it runs.\n"
    "Rename the file before splitting it.";
// ScratchNameStart, the file's name, ScratchNameEnd.
inline constexpr const char* ScratchNameStart = "The file ";
inline constexpr const char* ScratchNameEnd =
    " cannot be split under this name: the rejoin script gathers the pieces in a scratch file of that "
    "name and deletes it.\n"
    "Rename the file before splitting it.";

// PieceNameStart, the file's name, PieceNameEnd: a file named as one of its
// own pieces would be (NAME.001 ... NAME.999), which the rejoin script takes
// for a piece, and a piece for the file.
inline constexpr const char* PieceNameStart = "The file ";
inline constexpr const char* PieceNameEnd =
    " cannot be split under this name: one of its own pieces would have the same name, and its rejoin "
    "script would take the one for the other.\n"
    "Rename the file before splitting it.";

// The success message: SplitDone, fileName, RunProgram, baseName, ".bat."
inline constexpr const char* SplitDone = "The file was split successfully.\nTo recreate ";
inline constexpr const char* RunProgram = " run the program ";

// Lines that the rejoin script shows. cmd reads them in echo commands: none
// holds & ^ ( ) % < > or |. A name goes between the parts of each.

// The first lines, for anyone who opens the script: RunStart, the file's
// name, RunOnWindows, the script's name; then RunElsewhere, the command.
inline constexpr const char* RunStart = "To rebuild ";
inline constexpr const char* RunOnWindows = " from its pieces in this folder: on Windows, run ";
inline constexpr const char* RunElsewhere = "on Linux or macOS, run: ";

// FileStart, the file's name, then one of the ends.
inline constexpr const char* FileStart = "The file ";
inline constexpr const char* CreatingEnd = " is now being created . . .";
inline constexpr const char* CreatedEnd = " was successfully created.";
inline constexpr const char* NotCreatedEnd = " was not created.";
// FileStart, the name, SizeMiddle, the size found, SizeInsteadOf, the size
// expected, then WrongFileSizeEnd, or PieceSizeEnd after PieceStart.
inline constexpr const char* SizeMiddle = " has ";
inline constexpr const char* SizeInsteadOf = " bytes instead of ";
inline constexpr const char* WrongFileSizeEnd = ": it was not created correctly.";
// CopyFailedStart, the file's name, CopyFailedMiddle, its size, CopyFailedEnd:
// a copy that failed although every piece could be read and the folder
// written, which leaves a full disk as the likely cause.
inline constexpr const char* CopyFailedStart = "A copy failed: the file ";
inline constexpr const char* CopyFailedMiddle =
    " was not created. The disk may be full: the file needs room for ";
inline constexpr const char* CopyFailedEnd =
    " bytes here. Make room, or copy this script and its pieces to a disk that has it, and run the script there.";
// NotWritableStart, the file's name, NotWritableEnd.
inline constexpr const char* NotWritableStart = "The file ";
inline constexpr const char* NotWritableEnd =
    " cannot be created here, as this folder cannot be written to. Copy this script and its pieces into a "
    "folder that can, and run the script there.";
// FileStart, the file's name, StoppedEnd: sh, when the rebuild is interrupted.
inline constexpr const char* StoppedEnd = " was not created, as the rebuild was stopped. Run this script again.";

// PieceStart, the piece's name, then one of the ends.
inline constexpr const char* PieceStart = "The piece ";
inline constexpr const char* PieceMissingEnd = " is missing: copy it into this folder and run this script again.";
inline constexpr const char* PieceSizeEnd = ": copy it again and run this script again.";
inline constexpr const char* PieceFolderEnd =
    " is a folder, not a file: copy the piece itself into this folder and run this script again.";
inline constexpr const char* PieceUnreadableEnd =
    " cannot be read: another program may be using it, or you may lack the permission to read it. Close "
    "that program, or copy the piece again, and run this script again.";
inline constexpr const char* PieceDamagedEnd =
    " is damaged: its contents differ from the original's. Copy it again and run this script again.";
inline constexpr const char* FileDamagedEnd =
    " was rebuilt, but its contents differ from the original's: it was not created correctly. "
    "Run this script again, and if this happens again, copy the pieces again.";

// Progress: JoiningStart, the number of pieces, JoiningEnd (JoiningOne for one).
inline constexpr const char* CheckingPieces = "Checking the pieces . . .";
inline constexpr const char* JoiningStart = "Joining ";
inline constexpr const char* JoiningEnd = " pieces . . .";
inline constexpr const char* JoiningOne = "Joining 1 piece . . .";
inline constexpr const char* CheckingFile = "Checking the SHA-256 of the file . . .";
inline constexpr const char* CheckingEveryPiece = "Checking the SHA-256 of every piece . . .";

// After the success line, when the contents were checked, or only the sizes,
// or (COMMAND.COM) only that the pieces are there.
inline constexpr const char* ContentsChecked = "Its size and SHA-256, and those of every piece, match the original's.";
inline constexpr const char* SizesChecked =
    "Its size and those of every piece match the original's; the contents were not checked.";
// COMMAND.COM shows at most 98 characters of it.
inline constexpr const char* PresenceChecked = "Only the pieces' presence was checked, not their sizes or contents.";
// Once, when no SHA-256 can be computed here; then CheckByHandStart, the
// file's name, CheckByHandMiddle, its SHA-256, "."; then HowToHashStart,
// the file's name quoted, HowToHashWindows, it again, HowToHashOr, it again,
// HowToHashEnd.
inline constexpr const char* ContentsNotChecked =
    "The contents cannot be checked here, as certutil is missing or gave no SHA-256: only the sizes are checked.";
inline constexpr const char* NoHashTool =
    "The contents cannot be checked here, as sha256sum, shasum and openssl are all missing: only the sizes "
    "are checked.";
inline constexpr const char* CheckByHandStart = "To check ";
inline constexpr const char* CheckByHandMiddle = " by other means once it is created, compare its SHA-256 with ";
inline constexpr const char* HowToHashStart = "Its SHA-256 is printed by certutil -hashfile ";
inline constexpr const char* HowToHashWindows = " SHA256 on Windows 7 and later, and by sha256sum ";
inline constexpr const char* HowToHashOr = " or shasum -a 256 ";
inline constexpr const char* HowToHashEnd = " elsewhere.";

// A file of the rebuilt name already here: FileStart, its name, then one of the ends.
inline constexpr const char* CheckingExistingEnd = " is already here: checking its SHA-256 . . .";
inline constexpr const char* AlreadyHereEnd =
    " is already here, with the original's size and SHA-256: it was left as it is.";
inline constexpr const char* DiffersEnd = " that is already here differs from the original.";
inline constexpr const char* UnprovenEnd =
    " that is already here cannot be compared with the original, as its contents cannot be checked here.";
inline constexpr const char* UncheckableEnd =
    " is already here, and this command interpreter cannot compare it with the original.";
// FolderStart, the name, FolderEnd.
inline constexpr const char* FolderStart = "There is already a folder named ";
inline constexpr const char* FolderEnd = " here.";
// Asked before a file already here is replaced; no answer means no.
inline constexpr const char* ReplacePrompt = "Replace it with the file rebuilt from the pieces? [y/N] ";
// KeptStart, the file's name, KeptEnd: short enough for COMMAND.COM's
// lines with a DOS name.
inline constexpr const char* KeptStart = "Nothing was replaced. To rebuild ";
inline constexpr const char* KeptEnd = " here, move or rename the one here, then run this script again.";

// When the names make lines too long for COMMAND.COM (DOS, Windows 9x).
inline constexpr const char* NeedsWindowsNt =
    "This script needs Windows NT or later: its lines are too long for this command interpreter.";
inline constexpr const char* NoFolder =
    "The folder of this script cannot be opened, so its pieces cannot be found. Copy the script and its "
    "pieces into one folder on this computer and run the script there.";

} // namespace SplitMessages
