// The lines of the rejoin script that cmd and COMMAND.COM read, each written for the interpreters that run it.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <string>

// The script's batch lines as they are written, with CR LF ends. Each line
// is run by every interpreter, by cmd alone, or by every interpreter but
// cmd; the test that tells them apart is written here only. A command that
// COMMAND.COM runs is measured against the 127 characters that it reads of
// a line.
class BatchLines {
public:
    // The longest line that COMMAND.COM (DOS, Windows 9x) reads whole; it cuts the rest.
    static constexpr std::size_t CommandComLine = 127;

    // A line for every interpreter, or one that only cmd reaches by the
    // script's own control flow.
    void line(const std::string& text) { m_text += text + "\r\n"; }
    // A line that only cmd runs: cmd alone can tell sizes, call a routine,
    // ask, or trust an error level.
    void cmd(const std::string& text) { line(UnderCmd + text); }
    // A line that every interpreter but cmd runs.
    void notCmd(const std::string& text) { line(NotCmd + text); }
    // A line that COMMAND.COM runs and that would do harm if it were cut; a
    // cut echo only shows less.
    void command(const std::string& text);
    // The same, run by every interpreter but cmd.
    void notCmdCommand(const std::string& text) { command(NotCmd + text); }
    void echo(const std::string& text) { line("echo " + text); }
    // A label that says text, then goes to next (or on to the lines after).
    void saying(const std::string& label, const std::string& text, const std::string& next = "");
    // A way out: its label (none when it follows on), its lines, a pause for
    // the user to read what they said, then where it goes.
    void exitBlock(const std::string& label, std::initializer_list<std::string> lines,
                   const std::string& next = "goto end");
    // The lines of other, after these.
    void append(const BatchLines& other);

    const std::string& text() const { return m_text; }
    // Whether some command is longer than COMMAND.COM reads.
    bool tooLongForCommandCom() const { return m_longestCommand > CommandComLine; }

private:
    // True under cmd only: older interpreters leave OS unset, or set to
    // something else.
    static inline const std::string OsTest = "\"%OS%\"==\"Windows_NT\"";
    static inline const std::string UnderCmd = "if " + OsTest + " ";
    static inline const std::string NotCmd = "if not " + OsTest + " ";

    std::string m_text;
    std::size_t m_longestCommand = 0;
};
