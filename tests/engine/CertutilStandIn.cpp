// A stand-in for Windows' certutil in the test prefix (Wine's own prints nothing): -hashfile FILE SHA256.
//
// It really computes the digest and answers as certutil does: a header line,
// the digest, a completion line. Environment variables steer it:
//   PARCELOR_CERTUTIL         "win7": the digest as hex pairs separated by blanks;
//                             "fail": an error and a nonzero exit; "hang": no answer ever, for a
//                             test that cuts the run short; otherwise 64 digits, as Windows 10.
//                             A file of no bytes always fails, as with the real certutil.
//   PARCELOR_CERTUTIL_DAMAGE  a file name: the file of that name has its first byte flipped before it
//                             is hashed, as a disk that damaged it would.
//   PARCELOR_CERTUTIL_LOG     a file to which each run appends its own path and its file argument.
#include "split/Sha256.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <windows.h>

namespace {

const char* setting(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

// The SHA-256 of path as 64 digits, its first byte flipped on disk first when
// damage is set; false when it cannot be read or changed.
bool hashFile(const char* path, bool damage, std::string& digest)
{
    std::FILE* file = std::fopen(path, "r+b");
    if (!file)
        return false;
    bool done = true;
    if (damage) {
        const int first = std::fgetc(file);
        done = first != EOF && std::fseek(file, 0, SEEK_SET) == 0 && std::fputc(first ^ 0xFF, file) != EOF &&
            std::fseek(file, 0, SEEK_SET) == 0;
    }
    Sha256 sha;
    std::vector<char> buffer(1 << 16);
    for (std::size_t n; done && (n = std::fread(buffer.data(), 1, buffer.size(), file)) > 0;)
        sha.add(buffer.data(), n);
    done = done && !std::ferror(file);
    std::fclose(file);
    digest = sha.finish();
    return done;
}

// Standard output is in text mode: each line end goes out as CR LF, as certutil's do.
int fail()
{
    std::printf("CertUtil: -hashfile command FAILED: 0x80070005 (WIN32: 5 ERROR_ACCESS_DENIED)\n");
    std::printf("CertUtil: Access is denied.\n");
    return 5;
}

// As certutil answers for a file of no bytes, which it cannot map.
int failOnEmpty()
{
    std::printf("CertUtil: -hashfile command FAILED: 0x800703ee (WIN32: 1006 ERROR_FILE_INVALID)\n");
    std::printf("CertUtil: The volume for a file has been externally altered so that the opened file is no "
                "longer valid.\n");
    return 1006;
}

} // namespace

int main(int argc, char** argv)
{
    if (const char* log = setting("PARCELOR_CERTUTIL_LOG"); *log) {
        char self[MAX_PATH] = {};
        GetModuleFileNameA(nullptr, self, MAX_PATH);
        if (std::FILE* file = std::fopen(log, "ab")) {
            std::fprintf(file, "%s %s\n", self, argc > 2 ? argv[2] : "");
            std::fclose(file);
        }
    }
    if (argc != 4 || std::strcmp(argv[1], "-hashfile") != 0 || std::strcmp(argv[3], "SHA256") != 0) {
        std::printf("CertUtil: Unknown arguments: this stand-in knows only -hashfile FILE SHA256.\n");
        return 1;
    }
    const char* path = argv[2];
    const std::string form = setting("PARCELOR_CERTUTIL");
    if (form == "hang")
        Sleep(INFINITE);
    WIN32_FILE_ATTRIBUTE_DATA attributes;
    if (GetFileAttributesExA(path, GetFileExInfoStandard, &attributes) && attributes.nFileSizeHigh == 0 &&
        attributes.nFileSizeLow == 0)
        return failOnEmpty();
    std::string digest;
    const char* name = std::strrchr(path, '\\') ? std::strrchr(path, '\\') + 1 : path;
    if (form == "fail" || !hashFile(path, std::strcmp(setting("PARCELOR_CERTUTIL_DAMAGE"), name) == 0, digest))
        return fail();

    if (form == "win7") {
        std::printf("SHA256 hash of file %s:\n", path);
        for (std::size_t i = 0; i < digest.size(); i += 2)
            std::printf("%s%s", i ? " " : "", digest.substr(i, 2).c_str());
        std::printf("\n");
    } else {
        std::printf("SHA256 hash of %s:\n%s\n", path, digest.c_str());
    }
    std::printf("CertUtil: -hashfile command completed successfully.\n");
    return 0;
}
