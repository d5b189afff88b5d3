// Tests of the link launcher's fallback over a stand-in system.
#include "controls/LaunchRules.h"

#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <map>
#include <string>
#include <vector>

struct RegistryKeyData {
    std::string name;
};

namespace {

bool LeadsAt81(unsigned char byte)
{
    return byte == 0x81;
}

// A system whose shell answers shellCode, whose HKEY_CLASSES_ROOT holds
// values (sub-key to default value), and whose program start answers runCode.
class CStandInSystem : public CLaunchPlatform {
public:
    LaunchCode shellCode = 31;
    LaunchCode runCode = 33;
    std::map<std::string, std::string> values;
    std::map<std::string, RegistryStatus> readFailures; // keys that open but do not read

    std::vector<std::string> opened; // sub-keys, in the order opened
    std::vector<std::string> run;    // command lines started
    std::vector<int> shows;
    int openKeys = 0;

    LaunchCode OpenWithShell(const char*, int show) override
    {
        shows.push_back(show);
        return shellCode;
    }
    RegistryKey ClassesRoot() override { return &m_root; }
    RegistryStatus OpenKey(RegistryKey root, const char* subKey, RegistryKey& key) override
    {
        EXPECT_EQ(root, &m_root);
        opened.push_back(subKey);
        if (!values.count(subKey) && !readFailures.count(subKey))
            return 2; // ERROR_FILE_NOT_FOUND
        m_keys.push_back({subKey});
        key = &m_keys.back();
        ++openKeys;
        return 0;
    }
    RegistryStatus QueryDefaultValue(RegistryKey key, char* value, std::int32_t& size) override
    {
        EXPECT_EQ(size, 260);
        auto failure = readFailures.find(key->name);
        if (failure != readFailures.end())
            return failure->second;
        const std::string& text = values[key->name];
        if (text.size() + 1 > static_cast<std::size_t>(size))
            return 234;
        std::memcpy(value, text.c_str(), text.size() + 1);
        size = static_cast<std::int32_t>(text.size() + 1);
        return 0;
    }
    void CloseKey(RegistryKey) override { --openKeys; }
    LaunchCode RunCommand(const char* commandLine, int show) override
    {
        run.push_back(commandLine);
        shows.push_back(show);
        return runCode;
    }

private:
    RegistryKeyData m_root{"HKEY_CLASSES_ROOT"};
    std::deque<RegistryKeyData> m_keys; // stays put as keys are added
};

CStandInSystem WithBrowser(const std::string& command)
{
    CStandInSystem system;
    system.values[".htm"] = "htmlfile";
    system.values["htmlfile\\shell\\open\\command"] = command;
    return system;
}

TEST(CutPlaceholder, QuotedFirstThenBareThenWhole)
{
    const struct {
        std::string command, expected;
    } cases[] = {
        {"browser.exe \"%1\"", "browser.exe "},
        {"browser.exe \"%1\" -new -x", "browser.exe "},
        {"browser.exe %1 -new", "browser.exe "},
        {"browser.exe -a %1 -b \"%1\"", "browser.exe -a %1 -b "}, // quoted wins
        {"browser.exe -nohome", "browser.exe -nohome"},
        {"\"%1\"", ""},
        {"", ""},
        {"browser.exe \"%2\"", "browser.exe \"%2\""},
    };
    for (const auto& c : cases) {
        char buffer[CommandLineSize];
        std::strcpy(buffer, c.command.c_str());
        CutPlaceholder(buffer, NoLeadBytes);
        EXPECT_EQ(std::string(buffer), c.expected) << c.command;
    }
}

TEST(CutPlaceholder, QuotedSearchSkipsTrailBytes)
{
    // 0x81 0x22 is one two-byte character: its 0x22 is no quote, so the
    // character-wise search finds no quoted placeholder and the bare one cuts.
    char buffer[CommandLineSize] = "b.exe \x81\"%1\" x";
    CutPlaceholder(buffer, LeadsAt81);
    EXPECT_EQ(std::string(buffer), "b.exe \x81\"");
    // In a single-byte code page the same bytes hold a quoted placeholder.
    std::strcpy(buffer, "b.exe \x81\"%1\" x");
    CutPlaceholder(buffer, NoLeadBytes);
    EXPECT_EQ(std::string(buffer), "b.exe \x81");
    // A lead byte before the terminator ends the walk cleanly.
    EXPECT_EQ(FindMultibyte("abc\x81", "\"%1\"", LeadsAt81), nullptr);
}

TEST(AppendAddress, FitsExactlyOrLeavesTheCommandAlone)
{
    char buffer[24];
    std::memset(buffer, '#', sizeof buffer);
    std::strcpy(buffer, "run.exe");
    // 7 + 1 + 7 + terminator = 16 bytes of a 16-byte buffer.
    ASSERT_TRUE(AppendAddress(buffer, 16, "a b/c.d"));
    EXPECT_EQ(std::string(buffer), "run.exe a b/c.d");
    EXPECT_EQ(buffer[16], '#');

    std::memset(buffer, '#', sizeof buffer);
    std::strcpy(buffer, "run.exe");
    EXPECT_FALSE(AppendAddress(buffer, 16, "a b/c.de"));
    EXPECT_EQ(std::string(buffer), "run.exe");
    EXPECT_EQ(buffer[8], '#');
}

TEST(ReadKeyDefault, MissingKeysAndUnreadableValuesLeaveOutAlone)
{
    CStandInSystem system;
    system.values["fits"] = std::string(259, 'v');
    system.values["long"] = std::string(260, 'v');
    system.readFailures["denied"] = 5;
    char out[KeyValueSize + 8];
    const struct {
        const char* key;
        RegistryStatus status;
        std::string value;
    } cases[] = {
        {"fits", 0, std::string(259, 'v')},
        {"long", RegistryValueTooLong, "untouched"},
        {"denied", 5, "untouched"},
        {"missing", 2, "untouched"},
    };
    for (const auto& c : cases) {
        std::memset(out, '#', sizeof out);
        std::strcpy(out, "untouched");
        EXPECT_EQ(ReadKeyDefault(system, system.ClassesRoot(), c.key, out), c.status) << c.key;
        EXPECT_EQ(std::string(out), c.value) << c.key;
        EXPECT_EQ(std::string(out + KeyValueSize, 8), "########") << c.key;
    }
    EXPECT_EQ(system.openKeys, 0); // every key that opened was closed
}

// A platform that writes a value without a terminator.
class CUnterminatedValue : public CStandInSystem {
public:
    std::size_t length = 0;
    RegistryStatus QueryDefaultValue(RegistryKey, char* value, std::int32_t& size) override
    {
        std::memset(value, 'u', length);
        size = static_cast<std::int32_t>(length);
        return 0;
    }
};

TEST(ReadKeyDefault, AValueWithoutTerminatorEndsWhereTheReadEnded)
{
    CUnterminatedValue system;
    system.values["k"] = "";
    char out[KeyValueSize];
    system.length = 5;
    EXPECT_EQ(ReadKeyDefault(system, system.ClassesRoot(), "k", out), 0);
    EXPECT_EQ(std::string(out), "uuuuu");
    system.length = KeyValueSize;
    EXPECT_EQ(ReadKeyDefault(system, system.ClassesRoot(), "k", out), RegistryValueTooLong);
}

TEST(LaunchAddress, TheShellFirstTheRegistryOnlyAfterItFails)
{
    CStandInSystem opens = WithBrowser("b.exe \"%1\"");
    opens.shellCode = 42;
    EXPECT_EQ(LaunchAddress(opens, "http://x/", 5), 42);
    EXPECT_TRUE(opens.opened.empty());

    // A code negative as signed is above 32 unsigned: a success too.
    opens.shellCode = -1;
    EXPECT_EQ(LaunchAddress(opens, "http://x/", 5), -1);
    EXPECT_TRUE(opens.opened.empty());
}

TEST(LaunchAddress, FallsBackToTheRegisteredCommand)
{
    const struct {
        std::string registered, commandLine;
    } cases[] = {
        {"\"C:\\b\\b.exe\" -nohome \"%1\"", "\"C:\\b\\b.exe\" -nohome  http://x/a b"},
        {"C:\\b\\b.exe \"%1\" -new-window", "C:\\b\\b.exe  http://x/a b"},
        {"C:\\b\\b.exe %1", "C:\\b\\b.exe  http://x/a b"},
        {"C:\\b\\b.exe %1 \"%1\"", "C:\\b\\b.exe %1  http://x/a b"},
        {"C:\\b\\b.exe", "C:\\b\\b.exe http://x/a b"},
    };
    for (const auto& c : cases) {
        CStandInSystem system = WithBrowser(c.registered);
        system.runCode = 33;
        EXPECT_EQ(LaunchAddress(system, "http://x/a b", 3), 33) << c.registered;
        const std::vector<std::string> opened = {".htm", "htmlfile\\shell\\open\\command"};
        EXPECT_EQ(system.opened, opened);
        ASSERT_EQ(system.run.size(), 1u);
        EXPECT_EQ(system.run[0], c.commandLine);
        EXPECT_EQ(system.shows, std::vector<int>({3, 3}));
    }
    // The program start's failure is answered, not the shell's.
    CStandInSystem failing = WithBrowser("b.exe");
    failing.runCode = 2;
    EXPECT_EQ(LaunchAddress(failing, "http://x/", 5), 2);
}

TEST(LaunchAddress, AnswersTheShellsCodeWhenTheFallbackCannotRun)
{
    CStandInSystem noHtm;
    noHtm.shellCode = 31;

    CStandInSystem noCommand;
    noCommand.shellCode = 27;
    noCommand.values[".htm"] = "htmlfile";

    CStandInSystem unreadable = WithBrowser("b.exe");
    unreadable.shellCode = 28;
    unreadable.readFailures[".htm"] = 5;
    unreadable.values.erase(".htm");

    // 259 bytes of command, a space and 260 of address need 521 bytes.
    const std::string longAddress(260, 'a');
    CStandInSystem tooLong;
    tooLong.shellCode = 8;
    tooLong.values[".htm"] = std::string(250, 'c');
    tooLong.values[std::string(250, 'c') + "\\shell\\open\\command"] = std::string(259, 'p');

    const struct {
        CStandInSystem* system;
        const char* address;
        LaunchCode code;
    } cases[] = {
        {&noHtm, "http://x/", 31},
        {&noCommand, "http://x/", 27},
        {&unreadable, "http://x/", 28},
        {&tooLong, longAddress.c_str(), 8},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(LaunchAddress(*c.system, c.address, 5), c.code) << c.code;
        EXPECT_TRUE(c.system->run.empty()) << c.code;
        EXPECT_EQ(c.system->openKeys, 0) << c.code;
    }
}

TEST(LaunchAddress, TheLongestCommandThatFitsRuns)
{
    // 259 bytes registered, a space and a 259-byte address: 519 bytes and the
    // terminator fill the command line exactly.
    CStandInSystem system;
    system.values[".htm"] = "h";
    system.values["h\\shell\\open\\command"] = std::string(259, 'p');
    const std::string address(259, 'a');
    EXPECT_EQ(LaunchAddress(system, address.c_str(), 5), 33);
    ASSERT_EQ(system.run.size(), 1u);
    EXPECT_EQ(system.run[0], std::string(259, 'p') + " " + address);

    CStandInSystem over = system;
    over.run.clear();
    EXPECT_EQ(LaunchAddress(over, (address + "a").c_str(), 5), 31);
    EXPECT_TRUE(over.run.empty());
}

} // namespace
