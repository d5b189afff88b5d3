// Shared pieces of the engine tests: a recording host, scratch folders, file helpers.
#pragma once

#include "Sha256TestCases.h" // patternBytes

#include "split/SplitEngine.h"

#include <filesystem>
#include <string>
#include <vector>

#include <sys/types.h>

namespace fs = std::filesystem;

// A host that looks paths up on the real disk and records every call in order, e.g. "start 3", "step",
// "message 16 The file could not be found.", "hide", "look /tmp/x", and, when asked to, "keep 91104/200000".
class RecordingHost : public SplitHost {
public:
    std::vector<std::string> calls;
    std::vector<std::string> messages;
    bool recordsKeepAlive = false;

    void showMessage(const std::string& text, MessageIcon icon) override;
    PathKind lookUpPath(const std::string& path) override;
    void startProgress(int count) override;
    void stepProgress() override;
    void hideProgress() override;
    void keepAlive(std::int64_t pieceBytesDone, std::int64_t pieceBytes) override;

    // The last message shown, or "" when none was.
    std::string lastMessage() const { return messages.empty() ? "" : messages.back(); }
};

// A small stand-in for the ANSI to OEM conversion of Windows (code pages 1252
// to 437): ASCII unchanged, a few accented letters moved (é 0xE9 to 0x82,
// è 0xE8 to 0x8A, É 0xC9 to 0x90, ü 0xFC to 0x81), 0x9F turned into a '?' as
// a careless best fit would, and every other byte refused (the euro sign 0x80).
class Latin1ToDosCodePage : public ScriptCodePage {
public:
    bool toScriptText(const std::string& name, std::string& script) const override;
    // Latin-1 to UTF-8, two bytes for each byte from 0x80.
    bool toUtf8(const std::string& name, std::string& utf8) const override;
};

// Code page 932 (Japanese) on both sides, as on Japanese Windows, where the
// ANSI and the OEM code page are one: names unchanged, and a character of two
// bytes starts with 0x81 ... 0x9F or 0xE0 ... 0xFC; its second byte may be
// 0x5C (\\), 0x7C (|) or 0x5E (^), as in 表 95 5C, ポ 83 7C, タ 83 5E.
class ShiftJisCodePage : public ScriptCodePage {
public:
    bool toScriptText(const std::string& name, std::string& script) const override;
    bool isLeadByte(unsigned char byte, Side side) const override;
};

// Names as Linux holds them (UTF-8) converted by iconv into an East Asian
// code page, 932, 936, 949 or 950, in which Wine's cmd reads the script in
// the matching locale; the lead bytes of each from a table of the tests' own.
class EastAsianCodePage : public ScriptCodePage {
public:
    explicit EastAsianCodePage(int codePage) : m_codePage(codePage) { }
    bool toScriptText(const std::string& name, std::string& script) const override;
    bool isLeadByte(unsigned char byte, Side side) const override;

private:
    int m_codePage;
};

// A fresh folder under the system's temporary directory, removed afterwards.
class TempDir {
public:
    TempDir();
    ~TempDir();
    const fs::path& path() const { return m_path; }
    std::string operator/(const std::string& name) const { return (m_path / name).string(); }

private:
    fs::path m_path;
};

// A small tmpfs mounted on a fresh folder for as long as the object lives,
// where the machine allows it (root with mount rights).
class SmallDisk {
public:
    explicit SmallDisk(const char* size);
    ~SmallDisk();
    bool mounted() const { return m_mounted; }
    const std::string& whyNot() const { return m_whyNot; }
    const TempDir& dir() const { return m_dir; }

private:
    TempDir m_dir;
    bool m_mounted = false;
    std::string m_whyNot;
};

void writeFile(const std::string& path, const std::string& bytes);
std::string readFile(const std::string& path);
// Splits bytes, saved as folder/source/fileName, into folder in pieces of
// size bytes; a test that calls it fails unless the split succeeded.
void split(const fs::path& folder, const std::string& fileName, const std::string& bytes, const std::string& size,
           const ScriptCodePage& codePage = systemScriptCodePage());
// The names of the entries of folder, sorted.
std::vector<std::string> listFolder(const fs::path& folder);

// A command of sh run in the background, in a process group of its own, with
// no input and its output (both streams) in the file output; killed with
// its group, if still running, when the object goes.
class Background {
public:
    Background(const std::string& command, const std::string& output);
    ~Background();
    Background(const Background&) = delete;
    Background& operator=(const Background&) = delete;

    // Waits until path has at least size bytes, or the command has ended;
    // true in the first case.
    bool waitForFile(const fs::path& path, std::uintmax_t size);
    // Sends signal to the command's process alone, or to its whole group.
    void signal(int signal, bool wholeGroup);
    // Waits for the command: its exit status, or 128 plus the signal that ended it.
    int wait();

private:
    pid_t m_pid = -1; // until the command has been waited for
    int m_status = -1;
};
