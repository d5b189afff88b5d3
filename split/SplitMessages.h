// Every text that a split shows to the user, in one place.
#pragma once

#include <initializer_list>
#include <string>

// A text that names a file, a piece, a size or a command holds {} at each
// place of one, filled in order by fill(): by the name as it stands (in a
// message box), or as the line that shows it needs it (in the script, an
// echo line or sh). The texts that the rejoin script shows hold none of
// & ^ ( ) % < > | that cmd would act on in an echo line.
namespace SplitMessages {

// text with each {} filled, in order, by the next of values. The values are
// taken as they are, never searched for {} themselves.
inline std::string fill(const char* text, std::initializer_list<std::string> values)
{
    std::string filled;
    auto value = values.begin();
    for (const char* at = text; *at != '\0'; ++at) {
        if (at[0] == '{' && at[1] == '}' && value != values.end()) {
            filled += *value++;
            ++at;
        } else {
            filled += *at;
        }
    }
    return filled;
}

inline constexpr const char* NoFile = "You must specify a file to split.";
// The path typed.
inline constexpr const char* WildcardInName =
    "The name {} holds * or ?, which Windows reads as standing for other characters: no file's name holds them.\n"
    "Type the file's exact name, or choose it with Browse.";
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
inline constexpr const char* SourceInUse = "The file is open in another program that may change it while it is split.\n"
                                           "Close that program and split the file again.";
inline constexpr const char* SourceNotOnDisk =
    "The file is not a file on a disk but a device or a pipe, so it cannot be split.\n"
    "Choose a file on a disk.";
inline constexpr const char* SourceChanged =
    "The file changed while it was being split, so its pieces may not hold one version of it, and no "
    "rejoin script was written.\n"
    "Split it again when no program is writing to it.";

inline constexpr const char* PathTooLong = "The path of the pieces would be longer than the system allows.\n"
                                           "Choose a shorter directory for pieces or a shorter file name.";
// The piece or the script, as "piece NAME.001" or "rejoin script NAME.bat".
inline constexpr const char* OverwritesSource =
    "The file to split cannot be overwritten by its own {}.\nChoose another directory for pieces.";
// An output name in the folder whose file could not be told apart from the source.
inline constexpr const char* FolderNotChecked =
    "The directory for pieces could not be checked: a file in it could not be told apart from the file "
    "to split, which the pieces might overwrite.\n"
    "Try again, or choose another directory for pieces.";
inline constexpr const char* BadScriptName = "The name {} holds a character that the rejoin script cannot hold.\n"
                                             "Rename the file before splitting it.";
// The name, then the script's name.
inline constexpr const char* NoScriptCharacters =
    "The name {} cannot be written into the rejoin script {}: the character set in which the command "
    "interpreter reads the script has no equivalent for some of its characters.\n"
    "Rename the file before splitting it.";
inline constexpr const char* DeviceName =
    "The name {} is reserved by Windows for a device: pieces or a file under it would go to that device, "
    "not to the disk.\n"
    "Rename the file before splitting it.";
inline constexpr const char* NoBaseName =
    "The file {} cannot be split under this name: its pieces and rejoin script are named after the part of "
    "its path before the last dot, and that part has no name.\n"
    "Rename the file before splitting it.";
// The script's name.
inline constexpr const char* OldScript =
    "The rejoin script {} of an earlier split cannot be removed, and the new pieces must not be joined by "
    "it.\n"
    "Close any program that has it open, or delete it, and split the file again.";

// Files that the rejoin script makes or reads beside the pieces: the file
// itself may not have the name of any (ASCII letters compared in either case).
inline constexpr const char* NamesTheScript =
    "The file {} cannot be split under this name: its rejoin script would have the same name and would "
    "overwrite itself while it runs.\n"
    "Rename the file before splitting it.";
inline constexpr const char* ScratchName =
    "The file {} cannot be split under this name: the rejoin script gathers the pieces in a scratch file "
    "of that name and deletes it.\n"
    "Rename the file before splitting it.";
// NAME.001 ... NAME.999, which the rejoin script takes for a piece, and a piece for the file.
inline constexpr const char* PieceName =
    "The file {} cannot be split under this name: one of its own pieces would have the same name, and its "
    "rejoin script would take the one for the other.\n"
    "Rename the file before splitting it.";

// The success message: the file's name, then the script's.
inline constexpr const char* SplitDone = "The file was split successfully.\nTo recreate {} run the program {}.";

// Lines that the rejoin script shows.

// The first lines, for anyone who opens the script: the file's name, the
// script's; then the command that runs it under sh.
inline constexpr const char* RunOnWindows = "To rebuild {} from its pieces in this folder: on Windows, run {};";
inline constexpr const char* RunElsewhere = "on Linux or macOS, run: {}";

// Progress.
inline constexpr const char* FileCreating = "The file {} is now being created . . .";
inline constexpr const char* CheckingPieces = "Checking the pieces . . .";
inline constexpr const char* Joining = "Joining {} pieces . . .";
inline constexpr const char* JoiningOne = "Joining 1 piece . . .";
inline constexpr const char* CheckingFile = "Checking the SHA-256 of the file . . .";
inline constexpr const char* CheckingEveryPiece = "Checking the SHA-256 of every piece . . .";

// The end of a rebuild: the success line, then one that says how far the
// checks went: the contents, only the sizes, or (COMMAND.COM) only that the
// pieces are there.
inline constexpr const char* FileCreated = "The file {} was successfully created.";
inline constexpr const char* ContentsChecked = "Its size and SHA-256, and those of every piece, match the original's.";
inline constexpr const char* SizesChecked =
    "Its size and those of every piece match the original's; the contents were not checked.";
// COMMAND.COM shows at most 98 characters of it.
inline constexpr const char* PresenceChecked = "Only the pieces' presence was checked, not their sizes or contents.";

// A piece that will not do, named; nothing has been joined.
inline constexpr const char* PieceMissing =
    "The piece {} is missing: copy it into this folder and run this script again.";
inline constexpr const char* PieceFolder =
    "The piece {} is a folder, not a file: copy the piece itself into this folder and run this script again.";
inline constexpr const char* PieceUnreadable =
    "The piece {} cannot be read: another program may be using it, or you may lack the permission to read it. "
    "Close that program, or copy the piece again, and run this script again.";
// The piece, the size found, the size expected.
inline constexpr const char* PieceWrongSize =
    "The piece {} has {} bytes instead of {}: copy it again and run this script again.";
inline constexpr const char* PieceDamaged =
    "The piece {} is damaged: its contents differ from the original's. Copy it again and run this script again.";

// A rebuild that failed, and what to do.
inline constexpr const char* FileNotCreated = "The file {} was not created.";
// The file, the size found, the size expected.
inline constexpr const char* FileWrongSize = "The file {} has {} bytes instead of {}: it was not created correctly.";
inline constexpr const char* FileDamaged =
    "The file {} was rebuilt, but its contents differ from the original's: it was not created correctly. "
    "Run this script again, and if this happens again, copy the pieces again.";
// A copy that failed although every piece could be read and the folder
// written, which leaves a full disk as the likely cause: the file, its size.
inline constexpr const char* CopyFailed =
    "A copy failed: the file {} was not created. The disk may be full: the file needs room for {} bytes here. "
    "Make room, or copy this script and its pieces to a disk that has it, and run the script there.";
inline constexpr const char* NotWritable =
    "The file {} cannot be created here, as this folder cannot be written to. Copy this script and its "
    "pieces into a folder that can, and run the script there.";
// sh, when the rebuild is interrupted.
inline constexpr const char* Stopped =
    "The file {} was not created, as the rebuild was stopped. Run this script again.";

// Once, when no SHA-256 can be computed here, then how to check the file by
// other means: its name and its SHA-256; then the commands that print it,
// with the name quoted in each.
inline constexpr const char* ContentsNotChecked =
    "The contents cannot be checked here, as certutil is missing or gave no SHA-256: only the sizes are checked.";
inline constexpr const char* NoHashTool =
    "The contents cannot be checked here, as sha256sum, shasum and openssl are all missing: only the sizes "
    "are checked.";
inline constexpr const char* CheckByHand =
    "To check {} by other means once it is created, compare its SHA-256 with {}.";
inline constexpr const char* HowToHash =
    "Its SHA-256 is printed by certutil -hashfile {} SHA256 on Windows 7 and later, and by sha256sum {} or "
    "shasum -a 256 {} elsewhere.";

// A file of the rebuilt name already here.
inline constexpr const char* CheckingExisting = "The file {} is already here: checking its SHA-256 . . .";
inline constexpr const char* AlreadyHere =
    "The file {} is already here, with the original's size and SHA-256: it was left as it is.";
inline constexpr const char* Differs = "The file {} that is already here differs from the original.";
inline constexpr const char* Unproven =
    "The file {} that is already here cannot be compared with the original, as its contents cannot be checked "
    "here.";
inline constexpr const char* Uncheckable =
    "The file {} is already here, and this command interpreter cannot compare it with the original.";
inline constexpr const char* FolderInTheWay = "There is already a folder named {} here.";
// Asked before a file already here is replaced; no answer means no.
inline constexpr const char* ReplacePrompt = "Replace it with the file rebuilt from the pieces? [y/N] ";
// Short enough for COMMAND.COM's lines with a DOS name.
inline constexpr const char* Kept =
    "Nothing was replaced. To rebuild {} here, move or rename the one here, then run this script again.";

// When the names make lines too long for COMMAND.COM (DOS, Windows 9x).
inline constexpr const char* NeedsWindowsNt =
    "This script needs Windows NT or later: its lines are too long for this command interpreter.";
inline constexpr const char* NoFolder =
    "The folder of this script cannot be opened, so its pieces cannot be found. Copy the script and its "
    "pieces into one folder on this computer and run the script there.";

} // namespace SplitMessages
