// Shared pieces of the engine tests: a recording host, scratch folders, file helpers.
#include "EngineTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iconv.h>
#include <iterator>
#include <map>
#include <stdexcept>
#include <cerrno>
#include <cstring>
#include <chrono>
#include <csignal>
#include <spawn.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

void RecordingHost::showMessage(const std::string& text, MessageIcon icon)
{
    calls.push_back("message " + std::to_string(static_cast<int>(icon)) + " " + text);
    messages.push_back(text);
}

PathKind RecordingHost::lookUpPath(const std::string& path)
{
    calls.push_back("look " + path);
    std::error_code error;
    fs::file_status status = fs::status(path, error);
    if (error || !fs::exists(status))
        return PathKind::Missing;
    return fs::is_directory(status) ? PathKind::Directory : PathKind::File;
}

void RecordingHost::startProgress(int count)
{
    calls.push_back("start " + std::to_string(count));
}
void RecordingHost::stepProgress()
{
    calls.push_back("step");
}
void RecordingHost::hideProgress()
{
    calls.push_back("hide");
}

void RecordingHost::keepAlive(std::int64_t pieceBytesDone, std::int64_t pieceBytes)
{
    if (recordsKeepAlive)
        calls.push_back("keep " + std::to_string(pieceBytesDone) + "/" + std::to_string(pieceBytes));
}

bool Latin1ToDosCodePage::toScriptText(const std::string& name, std::string& script) const
{
    static const std::map<unsigned char, char> moved = {
        {0xE9, '\x82'}, {0xE8, '\x8A'}, {0xC9, '\x90'}, {0xFC, '\x81'}, {0x9F, '?'}};
    script.clear();
    for (char c : name) {
        auto byte = static_cast<unsigned char>(c);
        auto found = moved.find(byte);
        if (byte >= 0x80 && found == moved.end())
            return false;
        script += byte < 0x80 ? c : found->second;
    }
    return true;
}

bool Latin1ToDosCodePage::toUtf8(const std::string& name, std::string& utf8) const
{
    utf8.clear();
    for (char c : name) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x80) {
            utf8 += c;
        } else {
            utf8 += static_cast<char>(0xC0 | byte >> 6);
            utf8 += static_cast<char>(0x80 | (byte & 0x3F));
        }
    }
    return true;
}

bool ShiftJisCodePage::toScriptText(const std::string& name, std::string& script) const
{
    script = name;
    return true;
}

bool ShiftJisCodePage::isLeadByte(unsigned char byte, Side) const
{
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

bool EastAsianCodePage::toScriptText(const std::string& name, std::string& script) const
{
    const std::string page = "CP" + std::to_string(m_codePage);
    iconv_t converter = iconv_open(page.c_str(), "UTF-8");
    if (converter == reinterpret_cast<iconv_t>(-1))
        return false;
    std::string in = name, out(name.size() * 2 + 8, '\0');
    char* from = in.data();
    char* to = out.data();
    std::size_t fromLeft = in.size(), toLeft = out.size();
    const bool converted = iconv(converter, &from, &fromLeft, &to, &toLeft) != static_cast<std::size_t>(-1);
    iconv_close(converter);
    script = out.substr(0, out.size() - toLeft);
    return converted;
}

bool EastAsianCodePage::isLeadByte(unsigned char byte, Side side) const
{
    // The names are UTF-8, whose bytes of longer characters are never ASCII ones.
    if (side == Side::Names)
        return false;
    if (m_codePage == 932)
        return ShiftJisCodePage().isLeadByte(byte, side);
    return byte >= 0x81 && byte <= 0xFE;
}

TempDir::TempDir()
{
    std::string pattern = (fs::temp_directory_path() / "parcelor-test-XXXXXX").string();
    if (!mkdtemp(pattern.data()))
        throw std::runtime_error("cannot make a scratch folder");
    m_path = pattern;
}

TempDir::~TempDir()
{
    std::error_code ignored;
    fs::remove_all(m_path, ignored);
}

SmallDisk::SmallDisk(const char* size)
{
    std::string options = std::string("size=") + size;
    m_mounted = mount("tmpfs", m_dir.path().c_str(), "tmpfs", 0, options.c_str()) == 0;
    if (!m_mounted)
        m_whyNot =
            std::string("cannot mount a small tmpfs here (needs root and mount rights): ") + std::strerror(errno);
}

SmallDisk::~SmallDisk()
{
    if (m_mounted)
        umount(m_dir.path().c_str());
}

void writeFile(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<std::string> listFolder(const fs::path& folder)
{
    std::vector<std::string> names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

void split(const fs::path& folder, const std::string& fileName, const std::string& bytes, const std::string& size,
           const ScriptCodePage& codePage)
{
    fs::create_directories(folder / "source");
    writeFile((folder / "source" / fileName).string(), bytes);
    RecordingHost host;
    runSplit({(folder / "source" / fileName).string(), folder.string(), "Custom size...", size, "Bytes"}, host,
             codePage);
    ASSERT_EQ(host.messages.size(), 1u);
    ASSERT_EQ(host.lastMessage().rfind("The file was split successfully.", 0), 0u) << host.lastMessage();
}

Background::Background(const std::string& command, const std::string& output)
{
    // Signals at their defaults, as a terminal's command has them.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none, all;
    sigemptyset(&none);
    sigfillset(&all);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &all);
    posix_spawnattr_setpgroup(&attributes, 0);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    const std::string line = "exec < /dev/null > '" + output + "' 2>&1; " + command;
    const char* arguments[] = {"/bin/sh", "-c", line.c_str(), nullptr};
    if (posix_spawn(&m_pid, "/bin/sh", nullptr, &attributes, const_cast<char**>(arguments), environ) != 0)
        m_pid = -1;
    posix_spawnattr_destroy(&attributes);
}

Background::~Background()
{
    if (m_pid > 0) {
        signal(SIGKILL, true);
        wait();
    }
}

bool Background::waitForFile(const fs::path& path, std::uintmax_t size)
{
    for (int tries = 0; tries < 60000 && m_pid > 0; ++tries) {
        std::error_code error;
        if (fs::file_size(path, error) >= size && !error)
            return true;
        int status = 0;
        if (waitpid(m_pid, &status, WNOHANG) == m_pid) {
            m_pid = -1;
            m_status = WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

void Background::signal(int signal, bool wholeGroup)
{
    if (m_pid > 0)
        ::kill(wholeGroup ? -m_pid : m_pid, signal);
}

int Background::wait()
{
    int status = 0;
    if (m_pid > 0 && waitpid(m_pid, &status, 0) == m_pid) {
        m_pid = -1;
        m_status = WIFSIGNALED(status) ? 128 + WTERMSIG(status) : WEXITSTATUS(status);
    }
    return m_status;
}
