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

// The success message: SplitDone, fileName, RunProgram, baseName, ".bat."
inline constexpr const char* SplitDone = "The file was split successfully.\nTo recreate ";
inline constexpr const char* RunProgram = " run the program ";

// Lines that the rejoin script shows under cmd, which reads them in echo
// commands: none holds & ^ ( ) % < > or |.
// "The piece ", its name, PieceDamagedEnd.
inline constexpr const char* PieceDamagedEnd =
    " is damaged: its contents differ from the original's. Copy it again and run this script again.";
// "The file ", its name, FileDamagedEnd.
inline constexpr const char* FileDamagedEnd =
    " was rebuilt, but its contents differ from the original's: it was not created correctly. "
    "Run this script again, and if this happens again, copy the pieces again.";
// After the success line, when the contents were checked, or only the sizes.
inline constexpr const char* ContentsChecked = "Its size and SHA-256, and those of every piece, match the original's.";
inline constexpr const char* SizesChecked =
    "Its size and those of every piece match the original's; the contents were not checked.";
// Once, when certutil gives no digest; then CheckByHandStart, the file's
// name, CheckByHandMiddle, its SHA-256, ".".
inline constexpr const char* ContentsNotChecked =
    "The contents cannot be checked here, as certutil is missing or gave no SHA-256: only the sizes are checked.";
inline constexpr const char* CheckByHandStart = "To check ";
inline constexpr const char* CheckByHandMiddle = " by other means once it is created, compare its SHA-256 with ";
// When the names make lines too long for COMMAND.COM (DOS, Windows 9x).
inline constexpr const char* NeedsWindowsNt =
    "This script needs Windows NT or later: its lines are too long for this command interpreter.";
inline constexpr const char* NoFolder =
    "The folder of this script cannot be opened, so its pieces cannot be found. Copy the script and its "
    "pieces into one folder on this computer and run the script there.";

} // namespace SplitMessages
