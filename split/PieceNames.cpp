// The names of the pieces and of the rejoin script, derived from the file path.
#include "split/PieceNames.h"

namespace {

// The part of path after its last separator; all of it when it has none.
std::string afterLastSeparator(const std::string& path, char separator, const ScriptCodePage& codePage)
{
    std::string::size_type cut = charactersOf(path, codePage, ScriptCodePage::Side::Names).findLast(separator);
    return cut == std::string::npos ? path : path.substr(cut + 1);
}

} // namespace

PieceNames derivePieceNames(const std::string& filePath, const std::string& pieceDirectory, char separator,
                            const ScriptCodePage& codePage)
{
    PieceNames names;
    std::string::size_type dot = charactersOf(filePath, codePage, ScriptCodePage::Side::Names).findLast('.');
    names.stem = dot == std::string::npos ? filePath : filePath.substr(0, dot);
    names.baseName = afterLastSeparator(names.stem, separator, codePage);
    names.fileName = afterLastSeparator(filePath, separator, codePage);
    names.piecePrefix = pieceDirectory;
    if (!charactersOf(names.piecePrefix, codePage, ScriptCodePage::Side::Names).endsWith(separator))
        names.piecePrefix += separator;
    names.piecePrefix += names.baseName;
    return names;
}

bool isDeviceName(const std::string& name)
{
    // Bytewise: neither '.' nor a blank is ever the second byte of a
    // character, and a name with a two-byte character is no device's.
    std::string device = name.substr(0, name.find('.'));
    device.erase(device.find_last_not_of(' ') + 1);
    for (char& c : device)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    for (const char* reserved : {"CON", "PRN", "AUX", "NUL"})
        if (device == reserved)
            return true;
    return device.size() == 4 && (device.compare(0, 3, "COM") == 0 || device.compare(0, 3, "LPT") == 0) &&
        device[3] >= '1' && device[3] <= '9';
}

std::string pieceNumberText(int number)
{
    std::string text = std::to_string(number);
    return std::string(text.size() < 3 ? 3 - text.size() : 0, '0') + text;
}

std::string pieceName(const std::string& baseName, int number)
{
    return baseName + "." + pieceNumberText(number);
}

std::string scriptName(const std::string& baseName)
{
    return baseName + ScriptExtension;
}

// A prefix that ends in the base name gives the path as the base name gives the name.
std::string piecePath(const std::string& piecePrefix, int number)
{
    return pieceName(piecePrefix, number);
}

std::string scriptPath(const std::string& piecePrefix)
{
    return scriptName(piecePrefix);
}

std::string temporaryScriptName(const std::string& baseName)
{
    return baseName + ".ba~";
}

std::string temporaryScriptPath(const std::string& piecePrefix)
{
    return temporaryScriptName(piecePrefix);
}

std::int64_t pieceLength(int number, int pieceCount, std::int64_t pieceSize, std::int64_t fileLength)
{
    return number < pieceCount ? pieceSize : fileLength - std::int64_t(pieceCount - 1) * pieceSize;
}
